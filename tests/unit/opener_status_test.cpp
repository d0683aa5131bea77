// The list window's status line: its text, who counts as the opener and as registered, and the
// page that 既定のアプリ opens.
#include "opener_status.h"

#include <gtest/gtest.h>

#include "stand_in_opener.h"
#include "stand_in_system.h"
#include "temp_folder.h"

namespace {

using editor::OpenerState;
using Eps = OpenerState::Eps;
using registry::Root;

TEST(OpenerStatus, TheLineForEachOpenerAndThePageForEachWindows) {
  const std::wstring choose = L"Varnock で開くには [既定のアプリ] で選んでください。";
  const std::wstring note = L"（Varnock は登録されていません。readme.txt の手順で選べます）";
  const struct {
    OpenerState state;
    std::wstring text;
    bool warning;
  } cases[] = {
      {{Eps::kVarnock, L"", false, true}, L"EPS ファイルは Varnock で開きます。", false},
      {{Eps::kVarnock, L"", true, false},
       L"EPS ファイルは Varnock で開きます。" + note + L"\r\nAI ファイルも Varnock で開きます。",
       false},
      {{Eps::kOther, L"Adobe Illustrator 2021", false, true},
       L"EPS ファイルは Adobe Illustrator 2021 で開きます。" + choose,
       true},
      {{Eps::kNone, L"", false, false}, L"EPS ファイルを開くソフトは設定されていません。" + choose + note, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editor::StatusOf(c.state).text, c.text);
    EXPECT_EQ(editor::StatusOf(c.state).warning, c.warning) << c.text;
  }
  // Windows 10 and 11 report 10; Windows 7 to 8.1 report 6.
  EXPECT_FALSE(editor::DefaultAppsFor(10).controlPanel);
  EXPECT_EQ(editor::DefaultAppsFor(10).text, L"ms-settings:defaultapps?registeredAppUser=Varnock");
  EXPECT_TRUE(editor::DefaultAppsFor(6).controlPanel);
  EXPECT_EQ(editor::DefaultAppsFor(6).text,
            L"/name Microsoft.DefaultPrograms /page pageDefaultProgram\\pageAdvancedSettings?pszAppName=Varnock");
}

class OpenerReading : public TempFolderTest {
 protected:
  ~OpenerReading() override {
    opener::stand_in::Clear();
    registry::stand_in::Clear();
  }
  // The installer's entries under `root`, the open command of the .eps type under `classes`.
  static void Register(Root root, Root classes, const std::wstring& command) {
    const auto put = [](Root at, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
      registry::stand_in::Put(at, key, name, {registry::ValueType::kText, text});
    };
    put(root, L"Software\\RegisteredApplications", L"Varnock", L"Software\\Varnock\\Capabilities");
    put(root, L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"Varnock.EpsFile");
    put(classes, L"Software\\Classes\\Varnock.EpsFile\\shell\\open\\command", L"", command);
  }
  OpenerState Read() const { return editor::ReadOpenerState(Path("Varnock")); }
};

TEST_F(OpenerReading, TheOpenerByItsFileAndTheRegistrationByItsCommand) {
  Put("Varnock/Varnock.exe", "MZ");
  opener::stand_in::Put(L".eps", Path("VARNOCK/../Varnock/varnock.EXE"));  // spelt otherwise, the same file
  opener::stand_in::Put(L".ai", Path("Other copy/Varnock.exe"));
  EXPECT_EQ(Read(), (OpenerState{Eps::kVarnock, L"", false, false}));
  opener::stand_in::Put(L".eps", Path("Draw/draw.exe"));  // no version resource
  EXPECT_EQ(Read(), (OpenerState{Eps::kOther, L"draw.exe", false, false}));

  const std::wstring ours = Path("Varnock/Varnock.exe").wstring(), copy = Path("Other copy/Varnock.exe").wstring();
  const struct {
    const char* what;
    std::vector<std::tuple<Root, Root, std::wstring>> registrations;  // root, classes' root, command
    bool registered;
  } cases[] = {
      {"the user's", {{Root::kUser, Root::kUser, L"\"" + ours + L"\" \"%1\""}}, true},
      {"the machine's", {{Root::kMachine64, Root::kMachine64, L"\"" + ours + L"\" \"%1\""}}, true},
      {"unquoted", {{Root::kUser, Root::kMachine64, L" " + ours + L" %1"}}, true},
      {"the user's classes first",
       {{Root::kMachine64, Root::kMachine64, L"\"" + ours + L"\""}, {Root::kUser, Root::kUser, L"\"" + copy + L"\""}},
       false},
      {"a quote cut short", {{Root::kUser, Root::kUser, L"\"" + ours}}, false},
  };
  for (const auto& c : cases) {
    registry::stand_in::Clear();
    for (const auto& [root, classes, command] : c.registrations) Register(root, classes, command);
    EXPECT_EQ(Read().registered, c.registered) << c.what;
  }
}

}  // namespace
