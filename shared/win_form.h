// What the windows of both programs have in common: controls laid out from tables in twips,
// modeless dialog windows with a modal loop of their own, fonts and the program icon.
#pragma once

#include <windows.h>

#include <cstddef>

namespace winform {

// The system's Japanese UI font, for controls whose font is not named otherwise.
inline constexpr wchar_t kUiFont[] = L"MS UI Gothic";
inline constexpr double kUiFontPoints = 9.0;

// One row of a window's control table; rows stand in tab order, which is also creation order.
struct Control {
  int id;
  const wchar_t* kind;  // window class: L"BUTTON", L"STATIC", L"EDIT", L"LISTBOX"
  const wchar_t* text;
  DWORD style;          // WS_CHILD | WS_VISIBLE are added
  int left, top, width, height;  // twips
};

// Twips to pixels at the window's DPI.
int Pixels(HWND window, int twips);

// A dialog window with no controls yet, created hidden; `self` reaches the procedure's
// WM_INITDIALOG as lParam.
HWND CreateEmptyDialog(HWND owner, DWORD style, DWORD exStyle, DLGPROC procedure, void* self);

// Sizes the window so that its client area is `width` x `height` twips.
void SetClientSize(HWND window, int width, int height);

// Creates the controls in the table's order with the font given.
void CreateControls(HWND parent, const Control* controls, std::size_t count, HFONT font);
template <std::size_t N>
void CreateControls(HWND parent, const Control (&controls)[N], HFONT font) {
  CreateControls(parent, controls, N, font);
}

void CenterOnScreen(HWND window);
void CenterOnOwner(HWND window, HWND owner);

// Closes a window shown by RunModal. The loop is woken as well, since a close that comes from a
// message sent by another thread leaves nothing in the queue for it.
void CloseModal(HWND window);

// Shows the window and dispatches messages, with dialog keys (Tab, Enter, Esc, access keys),
// until the window has been destroyed. The owner, if any, takes no input meanwhile.
void RunModal(HWND window);

// A font of the given face and size in points, at the window's DPI.
HFONT CreatePointFont(HWND window, const wchar_t* face, double points);

// Gives a multi-line edit control the face at the largest size up to `points` at which `lines`
// lines fit its box (fonts standing in for the Japanese system font may have taller lines than
// it), and returns that font.
HFONT FitEditFont(HWND edit, const wchar_t* face, double points, int lines);

// The program's icon from its resources (resource 1), at the size given.
HICON ProgramIcon(int size);

// Gives the window its icons: 32 x 32 for Alt+Tab, the small one for the caption.
void SetProgramIcon(HWND window);

// The object that a dialog procedure belongs to: kept from WM_INITDIALOG on.
template <typename T>
T* Self(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return reinterpret_cast<T*>(lParam);
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, DWLP_USER));
}

}  // namespace winform
