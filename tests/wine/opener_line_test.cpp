// The list window's status line under Wine: which program opens .eps files as the shell resolves it,
// the warning, the note for a launcher that Windows does not list as registered, the line for .ai
// files, the page that 既定のアプリ(&W)... opens, and the reading again when the window comes back.
//
// Each test sets the prefix's associations itself and removes them again. Wine's shell reads only
// the machine's classes (HKEY_CLASSES_ROOT is HKLM\Software\Classes there) and has no protected
// user choice, so an association is set in both the machine's and the user's classes, as Windows
// would merge them; the registered application's entries are the user's, as the installer writes
// them. A fresh prefix reports Windows 7: a test says which branch of the button it runs.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/launcher_texts.h"
#include "program_test.h"

namespace {

using namespace drive;
using namespace editor_ids;

const std::wstring kClasses = L"Software\\Classes\\";
// What the tests put into the prefix's registry, and what each test removes before and after it.
const std::wstring kKeys[] = {
    kClasses + L".eps",
    kClasses + L".ai",
    kClasses + L"Varnock.EpsFile",
    kClasses + L"Varnock.AiFile",
    kClasses + L"Other.Document",
    kClasses + L"ms-settings",
    L"Software\\Varnock",
    L"Software\\Wine\\AppDefaults\\Quelby.exe",
};
// Wine runs a program of its own for control.exe unless told to take the file that is there.
const wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

void SetText(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS)
      << ToUtf8(key);
}

std::wstring OpenCommand(const fs::path& program) { return Quoted(program) + L" \"%1\""; }

fs::path SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

template <typename Condition>
bool Eventually(Condition condition, DWORD milliseconds = 15000) {
  for (const ULONGLONG end = GetTickCount64() + milliseconds; !condition(); Sleep(20)) {
    if (GetTickCount64() > end) return false;
  }
  return true;
}

class OpenerLine : public ProgramTest {
 protected:
  // After a run that was cut short too.
  void SetUp() override {
    Clean();
    RestoreControlPanel();
  }
  void TearDown() override {
    if (process_ && process_->Running()) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_TRUE(process_->Ended());
    }
    Clean();
    RestoreControlPanel();
  }

  static void Clean() {
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      for (const std::wstring& key : kKeys) RegDeleteTreeW(root, key.c_str());
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Varnock");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, L"control.exe");
  }

  // The shell starts `program` for files of `extension`, through the ProgID given.
  static void SetOpener(const std::wstring& extension, const std::wstring& progId, const fs::path& program) {
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      SetText(root, kClasses + extension, L"", progId);
      SetText(root, kClasses + progId + L"\\shell\\open\\command", L"", OpenCommand(program));
    }
  }
  // The installer's entries for the launcher at `program`: the registered application and its types.
  static void Register(const fs::path& program) {
    SetText(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Varnock", L"Software\\Varnock\\Capabilities");
    SetText(HKEY_CURRENT_USER, L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"Varnock.EpsFile");
    SetText(HKEY_CURRENT_USER, kClasses + L"Varnock.EpsFile\\shell\\open\\command", L"", OpenCommand(program));
  }
  // A stand-in for Settings: the program registered for ms-settings: addresses, which Wine's shell
  // hands the whole address.
  fs::path InstallSettings() const {
    const fs::path settings = box_.Install(L"recorder.exe", L"Settings\\settings.exe");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L"ms-settings", L"URL Protocol", L"");
    SetText(HKEY_LOCAL_MACHINE, kClasses + L"ms-settings\\shell\\open\\command", L"", OpenCommand(settings));
    return settings;
  }
  // A stand-in for Control Panel in place of the system's control.exe; it records beside itself.
  static void InstallControlPanel() {
    const fs::path control = SystemFolder() / L"control.exe";
    fs::rename(control, kSavedControl);
    fs::copy_file(BinFolder() / L"recorder.exe", control);
    SetText(HKEY_CURRENT_USER, kOverrides, L"control.exe", L"native");
  }
  static void RestoreControlPanel() {
    if (!fs::exists(kSavedControl)) return;
    const fs::path control = SystemFolder() / L"control.exe";
    fs::remove(control);
    fs::rename(kSavedControl, control);
    fs::remove(SystemFolder() / L"record.txt");
  }
  static std::vector<std::wstring> ControlPanelStarts() {
    std::vector<std::wstring> lines;
    Eventually([&] {
      std::ifstream file(SystemFolder() / L"record.txt", std::ios::binary);
      for (std::string line; std::getline(file, line);) lines.push_back(FromUtf8(line));
      return !lines.empty();
    });
    return lines;
  }

  void StartQuelby() {
    process_ = std::make_unique<Process>(quelby_, Quoted(quelby_));
    main_ = WaitForCaption(process_->id(), editor_texts::kListCaption);
    ASSERT_TRUE(main_);
  }
  void CloseQuelby() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process_->Ended());
  }
  // The status line once its first reading has come (the line is empty until then).
  std::wstring Status() const {
    std::wstring text;
    Eventually([&] { return !(text = Text(GetDlgItem(main_, kQuelbyStatus))).empty(); });
    return text;
  }
  bool Warns() const { return IsWindowVisible(GetDlgItem(main_, kQuelbyWarning)) != FALSE; }

  static inline const fs::path kSavedControl = SystemFolder() / L"control.exe.quelby-test";
  std::unique_ptr<Process> process_;
  HWND main_ = nullptr;
};

TEST_F(OpenerLine, SaysWhoOpensEpsFilesAndWarnsUnlessItIsThisFoldersLauncher) {
  // Adobe Illustrator 2021 by its version resource; the recorder has none, here as another folder's
  // launcher too, known by its folder and not by its name.
  const fs::path illustrator = box_.Install(L"stand_in_ai25.exe", L"Adobe\\Illustrator.exe");
  const fs::path copy = box_.Install(L"recorder.exe", L"Other copy\\Varnock.exe");
  const std::wstring varnock = editor_texts::kOpenerVarnock;
  const std::wstring note = editor_texts::kOpenerNotRegistered;
  const std::wstring ai = std::wstring(L"\r\n") + editor_texts::kOpenerAi;
  const auto other = [](const std::wstring& name) {
    return editor_texts::kOpenerOtherBefore + name + editor_texts::kOpenerOtherAfter;
  };
  const struct {
    const char* what;
    fs::path eps, ai, registered;  // empty: not set
    std::wstring status;
    bool warns;
  } cases[] = {
      {"the launcher", launcher_, {}, launcher_, varnock, false},
      {"the launcher for both kinds", launcher_, launcher_, launcher_, varnock + ai, false},
      {"a described program", illustrator, launcher_, launcher_, other(L"Adobe Illustrator 2021") + ai, true},
      {"a program without a description", draw_, {}, launcher_, other(L"draw.exe"), true},
      {"another copy of the launcher", copy, {}, launcher_, other(L"Varnock.exe"), true},
      {"nothing", {}, draw_, launcher_, editor_texts::kOpenerNone, true},
      {"the portable launcher", launcher_, {}, {}, varnock + note, false},
      {"another copy registered", launcher_, {}, copy, varnock + note, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Clean();
    if (!c.eps.empty()) SetOpener(L".eps", c.eps == launcher_ ? L"Varnock.EpsFile" : L"Other.Document", c.eps);
    if (!c.ai.empty()) SetOpener(L".ai", c.ai == launcher_ ? L"Varnock.AiFile" : L"Other.Document", c.ai);
    if (!c.registered.empty()) Register(c.registered);
    ASSERT_NO_FATAL_FAILURE(StartQuelby());
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(Warns(), c.warns);
    CloseQuelby();
  }
}

TEST_F(OpenerLine, ComingBackToTheWindowReadsItAgain) {
  Register(launcher_);
  ASSERT_NO_FATAL_FAILURE(StartQuelby());
  ASSERT_EQ(Status(), editor_texts::kOpenerNone);
  EXPECT_TRUE(Warns());
  // The user chooses Varnock in Windows' settings meanwhile, while the window stays as it was.
  SetOpener(L".eps", L"Varnock.EpsFile", launcher_);
  Sleep(1000);
  EXPECT_EQ(Status(), editor_texts::kOpenerNone);
  // Another program's window comes to the front, and then this one again.
  Process about(launcher_, Quoted(launcher_));
  HWND other =
      WaitForCaption(about.id(), std::wstring(launcher_texts::kTitle) + launcher_texts::kAboutCaptionAfterTitle);
  ASSERT_TRUE(other);
  SetForegroundWindow(other);
  ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == other; }));
  ClickId(other, IDOK);
  EXPECT_TRUE(about.Ended());
  SetForegroundWindow(main_);
  EXPECT_TRUE(Eventually([&] { return Status() == editor_texts::kOpenerVarnock; })) << ToUtf8(Status());
  EXPECT_FALSE(Warns());
}

TEST_F(OpenerLine, TheButtonOpensSettingsPageOfDefaultAppsOnWindows10) {
  // The Windows 10 and 11 branch: Wine reports Windows 10 to the list editor alone.
  SetText(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Quelby.exe", L"Version", L"win10");
  const fs::path settings = InstallSettings();
  ASSERT_NO_FATAL_FAILURE(StartQuelby());
  HWND button = GetDlgItem(main_, kQuelbyDefaultApps);
  EXPECT_EQ(Text(button), editor_texts::kListDefaultApps);
  Click(button);
  EXPECT_EQ(Started(settings),
            std::vector<std::wstring>{Quoted(settings) + L" \"ms-settings:defaultapps?registeredAppUser=Varnock\""});
  EXPECT_TRUE(IsWindowEnabled(main_)) << "a message in the way";
}

TEST_F(OpenerLine, TheButtonRunsControlPanelsPageOnWindows7) {
  // The Windows 7 and 8.1 branch: the fresh prefix's own version.
  const fs::path settings = InstallSettings();
  ASSERT_NO_FATAL_FAILURE(InstallControlPanel());
  ASSERT_NO_FATAL_FAILURE(StartQuelby());
  Click(GetDlgItem(main_, kQuelbyDefaultApps));
  const std::vector<std::wstring> started = ControlPanelStarts();
  ASSERT_EQ(started.size(), 1u);
  const std::wstring control = (SystemFolder() / L"control.exe").wstring();
  const std::wstring arguments =
      L" /name Microsoft.DefaultPrograms /page pageDefaultProgram\\pageAdvancedSettings?pszAppName=Varnock";
  EXPECT_TRUE(started[0] == control + arguments || started[0] == Quoted(control) + arguments) << ToUtf8(started[0]);
  EXPECT_FALSE(box_.Exists(L"Settings\\record.txt")) << "Settings started as well";
}

}  // namespace
