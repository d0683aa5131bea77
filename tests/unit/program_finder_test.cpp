// Finding the installed drawing applications: what is read of a command or an icon, which keys
// and folders are looked at, and the rows, names and states the window shows.
#include "program_finder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "found_rows.h"
#include "list_editor.h"
#include "stand_in_system.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using registry::RawValue;
using registry::Root;
using registry::ValueType;
using versioninfo::ProgramVersion;

TEST(ProgramFinder, TheProgramOfACommandOrAnIcon) {
  const struct {
    const wchar_t* given;
    std::optional<std::wstring> command;
    std::optional<std::wstring> icon;
  } cases[] = {
      {L"\"C:\\Program Files\\Draw\\draw.exe\" \"%1\"", L"C:\\Program Files\\Draw\\draw.exe",
       L"C:\\Program Files\\Draw\\draw.exe"},
      {L"C:\\Program Files\\Draw\\Draw.EXE /open %1", L"C:\\Program Files\\Draw\\Draw.EXE",
       L"C:\\Program Files\\Draw\\Draw.EXE /open %1"},
      {L"C:\\Draw\\draw.exe,0", L"C:\\Draw\\draw.exe,0", L"C:\\Draw\\draw.exe"},
      {L"C:\\Draw\\draw.exe, -101 ", L"C:\\Draw\\draw.exe,", L"C:\\Draw\\draw.exe"},
      {L"\"C:\\Draw\\draw.exe\",2", L"C:\\Draw\\draw.exe", L"C:\\Draw\\draw.exe"},
      {L"C:\\Draw\\my.exe.d\\draw.exe %1", L"C:\\Draw\\my.exe.d\\draw.exe", L"C:\\Draw\\my.exe.d\\draw.exe %1"},
      {L"rundll32 shell32.dll,Open", L"rundll32", L"rundll32 shell32.dll,Open"},  // the index is no number
      {L"\"C:\\Draw\\draw.exe %1", std::nullopt, std::nullopt},                   // the quote never closes
      {L"\"\" %1", std::nullopt, std::nullopt},
      {L"   ", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "[" << c.given << "]");
    EXPECT_EQ(finder::ProgramOfCommand(c.given), c.command);
    EXPECT_EQ(finder::ProgramOfIcon(c.given), c.icon);
  }
}

TEST(ProgramFinder, NumbersOfTheirOwn) {
  const struct {
    const wchar_t* text;
    unsigned number;
    bool holds;
  } cases[] = {
      {L"Illustrator 10", 10, true},   {L"Illustrator 100", 10, false}, {L"C:\\Ai10\\Illustrator.exe", 10, true},
      {L"Illustrator 010", 10, true},  {L"Illustrator 1", 10, false},   {L"CS6 (64 Bit)", 64, true},
      {L"Illustrator 2019", 19, false}, {L"", 0, false},                {L"v0", 0, true},
  };
  for (const auto& c : cases) EXPECT_EQ(editor::HoldsNumber(c.text, c.number), c.holds) << c.text;
}

ProgramVersion Version(const wchar_t* description, const wchar_t* product, unsigned major, unsigned minor,
                       unsigned build) {
  ProgramVersion version;
  version.fileDescription = description;
  version.productName = product;
  version.hasNumbers = true;
  version.major = major;
  version.minor = minor;
  version.build = build;
  return version;
}

class FinderTest : public TempFolderTest {
 protected:
  FinderTest() {
    registry::stand_in::Clear();
    versioninfo::stand_in::Clear();
  }
  ~FinderTest() override {
    registry::stand_in::Clear();
    versioninfo::stand_in::Clear();
  }
  // A program file at `relative`, with a version resource when one is given.
  std::wstring Program(const std::string& relative, const std::optional<ProgramVersion>& version = std::nullopt) {
    const fs::path path = Put(relative, "MZ");
    if (version) versioninfo::stand_in::Put(path, *version);
    return path.wstring();
  }
  static void Text(Root root, const std::wstring& key, const std::wstring& name, const std::wstring& value,
                   ValueType type = ValueType::kText) {
    registry::stand_in::Put(root, key, name, RawValue{type, value});
  }
  std::wstring Relative(const fs::path& path) const { return path.lexically_relative(folder_).generic_wstring(); }

  // Every program found, as "relative path|display name".
  std::vector<std::wstring> FindAll() const {
    finder::ProgramFinder finder;
    std::vector<std::wstring> found;
    std::optional<finder::FoundProgram> program;
    for (int steps = 0; finder.Step(program) && steps < 100000; ++steps) {
      if (program) found.push_back(Relative(program->path) + L"|" + program->displayName);
    }
    return found;
  }
};

constexpr const wchar_t* kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

TEST_F(FinderTest, HandlersOfEpsAndAiAndTheOtherCopiesOfTheirPrograms) {
  const std::wstring ai25 = Program("Adobe/Illustrator 2021/Support Files/Contents/Windows/Illustrator.exe",
                                    Version(L"Adobe Illustrator 2021", L"Adobe Illustrator", 25, 2, 1));
  Program("Adobe/Illustrator CS6/Support Files/Contents/Windows/Illustrator.exe");
  const std::wstring ai10 = Program("Users/Illustrator 10/Illustrator.exe");
  const std::wstring freehand = Program("FreeHand/FreeHand.exe");
  const std::wstring notepad = Program("Text/Notepad2.exe");
  const std::wstring varnock = Program("Varnock/Varnock.exe");
  Program("Deep/a/b/c/d/e/Illustrator.exe");  // five folders below its location
  Program("Nested/a/b/c/d/Illustrator.exe");  // four

  // .ai: a ProgID of the machine; .eps: the launcher's own ProgID and a damaged one.
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\.ai\\OpenWithProgids", L"Adobe.Illustrator.25", L"");
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\Adobe.Illustrator.25\\shell\\open\\command", L"",
       L"\"" + ai25 + L"\" \"%1\"");
  Text(Root::kUser, L"Software\\Classes\\.eps", L"", L"Varnock.eps");
  Text(Root::kUser, L"Software\\Classes\\Varnock.eps\\shell\\open\\command", L"", L"\"" + varnock + L"\" \"%1\"");
  Text(Root::kUser, L"Software\\Classes\\.eps\\OpenWithProgids", L"Broken.1", L"");
  Text(Root::kUser, L"Software\\Classes\\Broken.1\\shell\\open\\command", L"", L"\"" + ai10 + L" %1");
  Text(Root::kUser, L"Software\\Classes\\.eps\\OpenWithProgids", L"Broken.2", L"");
  Text(Root::kUser, L"Software\\Classes\\Broken.2\\shell\\open\\command", L"", ai10, ValueType::kOther);
  Text(Root::kUser, L"Software\\Classes\\.eps\\OpenWithProgids", L"Broken.3", L"");
  Text(Root::kUser, L"Software\\Classes\\Broken.3\\shell\\open\\command", L"",
       std::wstring(registry::kLongestText + 1, L'x'));
  Text(Root::kUser, L"Software\\Classes\\.eps\\OpenWithProgids", L"Broken.4", L"");
  Text(Root::kUser, L"Software\\Classes\\Broken.4\\shell\\open\\command", L"", L"%VARNOCK_TEST_EMPTY%",
       ValueType::kExpandText);
  setenv("VARNOCK_TEST_EMPTY", "", 1);
  // A program for .txt only, and one that names .eps among its supported types.
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\Applications\\Notepad2.exe\\SupportedTypes", L".txt", L"");
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\Applications\\Notepad2.exe\\shell\\open\\command", L"",
       notepad + L" %1");
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\Applications\\FreeHand.exe\\SupportedTypes", L".EPS", L"");
  Text(Root::kMachine64, L"SOFTWARE\\Classes\\Applications\\FreeHand.exe\\shell\\open\\command", L"",
       freehand + L" /open \"%1\"");
  // Other copies: through InstallLocation in the 32-bit view, DisplayIcon of the user's, a folder
  // that has gone, App Paths in another letter case (found already), deep folders.
  Text(Root::kMachine32, kUninstall + std::wstring(L"AI16"), L"InstallLocation",
       L"\"" + Path("Adobe/Illustrator CS6").wstring() + L"\"");
  Text(Root::kMachine32, kUninstall + std::wstring(L"AI16"), L"DisplayName", L"Adobe Illustrator CS6");
  Text(Root::kUser, kUninstall + std::wstring(L"AI10"), L"DisplayIcon", L"\"" + ai10 + L"\",0");
  Text(Root::kUser, kUninstall + std::wstring(L"AI10"), L"DisplayName", L" Illustrator 10 ");
  Text(Root::kMachine64, kUninstall + std::wstring(L"Gone"), L"InstallLocation", Path("Gone").wstring());
  Text(Root::kMachine64, kUninstall + std::wstring(L"Deep"), L"InstallLocation", Path("Deep").wstring());
  Text(Root::kMachine64, kUninstall + std::wstring(L"Nested"), L"InstallLocation", Path("Nested").wstring());
  Text(Root::kMachine64, kUninstall + std::wstring(L"Notepad"), L"DisplayIcon", notepad);
  Text(Root::kMachine64, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\illustrator.exe", L"",
       L"\"" + ai25 + L"\"");

  const std::vector<std::wstring> expected = {
      L"Adobe/Illustrator 2021/Support Files/Contents/Windows/Illustrator.exe|",
      L"FreeHand/FreeHand.exe|",
      L"Nested/a/b/c/d/Illustrator.exe|",
      L"Adobe/Illustrator CS6/Support Files/Contents/Windows/Illustrator.exe|Adobe Illustrator CS6",
      L"Users/Illustrator 10/Illustrator.exe|Illustrator 10",
  };
  EXPECT_EQ(FindAll(), expected);
}

TEST_F(FinderTest, NothingRegisteredFindsNothingAndLooksNoFurther) {
  Program("Adobe/Illustrator.exe");
  Text(Root::kMachine64, kUninstall + std::wstring(L"AI"), L"InstallLocation", Path("Adobe").wstring());
  EXPECT_TRUE(FindAll().empty());
}

TEST_F(FinderTest, RowsNamesAndStates) {
  const std::wstring ai10 = Program("Illustrator 10/Illustrator.exe");
  const std::wstring ai16 = Program("CS6/Illustrator.exe");
  const std::wstring ai23 = Program("2019/Illustrator.exe");
  const std::wstring ai25 = Program("2021/Illustrator.exe");
  const std::wstring other = Program("Other/draw.exe");
  // The list: one program that is there (spelt in upper case), two that have gone.
  std::wstring ai23Upper = ai23;
  for (wchar_t& c : ai23Upper) c = static_cast<wchar_t>(std::towupper(c));
  const std::vector<std::wstring> names = {L"Illustrator 2019", L"Old Illustrator", L"Drawing 100"};
  const std::vector<std::wstring> paths = {ai23, Path("Old/10/Illustrator.exe").wstring(),
                                           Path("Old/Draw/draw.exe").wstring()};
  editor::FoundRows rows(names, paths, {false, true, true},
                         {fileio::IdentityKey(ai23Upper), fileio::IdentityKey(paths[1]),
                          fileio::IdentityKey(paths[2])});
  const struct {
    std::wstring path;
    std::optional<ProgramVersion> version;
    std::wstring displayName;
    std::wstring name;
    std::wstring versionText;
    editor::FoundState state;
    int listRow;
    bool ticked;
  } cases[] = {
      {ai23, Version(L"Adobe Illustrator 2019", L"Adobe Illustrator", 23, 0, 1), L"", L"Illustrator 2019", L"23.0.1",
       editor::FoundState::kInList, 0, false},
      {ai25, Version(L"ILLUSTRATOR 2019", L"", 25, 2, 1), L"", L"ILLUSTRATOR 2019 (25.2)", L"25.2.1",
       editor::FoundState::kNew, -1, true},
      {ai16, Version(L"Illustrator 2019", L"", 25, 2, 7), L"", L"Illustrator 2019 (25.2.7)", L"25.2.7",
       editor::FoundState::kNew, -1, true},
      {ai10, Version(L"", L"Adobe Illustrator", 10, 0, 3), L"AI", L"Old Illustrator", L"10.0.3",
       editor::FoundState::kReplaces, 1, true},
      // The gone row is taken; a draw.exe of major 10 does not stand in "Drawing 100".
      {other, Version(L"", L"", 10, 0, 0), L"Drawing", L"Drawing", L"10.0.0", editor::FoundState::kNew, -1, true},
      {Path("x/draw.exe").wstring(), std::nullopt, L"", L"draw", L"", editor::FoundState::kNew, -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.path);
    const editor::FoundRow row = rows.Add({c.path, c.version, c.displayName});
    EXPECT_EQ(row.name, c.name);
    EXPECT_EQ(row.version, c.versionText);
    EXPECT_EQ(row.state, c.state);
    EXPECT_EQ(row.listRow, c.listRow);
    EXPECT_EQ(row.ticked, c.ticked);
  }
  EXPECT_EQ(editor::StateText({{}, L"Old Illustrator", L"", editor::FoundState::kReplaces, 1, true}),
            L"置き換え: Old Illustrator");
  EXPECT_EQ(editor::FinishedText(0), L"描画ソフトは見つかりませんでした。");
  EXPECT_EQ(editor::FinishedText(3), L"3 個のソフトが見つかりました。");
}

}  // namespace
