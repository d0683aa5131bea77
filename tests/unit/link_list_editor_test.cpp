#include "link_list_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>

#include "error.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using editor::LinkEditProblem;
using editor::LinkRowTexts;
using Texts = std::vector<std::wstring>;

std::wstring Wide(const std::string& ansi) { return std::wstring(ansi.begin(), ansi.end()); }

}  // namespace

namespace editor {
void PrintTo(const LinkRowTexts& row, std::ostream* out) {
  for (const std::wstring* text : {&row.creatorText, &row.creatorVersion, &row.program, &row.state}) {
    *out << "|" << std::string(text->begin(), text->end());
  }
}
}  // namespace editor

namespace {

// Stands in for the window: keeps the rows and the buttons' state, answers the change dialog and
// the open-file dialog from queues, and records what the window was asked to show.
class FakeLinksWindow : public editor::LinksHost {
 public:
  explicit FakeLinksWindow(fs::path folder) : folder_(std::move(folder)) {}

  struct Edit {
    std::wstring creatorText, creatorVersion;
    std::int32_t program;
  };
  std::vector<LinkRowTexts> rows;
  int selected = -1;
  bool rowButtons = true;
  std::deque<Edit> edits;  // accepted with OK, in turn; none left: キャンセル
  Texts offered;           // the programs of the last change dialog
  std::int32_t offeredSelection = -1;
  std::deque<std::wstring> files;
  Texts log;

  fs::path ProgramFolder() override { return folder_; }
  std::wstring FromAnsi(const std::string& ansi) override { return Wide(ansi); }
  std::string ToAnsi(const std::wstring& wide) override { return std::string(wide.begin(), wide.end()); }
  void InsertRow(int row, const LinkRowTexts& texts) override { rows.insert(rows.begin() + row, texts); }
  void SetRow(int row, const LinkRowTexts& texts) override { rows.at(static_cast<std::size_t>(row)) = texts; }
  void RemoveRow(int row) override { rows.erase(rows.begin() + row); }
  void SelectRow(int row) override { selected = row; }
  int SelectedRow() override { return selected; }
  void EnableRowButtons(bool enabled) override { rowButtons = enabled; }
  bool ShowLinkEdit(std::wstring& creatorText, std::wstring& creatorVersion, const Texts& programs,
                    std::int32_t& program) override {
    log.push_back(L"edit " + creatorText + L"|" + creatorVersion);
    offered = programs;
    offeredSelection = program;
    if (edits.empty()) return false;
    creatorText = edits.front().creatorText;
    creatorVersion = edits.front().creatorVersion;
    program = edits.front().program;
    edits.pop_front();
    return true;
  }
  std::wstring ChooseFile() override {
    if (files.empty()) return L"";
    const std::wstring file = files.front();
    files.pop_front();
    return file;
  }
  void Message(const std::wstring& text, int style) override {
    log.push_back(L"message " + std::to_wstring(style) + L" " + text);
  }
  void ShowError(std::int32_t number) override { log.push_back(L"error " + err::NumberText(number)); }

 private:
  fs::path folder_;
};

class LinkListEditorTest : public TempFolderTest {
 protected:
  void SetUp() override {
    draw_ = Put("apps/draw.exe", "MZ").string();
    layout_ = Put("apps/layout.exe", "MZ").string();
    // Draw's path in other letters than link.ini's: the same program.
    Put("name.ini", "[main]\r\nname1=Draw\r\npath1=" + Upper(draw_) + "\r\nname2=Layout\r\npath2=" + layout_ + "\r\n");
    Put("link.ini", "[main]\r\nQuelby=1\r\n" + Entry(1, "Adobe Illustrator(R) 16.0", draw_, "16.0*") +
                        Entry(2, "Adobe Illustrator(R) 16.0", draw_ + ".gone", "16.0.3") +
                        Entry(3, "Layout 2", layout_, ""));
  }
  static std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  }
  static std::string Entry(int number, const std::string& link, const std::string& path, const std::string& version) {
    const std::string n = std::to_string(number);
    return "link" + n + "=\"" + link + "\"\r\npath" + n + "=\"" + path + "\"\r\nCreatorVersion" + n + "=\"" + version +
           "\"\r\n";
  }
  std::string Eps(const std::string& name, const std::string& version) {
    return Put(name,
               "%!PS-Adobe-3.0\r\n%%Creator: Adobe Illustrator(R) 16.0\r\n%%AI8_CreatorVersion: " + version + "\r\n")
        .string();
  }
  std::wstring Test(const std::string& file) {
    window_.files.push_back(Wide(file));
    editor_.cmdTest_Click();
    return window_.log.empty() ? L"" : window_.log.back();
  }

  std::string draw_;
  std::string layout_;
  FakeLinksWindow window_{folder_};
  editor::LinkListEditor editor_{window_};
};

TEST_F(LinkListEditorTest, RowsNameTheApplicationOrThePathAndTellAMissingProgram) {
  editor_.Form_Load();
  EXPECT_EQ(window_.rows,
            (std::vector<LinkRowTexts>{
                {L"Adobe Illustrator(R) 16.0", L"16.0*", L"Draw", L""},
                {L"Adobe Illustrator(R) 16.0", L"16.0.3", Wide(draw_) + L".gone", editor_texts::kLinksProgramMissing},
                {L"Layout 2", L"", L"Layout", L""},
            }));
  EXPECT_EQ(window_.selected, 0);
  EXPECT_TRUE(window_.rowButtons);
  EXPECT_TRUE(window_.log.empty());
}

TEST_F(LinkListEditorTest, NoLinkIniGivesAnEmptyListWithoutRowButtonsAndWritesNothing) {
  fs::remove(Path("link.ini"));
  editor_.Form_Load();
  EXPECT_TRUE(window_.rows.empty());
  EXPECT_EQ(window_.selected, -1);
  EXPECT_FALSE(window_.rowButtons);
  editor_.cmdChange_Click();
  editor_.cmdForget_Click();
  EXPECT_TRUE(editor_.cmdOk_Click());
  EXPECT_FALSE(fs::exists(Path("link.ini")));
  EXPECT_TRUE(window_.log.empty());
}

TEST_F(LinkListEditorTest, ChangeOffersTheApplicationsWithTheRowsProgramSelected) {
  editor_.Form_Load();
  window_.selected = 0;
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.offered, (Texts{L"Draw", L"Layout"}));
  EXPECT_EQ(window_.offeredSelection, 0);
  EXPECT_EQ(window_.log.back(), L"edit Adobe Illustrator(R) 16.0|16.0*");
  window_.selected = 1;  // a program that no application has: its path comes first
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.offered, (Texts{Wide(draw_) + L".gone", L"Draw", L"Layout"}));
  EXPECT_EQ(window_.offeredSelection, 0);
  EXPECT_EQ(editor_.rows().mstrLinkPaths[1], draw_ + ".gone") << "cancelled: nothing changes";

  window_.edits = {{L"Adobe Illustrator(R) 17*", L"*", 2}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.rows[1], (LinkRowTexts{L"Adobe Illustrator(R) 17*", L"*", L"Layout", L""}));
  EXPECT_EQ(editor_.rows().mstrLinkPaths[1], layout_);
  EXPECT_EQ(window_.selected, 1);
  // Keeping the program keeps the row's own spelling of its path.
  window_.selected = 0;
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0*", 0}};
  editor_.lvwLinks_DblClick();
  EXPECT_EQ(editor_.rows().mstrLinkPaths[0], draw_);
}

TEST_F(LinkListEditorTest, ForgetSelectsTheRowThatTakesItsPlace) {
  editor_.Form_Load();
  window_.selected = 1;
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, 1);
  EXPECT_EQ(window_.rows.back().creatorText, L"Layout 2");
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, 0);
  EXPECT_TRUE(window_.rowButtons);
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, -1);
  EXPECT_FALSE(window_.rowButtons);
  EXPECT_TRUE(window_.rows.empty());
  EXPECT_EQ(editor_.rows().count(), 0);
}

TEST_F(LinkListEditorTest, TestingAFileTellsWhatTheLauncherWouldDoWithTheRowsAsTheyStand) {
  editor_.Form_Load();
  const std::wstring format = L"message 0 ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: ";
  const struct {
    const char* name;
    std::string file;
    std::wstring expected;
  } cases[] = {
      {"an exact hit", Eps("exact.eps", "16.0.3"),
       format + L"16.0.3\r\n\r\n起動するソフト: " + Wide(draw_) + L".gone (記憶した選択の 2 行目)"},
      {"a '*' hit", Eps("pattern.eps", "16.0.4"),
       format + L"16.0.4\r\n\r\n起動するソフト: Draw (記憶した選択の 1 行目)"},
      {"no hit", Eps("other.eps", "17.0"), format + L"17.0\r\n\r\n" + editor_texts::kTestNotRegistered},
      {"an unknown format", Put("plain.eps", "no header").string(),
       L"message 0 " + std::wstring(editor_texts::kTestUnknownFormat)},
      {"a header past the first scan, as the launcher finds it",
       Put("late.eps", std::string(150 * 1024, '\n') + "%!PS-Adobe-3.0\r\n%%Creator: Layout 2\r\n").string(),
       L"message 0 ファイルの形式: Layout 2\r\n作成ソフトバージョン: \r\n\r\n起動するソフト: Layout (記憶した選択の 3 "
       L"行目)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Test(c.file), c.expected) << c.name;
  window_.selected = 1;
  editor_.cmdForget_Click();
  EXPECT_EQ(Test(cases[0].file), format + L"16.0.3\r\n\r\n起動するソフト: Draw (記憶した選択の 1 行目)")
      << "the forgotten row no longer decides, though link.ini still holds it";
  const std::size_t before = window_.log.size();
  editor_.cmdTest_Click();
  EXPECT_EQ(window_.log.size(), before) << "a cancelled open-file dialog shows nothing";
}

TEST_F(LinkListEditorTest, OkWritesOnlyAChangeAndAFailureKeepsTheWindowOpen) {
  const std::string before = Bytes("link.ini");
  editor_.Form_Load();
  window_.selected = 0;
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0*", 0}};
  editor_.cmdChange_Click();
  ReadOnly("link.ini");
  EXPECT_TRUE(editor_.cmdOk_Click()) << "nothing changed";
  editor_.cmdForget_Click();
  EXPECT_FALSE(editor_.cmdOk_Click());
  EXPECT_EQ(window_.log.back(), L"error -2147024883") << "EACCES as a system error";
  EXPECT_EQ(Bytes("link.ini"), before);
  EXPECT_EQ(window_.rows.size(), 2u);
  fs::permissions(Path("link.ini"), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(editor_.cmdOk_Click());
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n" +
                                   Entry(1, "Adobe Illustrator(R) 16.0", draw_ + ".gone", "16.0.3") +
                                   Entry(2, "Layout 2", layout_, ""));
}

// Two bytes for the Japanese ranges, one for ASCII; anything else is not in the code page.
std::string FakeAnsi(const std::wstring& wide, bool& exact) {
  std::string ansi;
  for (const wchar_t c : wide) {
    if (c < 0x80) {
      ansi += static_cast<char>(c);
    } else if ((c >= 0x3000 && c < 0xA000) || (c >= 0xFF00 && c < 0xFFF0)) {
      ansi += "\x88\x9F";
    } else {
      ansi += '?';
      exact = false;
    }
  }
  return ansi;
}

TEST(LinkEditCheck, EachProblemIsNamedCreatorTextFirst) {
  const std::wstring kanji511(511, L'\x6F22');
  const struct {
    std::wstring creatorText, creatorVersion;
    LinkEditProblem expected;
  } cases[] = {
      {L"  Draw*  ", L" 16.0* ", LinkEditProblem::kNone},
      {L"   ", L"1", LinkEditProblem::kCreatorEmpty},
      {L"Draw\r\n2", L"1\n", LinkEditProblem::kCreatorLineBreak},
      {L"Draw\n", L"1", LinkEditProblem::kCreatorLineBreak},
      {std::wstring(1024, L'x'), L"1", LinkEditProblem::kCreatorTooLong},
      {kanji511 + L"x", L"", LinkEditProblem::kNone},
      {kanji511 + L"xy", L"", LinkEditProblem::kCreatorTooLong},
      {L"Draw \xD55C", L"\xD55C", LinkEditProblem::kCreatorNotAnsi},
      {L"Draw", L"1\r", LinkEditProblem::kVersionLineBreak},
      {L"Draw", std::wstring(1023, L'9'), LinkEditProblem::kNone},
      {L"Draw", std::wstring(1024, L'9'), LinkEditProblem::kVersionTooLong},
      {L"Draw", L"\x00E9", LinkEditProblem::kVersionNotAnsi},
  };
  for (const auto& c : cases) {
    const editor::LinkEditCheck check = editor::CheckLinkEdit(c.creatorText, c.creatorVersion, FakeAnsi);
    EXPECT_EQ(check.problem, c.expected) << std::string(c.creatorText.begin(), c.creatorText.begin() + 4);
  }
  const editor::LinkEditCheck trimmed = editor::CheckLinkEdit(L"  Draw*  ", L" 16.0* ", FakeAnsi);
  EXPECT_EQ(trimmed.creatorText + L"|" + trimmed.creatorVersion, L"Draw*|16.0*");
  EXPECT_STREQ(editor::LinkEditMessage(LinkEditProblem::kVersionTooLong), editor_texts::kVersionTooLong);
}

}  // namespace
