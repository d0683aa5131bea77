// The list window's status line under Wine. Each test sets the prefix's associations in the
// machine's and the user's classes, as Windows would merge them (Wine's shell reads only the
// machine's and has no protected user choice), and removes them again. The button's test runs the
// Windows 10 branch; the others run on the fresh prefix's Windows 7, which the line does not depend on.
#include <gtest/gtest.h>

#include <memory>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/launcher_texts.h"
#include "prefix_registry.h"
#include "program_test.h"

namespace {

using namespace drive;
using namespace editor_ids;

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kAppDefaults = L"Software\\Wine\\AppDefaults\\Quelby.exe";

class OpenerLine : public ProgramTest {
 protected:
  // Before too: what an earlier run cut short may have left.
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      for (const wchar_t* key : {L".eps", L".ai", L"Varnock.EpsFile", L"Other.Type", L"ms-settings"}) {
        RegDeleteTreeW(root, (kClasses + key).c_str());
      }
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnock");
    RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults.c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Varnock");
  }
  static void SetOpener(const std::wstring& extension, const fs::path& program) {
    const std::wstring type = program.filename() == L"Varnock.exe" ? L"Varnock.EpsFile" : L"Other.Type";
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      SetText(root, kClasses + extension, L"", type);
      SetText(root, kClasses + type + L"\\shell\\open\\command", L"", Quoted(program) + L" \"%1\"");
    }
  }
  // The installer's entries, for the launcher given.
  static void Register(const fs::path& launcher) {
    SetText(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Varnock", L"Software\\Varnock\\Capabilities");
    SetText(HKEY_CURRENT_USER, L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"Varnock.EpsFile");
    SetText(HKEY_CURRENT_USER, kClasses + L"Varnock.EpsFile\\shell\\open\\command", L"", Quoted(launcher));
  }

  void Start() {
    process_ = std::make_unique<Process>(quelby_, Quoted(quelby_));
    main_ = WaitForCaption(process_->id(), editor_texts::kListCaption);
    ASSERT_TRUE(main_);
  }
  // The line once its first reading has come (it is empty until then).
  std::wstring Status() const {
    std::wstring text;
    Eventually([&] { return !(text = Text(GetDlgItem(main_, kQuelbyStatus))).empty(); });
    return text;
  }
  bool Warns() const { return IsWindowVisible(GetDlgItem(main_, kQuelbyWarning)) != FALSE; }

  std::unique_ptr<Process> process_;
  HWND main_ = nullptr;
};

TEST_F(OpenerLine, SaysWhoOpensEpsFilesAndWarnsUnlessItIsThisFoldersLauncher) {
  const fs::path illustrator = box_.Install(L"stand_in_ai25.exe", L"Adobe\\Illustrator.exe");  // Adobe Illustrator 2021
  const std::wstring varnock = editor_texts::kOpenerVarnock, ai = std::wstring(L"\r\n") + editor_texts::kOpenerAi;
  const auto other = [](const std::wstring& name) {
    return editor_texts::kOpenerOtherBefore + name + editor_texts::kOpenerOtherAfter;
  };
  const struct {
    fs::path eps, ai;  // empty: nothing opens them
    bool registered;
    std::wstring status;
  } cases[] = {
      {launcher_, launcher_, true, varnock + ai},
      {illustrator, launcher_, true, other(L"Adobe Illustrator 2021") + ai},
      {draw_, {}, true, other(L"draw.exe")},  // no version resource
      {{}, draw_, true, editor_texts::kOpenerNone},
      {launcher_, {}, false, varnock + editor_texts::kOpenerNotRegistered},  // the portable zip
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.status));
    Clean();
    if (!c.eps.empty()) SetOpener(L".eps", c.eps);
    if (!c.ai.empty()) SetOpener(L".ai", c.ai);
    if (c.registered) Register(launcher_);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(Warns(), c.eps != launcher_);
  }
}

TEST_F(OpenerLine, ComingBackToTheWindowReadsItAgain) {
  Register(launcher_);
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(Status(), editor_texts::kOpenerNone);
  // The user chooses Varnock in Windows' settings meanwhile; another program's window has the focus.
  SetOpener(L".eps", launcher_);
  Process about(launcher_, Quoted(launcher_));
  HWND other =
      WaitForCaption(about.id(), std::wstring(launcher_texts::kTitle) + launcher_texts::kAboutCaptionAfterTitle);
  ASSERT_TRUE(other);
  SetForegroundWindow(other);
  ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == other; }));
  EXPECT_EQ(Status(), editor_texts::kOpenerNone) << "read while the window was not active";
  ClickId(other, IDOK);
  EXPECT_TRUE(about.Ended());
  SetForegroundWindow(main_);
  EXPECT_TRUE(Eventually([&] { return Status() == editor_texts::kOpenerVarnock && !Warns(); }));
}

TEST_F(OpenerLine, TheButtonOpensSettingsPageOfDefaultAppsOnWindows10) {
  // Wine reports Windows 10 to the list editor alone; a stand-in registered for ms-settings:
  // addresses records what Wine's shell hands it (the whole address).
  SetText(HKEY_CURRENT_USER, kAppDefaults, L"Version", L"win10");
  const fs::path settings = box_.Install(L"recorder.exe", L"Settings\\settings.exe");
  SetText(HKEY_LOCAL_MACHINE, kClasses + L"ms-settings", L"URL Protocol", L"");
  SetText(HKEY_LOCAL_MACHINE, kClasses + L"ms-settings\\shell\\open\\command", L"", Quoted(settings) + L" \"%1\"");
  ASSERT_NO_FATAL_FAILURE(Start());
  Click(GetDlgItem(main_, kQuelbyDefaultApps));
  EXPECT_EQ(Started(settings),
            std::vector<std::wstring>{Quoted(settings) + L" \"ms-settings:defaultapps?registeredAppUser=Varnock\""});
}

}  // namespace
