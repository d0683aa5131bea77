// The launcher's windows under Wine: the selection dialog, the wait notice and the about window.
#include <gtest/gtest.h>

#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "program_test.h"
#include "version.h"
#include "win_handle.h"

namespace {

using namespace drive;
using namespace launcher_ids;

const std::string kUnregistered = "%!PS-Adobe-3.0\r\n%%Creator: Example Draw 1.0\r\n%%AI8_CreatorVersion: 1.0.2\r\n";

std::wstring ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// Pixels of `twips` on the test display (96 dots per inch).
LONG Px(int twips) { return MulDiv(twips, 96, 1440); }

class LauncherWindowsTest : public ProgramTest {
 protected:
  const fs::path known_ = box_.Put(L"files\\known.eps", kUnregistered);
  const fs::path unknown_ = box_.Put(L"files\\unknown.eps", "no PostScript here\r\n");

  // The launcher started for `file` with Shift held until its dialog shows; the dialog, or none.
  HWND OpenWithShift(const fs::path& file, std::unique_ptr<Process>& launcher) const {
    INPUT shift[2] = {};
    shift[0].type = shift[1].type = INPUT_KEYBOARD;
    shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &shift[0], sizeof(INPUT));
    launcher = Open(file);
    HWND dialog = WaitForSelect(*launcher);
    SendInput(1, &shift[1], sizeof(INPUT));
    return dialog;
  }
};

TEST_F(LauncherWindowsTest, UnknownFormatOffersTheListWithTheBoxDisabled) {
  auto launcher = Open(unknown_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, kSelectLabel1), launcher_texts::kSelectFormatLabel);
  EXPECT_EQ(ItemText(dialog, kSelectLabel2), launcher_texts::kSelectVersionLabel);
  EXPECT_EQ(ItemText(dialog, kSelectVersionString), launcher_texts::kUnknownFormat);
  EXPECT_EQ(ItemText(dialog, kSelectCreatorVersion), L"");
  EXPECT_EQ(ItemText(dialog, kSelectPrompt), launcher_texts::kPromptUnknownFormat);
  EXPECT_EQ(ItemText(dialog, kSelectAlways), launcher_texts::kSelectAlwaysText);
  EXPECT_EQ(ItemText(dialog, IDOK), L"&OK");
  EXPECT_EQ(ItemText(dialog, IDCANCEL), launcher_texts::kSelectCancel);
  HWND list = GetDlgItem(dialog, kSelectNames);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  wchar_t row[64] = {};
  SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, L"レイアウト");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kSelectAlways)));
  EXPECT_EQ(SendDlgItemMessageW(dialog, kSelectAlways, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(ClientSize(dialog).cx, Px(6195));
  EXPECT_EQ(ClientSize(dialog).cy, Px(6390));
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(Focus(dialog), list);
  // Tab follows the tab order; the disabled box is passed over.
  const int order[] = {IDOK, IDCANCEL, kSelectVersionString, kSelectCreatorVersion, kSelectNames};
  for (const int id : order) {
    PressKey(dialog, VK_TAB);
    Sleep(100);
    EXPECT_EQ(GetDlgCtrlID(Focus(dialog)), id);
  }
  // Enter from the list confirms the first row; nothing is remembered for an unknown format.
  PressKey(dialog, VK_RETURN);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(Started(draw_), std::vector<std::wstring>{Quoted(draw_) + L" " + Quoted(unknown_)});
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni);
}

TEST_F(LauncherWindowsTest, CancelEscAndTheCloseBoxEndSilently) {
  const std::function<void(HWND)> ways[] = {
      [](HWND dialog) { ClickId(dialog, IDCANCEL); },
      [](HWND dialog) { PressKey(dialog, VK_ESCAPE); },
      [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND dialog) {  // Enter on the focused cancel button cancels
        SetForegroundWindow(dialog);
        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)), TRUE);
        Sleep(100);
        PressKey(dialog, VK_RETURN);
      },
  };
  for (const auto& close : ways) {
    auto launcher = Open(known_);
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    SendDlgItemMessageW(dialog, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    close(dialog);
    ASSERT_TRUE(launcher->Ended());
    EXPECT_EQ(launcher->ExitCode(), 0u);
  }
  EXPECT_FALSE(box_.Exists(L"Program Files\\Draw\\record.txt"));
  EXPECT_FALSE(box_.Exists(L"Layout\\record.txt"));
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni);
}

TEST_F(LauncherWindowsTest, ARememberedChoiceOpensTheNextFileDirectly) {
  auto launcher = Open(known_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, kSelectVersionString), L"Example Draw 1.0");
  EXPECT_EQ(ItemText(dialog, kSelectCreatorVersion), L"1.0.2");
  EXPECT_EQ(ItemText(dialog, kSelectPrompt), launcher_texts::kPromptNotRegistered);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kSelectAlways)));
  SendDlgItemMessageW(dialog, kSelectNames, LB_SETCURSEL, 1, 0);
  PressKey(dialog, VK_TAB);  // to the check box
  Sleep(100);
  ASSERT_EQ(GetDlgCtrlID(Focus(dialog)), kSelectAlways);
  PressKey(dialog, VK_SPACE);
  Sleep(100);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kSelectAlways, BM_GETCHECK, 0, 0), BST_CHECKED);
  PressKey(dialog, VK_RETURN);  // Enter confirms from the check box too
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\nlink1=\"Example Draw 1.0\"\r\npath1=\"" +
                                        ToAnsi(layout_.wstring()) + "\"\r\nCreatorVersion1=\"1.0.2\"\r\n");
  const fs::path next = box_.Put(L"files\\next.eps", kUnregistered);
  auto second = Open(next);
  ASSERT_TRUE(second->Ended());
  EXPECT_EQ(Started(layout_, 2), (std::vector<std::wstring>{Quoted(layout_) + L" " + Quoted(known_),
                                                            Quoted(layout_) + L" " + Quoted(next)}));
}

TEST_F(LauncherWindowsTest, ShiftAsksAgainAndOverwritesTheRememberedChoice) {
  box_.Put(L"link.ini", "[main]\r\nQuelby=1\r\nlink1=\"EXAMPLE DRAW 1.0\"\r\npath1=\"" + ToAnsi(draw_.wstring()) +
                            "\"\r\nCreatorVersion1=\"1.0.2\"\r\n");
  std::unique_ptr<Process> launcher;
  HWND dialog = OpenWithShift(known_, launcher);
  ASSERT_TRUE(dialog) << "Shift did not bring up the dialog";
  SendDlgItemMessageW(dialog, kSelectNames, LB_SETCURSEL, 1, 0);
  ClickId(dialog, kSelectAlways);
  PostMessageW(Focus(dialog), WM_SYSKEYDOWN, 'O', 0x20000001);  // Alt+O presses OK
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\nlink1=\"Example Draw 1.0\"\r\npath1=\"" +
                                        ToAnsi(layout_.wstring()) + "\"\r\nCreatorVersion1=\"1.0.2\"\r\n");
  EXPECT_EQ(Started(layout_).size(), 1u);
}

TEST_F(LauncherWindowsTest, ANewChoiceOverTwoEntriesOfThePairTakesEffect) {
  // Two entries of one pair (a hand edit, or a row changed into another's pair): the first decides.
  PutLinks(LinkEntry(1, "Example Draw 1.0", Ansi(draw_), "1.0.2") + LinkEntry(2, "Other", Ansi(draw_), "") +
           LinkEntry(3, "EXAMPLE DRAW 1.0", Ansi(draw_), "1.0.2"));
  std::unique_ptr<Process> launcher;
  HWND dialog = OpenWithShift(known_, launcher);
  ASSERT_TRUE(dialog) << "Shift did not bring up the dialog";
  SendDlgItemMessageW(dialog, kSelectNames, LB_SETCURSEL, 1, 0);
  ClickId(dialog, kSelectAlways);
  ClickId(dialog, IDOK);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni + LinkEntry(1, "Example Draw 1.0", Ansi(layout_), "1.0.2") +
                                        LinkEntry(2, "Other", Ansi(draw_), "") +
                                        LinkEntry(3, "EXAMPLE DRAW 1.0", Ansi(draw_), "1.0.2"));
  // The next file of the kind opens with the new choice, without asking.
  auto next = Open(box_.Put(L"files\\next.eps", kUnregistered));
  ASSERT_TRUE(next->Ended());
  EXPECT_EQ(Started(layout_, 2).size(), 2u);
}

TEST_F(LauncherWindowsTest, APairEndingInAStarCannotBeRemembered) {
  struct Case {
    const char* name;
    std::string header;
  };
  const Case cases[] = {
      {"creator text", "%!PS-Adobe-3.0\r\n%%Creator: Example*\r\n%%AI8_CreatorVersion: 1\r\n"},
      {"version", "%!PS-Adobe-3.0\r\n%%Creator: Example\r\n%%AI8_CreatorVersion: 1.0*\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto launcher = Open(box_.Put(L"files\star.eps", c.header));
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kSelectAlways)));
    // Even a box ticked from outside stores nothing.
    SendDlgItemMessageW(dialog, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    ClickId(dialog, IDOK);
    ASSERT_TRUE(launcher->Ended());
    EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni) << "stored as a pattern";
  }
}

TEST_F(LauncherWindowsTest, TheDialogComesToTheFrontOnceAndDoesNotStayOnTop) {
  const winhandle::Window other(CreateWindowExW(0, L"STATIC", L"unrelated", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                                                700, nullptr, nullptr, nullptr, nullptr));
  SetForegroundWindow(other.get());
  auto launcher = Open(known_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  Sleep(500);
  EXPECT_EQ(GetForegroundWindow(), dialog);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ClickId(dialog, IDCANCEL);
  EXPECT_TRUE(launcher->Ended());
}

TEST_F(LauncherWindowsTest, AnEmptyApplicationListIsReportedInsteadOfTheDialog) {
  fs::remove(box_.Path(L"name.ini"));
  auto launcher = Open(known_);
  const auto box = WaitForMessageBox(launcher->id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Varnock");
  EXPECT_EQ(box->text,
            L"起動するソフトが登録されていません。Quelby で起動リストにソフトを追加してください。"
            L" (エラー番号:N1002)");
  EXPECT_TRUE(box->icon);
  EXPECT_EQ(Windows(launcher->id()).size(), 1u) << "only the report, no dialog";
  Click(GetDlgItem(box->window, IDOK));
  EXPECT_TRUE(launcher->Ended());
}

TEST_F(LauncherWindowsTest, APickedProgramThatHasGoneIsReportedAndNotRemembered) {
  fs::remove(layout_);
  auto launcher = Open(known_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  SendDlgItemMessageW(dialog, kSelectNames, LB_SETCURSEL, 1, 0);
  ClickId(dialog, kSelectAlways);
  ClickId(dialog, IDOK);
  const auto box = WaitForMessageBox(launcher->id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + layout_.wstring());
  Click(GetDlgItem(box->window, IDOK));
  EXPECT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni);
}

// Dark pixels inside the window as the screen shows it: text that the window has drawn.
int InkOnScreen(HWND window) {
  RECT rect;
  if (!GetClientRect(window, &rect)) return 0;
  int ink = 0;
  for (const COLORREF pixel : OnScreen(window, rect).pixels) {
    if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 200) ++ink;
  }
  return ink;
}

TEST_F(LauncherWindowsTest, TheWaitNoticeShowsDuringTheLongerScansOnly) {
  // The header lies in the third scan: the notice stays up while almost 40 MB are read.
  std::string big(39u << 20, 'x');
  for (std::size_t i = 80; i < big.size(); i += 81) big[i] = '\n';
  const fs::path late = box_.Put(L"files\\late header.eps", big + kUnregistered);
  auto launcher = Open(late);
  HWND wait = WaitForWindow(launcher->id(), [](HWND w) { return ClassOf(w) == L"VarnockWait"; });
  launcher->Suspend();  // hold the scan where it is, the notice on the screen
  ASSERT_TRUE(wait && IsWindow(wait)) << "no wait notice";
  EXPECT_EQ(Caption(wait), L"Varnock");
  EXPECT_EQ(Caption(GetDlgItem(wait, kWaitLabel1)), launcher_texts::kWaitAnalysing);
  EXPECT_EQ(Caption(GetDlgItem(wait, kWaitFile)), late.wstring());
  EXPECT_EQ(ClientSize(wait).cx, Px(6090));
  EXPECT_EQ(ClientSize(wait).cy, Px(2040));
  EXPECT_GT(InkOnScreen(wait), 100) << "the notice is not drawn while the launcher reads";
  EXPECT_FALSE(GetWindow(wait, GW_OWNER));
  launcher->Resume();
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(IsWindow(wait)) << "the notice must close before the dialog appears";
  EXPECT_EQ(ItemText(dialog, kSelectVersionString), L"Example Draw 1.0");
  ClickId(dialog, IDCANCEL);
  EXPECT_TRUE(launcher->Ended());

  // A header within the first scan: never a notice.
  auto quick = Open(known_);
  bool sawWait = false;
  HWND quickDialog = WaitForWindow(quick->id(), [&](HWND w) {
    sawWait = sawWait || ClassOf(w) == L"VarnockWait";
    return Caption(w) == SelectCaption();
  });
  ASSERT_TRUE(quickDialog);
  EXPECT_FALSE(sawWait);
  EXPECT_FALSE(FindWindowW(L"VarnockWait", nullptr));
  ClickId(quickDialog, IDCANCEL);
  EXPECT_TRUE(quick->Ended());
}

}  // namespace

namespace {

const wchar_t kSysInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const wchar_t kSysInfoFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

// Sets the two registry values that tell where the system-information program lies, and takes
// them away again afterwards.
class SysInfoRegistry {
 public:
  SysInfoRegistry() { Clear(); }
  ~SysInfoRegistry() { Clear(); }
  void SetPath(const std::wstring& path, DWORD type = REG_SZ) { Set(kSysInfoKey, L"PATH", path, type); }
  void SetFolder(const std::wstring& folder) { Set(kSysInfoFolderKey, L"MSINFO", folder, REG_SZ); }

 private:
  static void Set(const wchar_t* keyName, const wchar_t* name, const std::wstring& value, DWORD type) {
    winhandle::RegistryKey key;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  static void Clear() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSysInfoKey, L"PATH");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSysInfoFolderKey, L"MSINFO");
  }
};

// The about window, in a folder without INI files: the launcher started without a file needs none.
class LauncherAboutTest : public ProgramTest {
 protected:
  void SetUp() override {
    fs::remove(box_.Path(L"link.ini"));
    fs::remove(box_.Path(L"name.ini"));
  }
  HWND OpenAbout(std::unique_ptr<Process>& process) {
    process = std::make_unique<Process>(launcher_, L"\"" + launcher_.wstring() + L"\"");
    return WaitForCaption(process->id(),
                          std::wstring(launcher_texts::kTitle) + launcher_texts::kAboutCaptionAfterTitle);
  }
  // Presses the system-information button; returns the message shown, if any.
  std::optional<MessageBoxView> PressSysInfo(const Process& process, HWND about) {
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(kDummySysInfo, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(about, kDummySysInfo)));
    return WaitForMessageBox(process.id(), 1500);
  }
  SysInfoRegistry registry_;
};

TEST_F(LauncherAboutTest, ShowsTitleVersionDescriptionAndContact) {
  std::unique_ptr<Process> process;
  HWND about = OpenAbout(process);
  ASSERT_TRUE(about);
  EXPECT_EQ(ItemText(about, kDummyTitle), L"Varnock");
  EXPECT_EQ(ItemText(about, kDummyVersion), launcher_texts::kAboutVersion + std::to_wstring(VARNOCK_VERSION_MAJOR) +
                                                L"." + std::to_wstring(VARNOCK_VERSION_MINOR) + L"  (build " +
                                                std::to_wstring(VARNOCK_VERSION_REVISION) + L")");
  EXPECT_EQ(ItemText(about, kDummyDescription), launcher_texts::kAboutDescription);
  EXPECT_EQ(ItemText(about, kDummyText1), launcher_texts::kAboutContact);
  EXPECT_EQ(ItemText(about, IDOK), L"OK");
  EXPECT_EQ(ItemText(about, kDummySysInfo), launcher_texts::kAboutSysInfo);
  EXPECT_TRUE(SendDlgItemMessageW(about, kDummyIcon, STM_GETICON, 0, 0));
  EXPECT_EQ(Focus(about), GetDlgItem(about, IDOK));
  EXPECT_EQ(ClientSize(about).cx, Px(5985));
  EXPECT_EQ(ClientSize(about).cy, Px(4050));
  EXPECT_FALSE(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(GetWindow(about, GW_OWNER)) << "owned, so that it has no taskbar button";
  for (const int id : {kDummyText1, kDummySysInfo, IDOK}) {
    PressKey(about, VK_TAB);
    Sleep(100);
    EXPECT_EQ(GetDlgCtrlID(Focus(about)), id);
  }
  PressKey(about, VK_ESCAPE);
  ASSERT_TRUE(process->Ended());
  EXPECT_FALSE(box_.Exists(L"link.ini"));
  EXPECT_FALSE(box_.Exists(L"name.ini"));
}

TEST_F(LauncherAboutTest, EnterAndTheCloseBoxCloseIt) {
  for (const bool enter : {true, false}) {
    std::unique_ptr<Process> process;
    HWND about = OpenAbout(process);
    ASSERT_TRUE(about);
    if (enter) {
      PressKey(about, VK_RETURN);
    } else {
      PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_TRUE(process->Ended());
  }
}

TEST_F(LauncherAboutTest, StartsTheProgramOfTheFirstRegistryLocation) {
  const fs::path program = box_.Install(L"recorder.exe", L"Sys Info\\msinfo32.exe");
  registry_.SetPath(program.wstring());
  registry_.SetFolder(box_.folder().wstring());  // never looked at
  std::unique_ptr<Process> process;
  HWND about = OpenAbout(process);
  ASSERT_TRUE(about);
  EXPECT_FALSE(PressSysInfo(*process, about));
  EXPECT_EQ(box_.Recorded(L"Sys Info"), std::vector<std::wstring>{L"\"" + program.wstring() + L"\""});
  EXPECT_TRUE(IsWindow(about)) << "the about window stays open";
  ClickId(about, IDOK);
  EXPECT_TRUE(process->Ended());
}

TEST_F(LauncherAboutTest, FallsBackToTheFolderOfTheSecondLocation) {
  box_.Install(L"recorder.exe", L"Tools\\MSINFO32.EXE");
  registry_.SetFolder(box_.Path(L"Tools").wstring());
  std::unique_ptr<Process> process;
  HWND about = OpenAbout(process);
  ASSERT_TRUE(about);
  // Enter on the focused button looks the program up instead of closing.
  SendMessageW(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(about, kDummySysInfo)), TRUE);
  PressKey(about, VK_RETURN);
  EXPECT_EQ(box_.Recorded(L"Tools"),
            std::vector<std::wstring>{L"\"" + box_.Path(L"Tools\\MSINFO32.EXE").wstring() + L"\""});
  EXPECT_TRUE(IsWindow(about));
  ClickId(about, IDOK);
  EXPECT_TRUE(process->Ended());
}

TEST_F(LauncherAboutTest, SaysSystemInformationIsUnavailableOtherwise) {
  box_.Install(L"recorder.exe", L"Tools\\MSINFO32.EXE");
  const std::function<void()> setups[] = {
      [] {},                                                  // neither location
      [&] { registry_.SetFolder(box_.folder().wstring()); },  // a folder without the program
      [&] {                                                   // a path that does not exist
        registry_.SetPath(box_.Path(L"gone.exe").wstring());
        registry_.SetFolder(box_.Path(L"Tools").wstring());
      },
      [&] {  // a value that is no plain string
        registry_.SetPath(box_.Path(L"Tools\\MSINFO32.EXE").wstring(), REG_EXPAND_SZ);
        registry_.SetFolder(box_.Path(L"Tools").wstring());
      },
  };
  for (const auto& setup : setups) {
    setup();
    std::unique_ptr<Process> process;
    HWND about = OpenAbout(process);
    ASSERT_TRUE(about);
    const auto box = PressSysInfo(*process, about);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, launcher_texts::kSysInfoUnavailable);
    EXPECT_EQ(box->title, L"Varnock");
    EXPECT_FALSE(box->icon);
    Click(GetDlgItem(box->window, IDOK));
    Sleep(100);
    EXPECT_TRUE(IsWindow(about));
    ClickId(about, IDOK);
    EXPECT_TRUE(process->Ended());
  }
  EXPECT_FALSE(box_.Exists(L"Tools\\record.txt")) << "the second location was used";
}

}  // namespace
