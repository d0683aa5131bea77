// The launcher on Windows: the system and the windows behind the launcher's run.
#include <windows.h>

#include <memory>

#include "chooser_meeting.h"
#include "error.h"
#include "frm_dummy.h"
#include "frm_select.h"
#include "frm_wait.h"
#include "launcher_main.h"
#include "link_lock.h"
#include "start_program.h"
#include "win_text.h"

extern const wchar_t* const kApplicationTitle = launcher_texts::kTitle;

namespace {

class WindowsHost : public launcher::LauncherHost {
 public:
  std::wstring CommandLine() override { return launcher::CommandTail(GetCommandLineW()); }

  fileio::FilePath ProgramFolder() override { return wintext::ProgramFolder(); }

  void Message(const std::wstring& text, int style) override {
    MessageBoxW(nullptr, text.c_str(), kApplicationTitle, static_cast<UINT>(style));
  }

  // The pointer shows what a program sets only over the program's own windows, so until the
  // launcher has one the pointer is only remembered: setting it would load the display driver,
  // which a registered file, started without any window, never needs.
  void SetMousePointer(int pointer) override {
    pointer_ = pointer;
    if (wait_ || pointerShown_) ShowPointer();
  }

  bool ShiftDown() override {
    // A newly started process may not have seen the key's messages yet; the asynchronous state
    // tells whether Shift is down right now.
    return GetKeyState(VK_SHIFT) < 0 || GetAsyncKeyState(VK_SHIFT) < 0;
  }

  void StartProgram(const std::wstring& program, const std::wstring& commandLine) override {
    if (!::StartProgram(program, commandLine)) throw err::AppError(err::FromSystemError(GetLastError()));
  }

  void ShowAbout() override { frmDummy().ShowModal(); }

  void ShowWait(const std::wstring& file) override {
    wait_ = std::make_unique<frmWait>();
    wait_->ShowEdit(file);
    ShowPointer();
  }

  void CloseWait() override { wait_.reset(); }

  bool ShowSelect(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths,
                  std::int32_t& rlngSelect, bool vblnAlway, bool vblnSuggest, const std::wstring& vstrVersionString,
                  const std::wstring& vstrCreatorVersion, const std::wstring& vstrPrompt,
                  bool& rblnAlwayResult) override {
    // Kept beyond its window, so that a file joining late finds no window to change.
    select_ = std::make_unique<frmSelect>();
    return select_->ShowEdit(rstrNames, rstrPaths, rlngSelect, vblnAlway, vblnSuggest, vstrVersionString,
                             vstrCreatorVersion, vstrPrompt, rblnAlwayResult);
  }

  void ShowError(std::int32_t number) override { ::ShowError(number); }

  std::wstring LauncherProgram() override { return wintext::ProgramFile().wstring(); }

  std::unique_ptr<launcher::KindMeeting> Meet() override {
    // Files that join while the chooser is open change its prompt's count.
    return std::make_unique<ChooserMeeting>([this](const launcher::ChooserGroup& group) {
      if (select_) select_->SetPrompt(group.Prompt());
    });
  }

 private:
  // Once the pointer has been shown, every later change is shown too (the default pointer after
  // the wait window has gone, above all).
  void ShowPointer() {
    SetCursor(LoadCursorW(nullptr, pointer_ == launcher::kPointerHourglass ? IDC_WAIT : IDC_ARROW));
    pointerShown_ = true;
  }

  std::unique_ptr<frmWait> wait_;
  std::unique_ptr<frmSelect> select_;
  int pointer_ = launcher::kPointerDefault;
  bool pointerShown_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The run reports its own failures; whatever might still reach this far gets the report too,
  // never the system's crash dialog.
  try {
    WindowsHost host;
    return launcher::Main(host);
  } catch (...) {
    try {
      ShowError(err::CurrentErrorNumber());
      return launcher::kExitDone;
    } catch (...) {
      return launcher::kExitUnreported;
    }
  }
}
