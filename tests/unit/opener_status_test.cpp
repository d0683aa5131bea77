// The list window's status line: what it says, who counts as the opener and as registered, and
// which page [既定のアプリ] opens.
#include "opener_status.h"

#include <gtest/gtest.h>

#include "stand_in_opener.h"
#include "stand_in_system.h"
#include "temp_folder.h"

namespace {

using editor::OpenerState;
using Eps = OpenerState::Eps;
using registry::Root;

TEST(OpenerStatus, TheLineForEachOpener) {
  const std::wstring note = L"（Varnock は登録されていません。readme.txt の手順で選べます）";
  const std::wstring ai = L"\r\nAI ファイルも Varnock で開きます。";
  const std::wstring other =
      L"EPS ファイルは Adobe Illustrator 2021 で開きます。Varnock で開くには [既定のアプリ] で選んでください。";
  const std::wstring none =
      L"EPS ファイルを開くソフトは設定されていません。Varnock で開くには [既定のアプリ] で選んでください。";
  const struct {
    OpenerState state;
    std::wstring text;
    bool warning;
  } cases[] = {
      {{Eps::kVarnock, L"", false, true}, L"EPS ファイルは Varnock で開きます。", false},
      {{Eps::kVarnock, L"", true, true}, L"EPS ファイルは Varnock で開きます。" + ai, false},
      {{Eps::kVarnock, L"", false, false}, L"EPS ファイルは Varnock で開きます。" + note, false},
      {{Eps::kOther, L"Adobe Illustrator 2021", false, true}, other, true},
      {{Eps::kOther, L"Adobe Illustrator 2021", true, false}, other + note + ai, true},
      {{Eps::kNone, L"", false, true}, none, true},
      {{Eps::kNone, L"", false, false}, none + note, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "expected " << c.text);
    const editor::StatusLine line = editor::StatusOf(c.state);
    EXPECT_EQ(line.text, c.text);
    EXPECT_EQ(line.warning, c.warning);
  }
}

TEST(OpenerStatus, TheSettingsPageForEachWindows) {
  const std::wstring settings = L"ms-settings:defaultapps?registeredAppUser=Varnock";
  const std::wstring controlPanel =
      L"/name Microsoft.DefaultPrograms /page pageDefaultProgram\\pageAdvancedSettings?pszAppName=Varnock";
  const struct {
    unsigned major;  // 6: Windows 7, 8 and 8.1; 10: Windows 10 and 11
    bool controlPanel;
    const std::wstring& text;
  } cases[] = {{6, true, controlPanel}, {10, false, settings}, {11, false, settings}, {0, true, controlPanel}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.major);
    const editor::DefaultAppsPage page = editor::DefaultAppsFor(c.major);
    EXPECT_EQ(page.controlPanel, c.controlPanel);
    EXPECT_EQ(page.text, c.text);
  }
}

// A folder with the launcher, another copy of it, and another program; the stand-ins of the
// shell, the registry and the version resources hold what each test puts there.
class OpenerReading : public TempFolderTest {
 protected:
  OpenerReading() {
    Put("Varnock/Varnock.exe", "MZ");
    Put("Other copy/Varnock.exe", "MZ");
    Put("Draw/draw.exe", "MZ");
  }
  ~OpenerReading() override {
    opener::stand_in::Clear();
    registry::stand_in::Clear();
    versioninfo::stand_in::Clear();
  }

  std::wstring Wide(const std::string& relative) const { return Path(relative).wstring(); }
  // The installer's entries: the registered application, its .eps type and that type's command.
  static void PutText(Root root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    registry::stand_in::Put(root, key, name, {registry::ValueType::kText, text});
  }
  static void Register(Root root, Root classes, const std::wstring& command) {
    PutText(root, L"Software\\RegisteredApplications", L"Varnock", L"Software\\Varnock\\Capabilities");
    PutText(root, L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"Varnock.EpsFile");
    PutText(classes, L"Software\\Classes\\Varnock.EpsFile\\shell\\open\\command", L"", command);
  }
  OpenerState Read() const { return editor::ReadOpenerState(Path("Varnock")); }
};

TEST_F(OpenerReading, WhoOpensEpsAndAiFiles) {
  versioninfo::ProgramVersion illustrator;
  illustrator.fileDescription = L"Adobe Illustrator 2021";
  const struct {
    std::string eps, ai;  // empty: nothing opens them
    bool described;       // draw.exe carries a version resource with a description
    Eps opener;
    std::wstring name;
    bool aiByVarnock;
  } cases[] = {
      {"Varnock/Varnock.exe", "", false, Eps::kVarnock, L"", false},
      {"VARNOCK/varnock.EXE", "Varnock/Varnock.exe", false, Eps::kVarnock, L"", true},
      {"Varnock/../Varnock/Varnock.exe", "Draw/draw.exe", false, Eps::kVarnock, L"", false},
      {"Draw/draw.exe", "Varnock/Varnock.exe", true, Eps::kOther, L"Adobe Illustrator 2021", true},
      {"Draw/draw.exe", "", false, Eps::kOther, L"draw.exe", false},
      {"Other copy/Varnock.exe", "Other copy/Varnock.exe", false, Eps::kOther, L"Varnock.exe", false},
      {"", "Varnock/Varnock.exe", false, Eps::kNone, L"", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(".eps " + c.eps + ", .ai " + c.ai);
    opener::stand_in::Clear();
    versioninfo::stand_in::Clear();
    if (!c.eps.empty()) opener::stand_in::Put(L".eps", Path(c.eps));
    if (!c.ai.empty()) opener::stand_in::Put(L".ai", Path(c.ai));
    if (c.described) versioninfo::stand_in::Put(Path("Draw/draw.exe"), illustrator);
    const OpenerState state = Read();
    EXPECT_EQ(state.eps, c.opener);
    EXPECT_EQ(state.otherName, c.name);
    EXPECT_EQ(state.aiByVarnock, c.aiByVarnock);
  }
}

TEST_F(OpenerReading, RegisteredOnlyWhenTheRegisteredTypeStartsThisFoldersLauncher) {
  const std::wstring ours = L"\"" + Wide("Varnock/Varnock.exe") + L"\" \"%1\"";
  const std::wstring copy = L"\"" + Wide("Other copy/Varnock.exe") + L"\" \"%1\"";
  const struct {
    const char* what;
    std::vector<std::tuple<Root, Root, std::wstring>> registrations;  // root, classes' root, command
    bool registered;
  } cases[] = {
      {"the user's installation", {{Root::kUser, Root::kUser, ours}}, true},
      {"the machine's", {{Root::kMachine64, Root::kMachine64, ours}}, true},
      {"the user's entries, the machine's classes", {{Root::kUser, Root::kMachine64, ours}}, true},
      {"unquoted", {{Root::kUser, Root::kUser, L"  " + Wide("Varnock/Varnock.exe") + L" %1"}}, true},
      {"another copy", {{Root::kUser, Root::kUser, copy}}, false},
      {"the user's classes before the machine's",
       {{Root::kMachine64, Root::kMachine64, ours}, {Root::kUser, Root::kUser, copy}},
       false},
      {"a command cut short", {{Root::kUser, Root::kUser, L"\"" + Wide("Varnock/Varnock.exe")}}, false},
      {"no command", {{Root::kUser, Root::kUser, L""}}, false},
      {"the portable zip", {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    registry::stand_in::Clear();
    for (const auto& [root, classes, command] : c.registrations) Register(root, classes, command);
    EXPECT_EQ(Read().registered, c.registered);
  }
  // A registered application whose entries name no .eps type.
  registry::stand_in::Clear();
  Register(Root::kUser, Root::kUser, ours);
  PutText(Root::kUser, L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"");
  EXPECT_FALSE(Read().registered);
}

}  // namespace
