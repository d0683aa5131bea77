// What the windows of both programs have in common: one dialog base that owns the window and its
// fonts, lays the controls out from a table in twips at the window's DPI, runs the modal loop and
// calls the window's handlers through one place that reports their failures.
#pragma once

#include <windows.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "win_handle.h"

namespace winform {

// A font by face and size in points; created at the window's DPI.
struct FontSpec {
  const wchar_t* face;
  double points;
};

// The system's Japanese UI font, for controls whose font is not named otherwise.
inline constexpr wchar_t kUiFont[] = L"MS UI Gothic";
inline constexpr double kUiFontPoints = 9.0;
inline constexpr FontSpec kUiFontSpec{kUiFont, kUiFontPoints};

// One row of a window's control table; rows stand in tab order, which is also creation order.
struct Control {
  int id;
  const wchar_t* kind;  // window class: L"BUTTON", L"STATIC", L"EDIT", L"LISTBOX", L"COMBOBOX", L"SysListView32"
  const wchar_t* text;
  DWORD style;                     // WS_CHILD | WS_VISIBLE are added
  int left, top, width, height;    // twips
  const FontSpec* font = nullptr;  // the UI font when none is named
};

// The window itself: its class, styles, client size in twips and controls. Without a class it is a
// dialog of the system's dialog class; a window of its own class (registered with
// winform::WindowProcedure) is a plain window, as a notice that takes no input is.
struct FormSpec {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  int width, height;  // client area, twips
  const Control* controls;
  std::size_t controlCount;
  bool defaultPosition = false;  // where the system puts new windows; otherwise placed by the window
};

// A function of a system library that older systems may lack: null where the library is not
// loaded or has no such function.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
// The same of user32, which every window program has loaded.
template <typename Function>
Function SystemFunction(const char* name) {
  return SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The window procedure of the plain windows that a Dialog runs (FormSpec with a class name).
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The DPI that the window is drawn at: the window's own where the system tells it (Windows 10
// 1607 and later), otherwise the screen's.
int WindowDpi(HWND window);

// Twips to pixels at a DPI.
inline int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// A font of the given face and size in points, at a DPI.
winhandle::Font CreatePointFont(const FontSpec& spec, int dpi);

// Gives a multi-line edit control the face at the largest size up to the one given at which
// `lines` lines fit its box (fonts standing in for the Japanese system font may have taller lines
// than it), and returns that font.
winhandle::Font FitEditFont(HWND edit, const FontSpec& spec, int dpi, int lines);

// The program's icon from its resources (resource 1), at the size given.
HICON ProgramIcon(int size);

void CenterOnScreen(HWND window);
void CenterOnOwner(HWND window, HWND owner);

// A column of a report-view list view, its width in twips.
struct ListColumn {
  const wchar_t* text;
  int width;
};
// The list view's columns at `dpi`: made at the first layout, sized again at each. Throws
// err::AppError when one cannot be made.
void LayOutColumns(HWND list, const ListColumn* columns, std::size_t count, int dpi);

// Runs a function once, at the thread's first idle moment after a window's first painting, so
// that slow work never holds that painting up. Timer messages come only when no other message is
// waiting and nothing is left to paint: the first tick of a thread timer once the window is visible
// follows its first painting. Without a window, the first idle moment of the thread at all, for a
// caller that shows its window before the thread next waits for messages. The function must not
// throw; it never runs once the hook has gone.
class AfterFirstPaint {
 public:
  AfterFirstPaint(HWND shown, std::function<void()> then);
  AfterFirstPaint(const AfterFirstPaint&) = delete;
  AfterFirstPaint& operator=(const AfterFirstPaint&) = delete;
  ~AfterFirstPaint() { Cancel(); }

  // Still to run; false from the start when the system had no timer to give (GetLastError says why).
  bool waiting() const { return timer_ != 0; }

 private:
  void Cancel();
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);

  const HWND shown_;
  std::function<void()> then_;
  UINT_PTR timer_ = 0;
};

class Dialog;

// A part of a window that the dialog base serves beside the window's own handlers, such as a list
// drawn by its owner. It plugs itself into the dialog it belongs to (Dialog::Plug) and lives as long
// as the dialog's window can reach it, as a member of the window's class does.
class Part {
 public:
  // A message of the owner window, offered before the window's own OnMessage; true when the part
  // has handled it.
  virtual bool OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // After the owner has laid out its controls at `dpi`: at creation and when the DPI changes.
  virtual void Layout(HWND owner, int dpi) = 0;
  // The owner window is being destroyed: the part lets go of it.
  virtual void OwnerDestroyed() = 0;

 protected:
  ~Part() = default;
};

// The base of every window of both programs. The object outlives its on-screen window, so that
// the results of a dialog can be read after it has closed; the window and the fonts go at the
// latest with the object.
class Dialog {
 public:
  explicit Dialog(const FormSpec& form) : form_(form) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND window() const { return window_; }
  int dpi() const { return dpi_; }

  // The part takes its messages, layouts and the window's end from now on, in the order plugged.
  void Plug(Part& part) { parts_.push_back(&part); }

 protected:
  // Creates the window hidden, with every control of the table at the window's DPI, and runs
  // Form_Load. Throws err::AppError when the window or one of its controls cannot be created.
  void Create(HWND owner);
  // Shows the window and dispatches messages, with dialog keys (Tab, Enter, Esc, access keys),
  // until the window has closed. The owner, if any, takes no input meanwhile.
  void RunModal();
  // Closes the window. The loop is woken as well, since a close that comes from a message sent by
  // another thread leaves nothing in the queue for it.
  void Close();

  HWND Item(int id) const { return GetDlgItem(window_, id); }
  int Pixels(int twips) const { return winform::Pixels(twips, dpi_); }
  // Gives the window its program icons at its DPI: the large one for Alt+Tab, the small one for
  // the caption.
  void SetProgramIcon();
  // Keeps a font that a window made for itself until the next layout or the window's end.
  HFONT Keep(winhandle::Font font);

  // Runs one handler: every failure in it is shown in the error report and ends the handler only.
  template <typename Handler>
  void Run(Handler&& handler) noexcept {
    try {
      handler();
    } catch (...) {
      ReportCurrentFailure();
    }
  }

  // The window's handlers. Form_Load runs once the controls exist.
  virtual void Form_Load() {}
  virtual void OnCommand(int, int) {}
  virtual void OnTimer(UINT_PTR) {}
  // The close box (and Alt+F4); closes the window unless the window says otherwise.
  virtual void OnClose() { Close(); }
  // After the fonts, controls and parts have been laid out at the window's DPI, at creation and
  // when it changes.
  virtual void OnLayout() {}
  // Any other message that no part has handled; FALSE leaves it to the system.
  virtual INT_PTR OnMessage(UINT, WPARAM, LPARAM) { return FALSE; }
  // Each message of the modal loop, before the dialog keys see it: keys that the window handles
  // whichever control has the focus. True when the window has handled the message.
  virtual bool PreTranslate(const MSG&) { return false; }

 private:
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  // Builds the new window and runs Form_Load; false when the window cannot be built.
  bool Start();
  void Build();
  // Sizes the window, makes the fonts and places the controls at the current DPI.
  void Layout();
  HFONT FontFor(const FontSpec* spec);
  static void ReportCurrentFailure() noexcept;

  const FormSpec& form_;
  int dpi_ = 96;
  // The fonts in use by the controls: the destructor destroys the window before they go.
  std::vector<std::pair<const FontSpec*, winhandle::Font>> fonts_;
  std::vector<winhandle::Font> kept_;
  std::vector<Part*> parts_;
  HWND window_ = nullptr;
  std::exception_ptr buildFailure_;
};

}  // namespace winform
