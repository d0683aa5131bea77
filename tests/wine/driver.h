// What the tests of the real programs use: sandboxes beside copies of the programs, starting them
// with an exact command line, finding their windows and message boxes, pressing buttons and keys.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win_handle.h"

namespace drive {

namespace fs = std::filesystem;

std::string ToUtf8(const std::wstring& wide);
std::wstring FromUtf8(const std::string& utf8);
std::string ToAnsi(const std::wstring& wide);

// A path in double quotes, as on a command line.
inline std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// The folder that holds the driver and the programs under test.
fs::path BinFolder();
// The EPS corpus (set by the test script), empty when unknown.
fs::path CorpusFolder();

// A fresh folder for one test, removed afterwards; the programs are copied into it so that their
// INI files are the sandbox's own.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  const fs::path& folder() const { return folder_; }
  fs::path Path(const std::wstring& relative) const { return folder_ / relative; }
  fs::path Put(const std::wstring& relative, const std::string& bytes) const;
  std::string Read(const std::wstring& relative) const;
  bool Exists(const std::wstring& relative) const { return fs::exists(Path(relative)); }
  // Copies a program from the bin folder to `relative` in the sandbox.
  fs::path Install(const std::wstring& program, const std::wstring& relative) const;
  // The command lines a recorder in `folderRelative` received, one per start, once at least
  // `count` have arrived (or the time is up).
  std::vector<std::wstring> Recorded(const std::wstring& folderRelative, std::size_t count = 1) const;

 private:
  fs::path folder_;
};

class Process {
 public:
  Process(const fs::path& program, const std::wstring& commandLine);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  DWORD id() const { return id_; }
  // Waits for the end; false on a time-out.
  bool Ended(DWORD milliseconds = 15000);
  DWORD ExitCode() const;
  bool Running() const;
  // Stops and resumes the program's main thread, to look at its windows while it works.
  void Suspend() const { SuspendThread(thread_.get()); }
  void Resume() const { ResumeThread(thread_.get()); }

 private:
  winhandle::KernelHandle process_;
  winhandle::KernelHandle thread_;
  DWORD id_ = 0;
};

// Starts a program by its Unix path through Wine's loader, which is how Wine starts a program
// whose Windows path is over 260 characters (CreateProcessW refuses it). No handle comes back: the
// program is known by its windows and what it leaves behind. False when it could not be started.
bool StartThroughWineLoader(const fs::path& program, const std::wstring& tail);

// The visible top-level windows of a process (of any process for 0).
std::vector<HWND> Windows(DWORD processId);
// Waits for a visible window of the process that satisfies the test.
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& test, DWORD milliseconds = 15000);
HWND WaitForCaption(DWORD processId, const std::wstring& caption, DWORD milliseconds = 15000);

// Waits until the condition holds, looking every 20 ms; false when the time is up.
template <typename Condition>
bool Eventually(Condition condition, DWORD milliseconds = 15000) {
  for (const ULONGLONG end = GetTickCount64() + milliseconds; !condition(); Sleep(20)) {
    if (GetTickCount64() > end) return false;
  }
  return true;
}
// Waits until the window has been destroyed.
inline bool Closed(HWND window, DWORD milliseconds = 15000) {
  return Eventually([&] { return !IsWindow(window); }, milliseconds);
}
// The strings of the list box `id` of a window, row by row.
std::vector<std::wstring> ListBoxRows(HWND dialog, int id);

// The current text of a window or control, asked of its thread.
std::wstring Text(HWND window);
// The text as the window system keeps it, without asking the window's thread (which may be busy);
// current for captions and labels, not for edit controls.
std::wstring Caption(HWND window);
std::wstring ClassOf(HWND window);

struct MessageBoxView {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  bool icon = false;
  std::vector<std::wstring> buttons;
};
// Waits for a message box of the process.
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, DWORD milliseconds = 15000);

// Pixels as the colours GetSysColor gives, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
// A rectangle of a window's client area as the screen shows it.
Picture OnScreen(HWND window, const RECT& area);
// An icon drawn at `size` on `background`, as a window draws it (DrawIconEx).
Picture DrawnIcon(HICON icon, int size, COLORREF background);
// Where `part` appears in `whole` (each colour channel within `tolerance`); x -1 where it does not.
POINT Find(const Picture& whole, const Picture& part, int tolerance = 8);

// Presses a button as a click would.
void Click(HWND button);
void ClickId(HWND dialog, int id);
// Sends a key press to the control that has the focus in the window's thread.
void PressKey(HWND window, UINT key);
// The control that has the focus in the window's thread.
HWND Focus(HWND window);

}  // namespace drive
