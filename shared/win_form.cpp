#include "win_form.h"

#include <cmath>

namespace winform {
namespace {

int WindowDpi(HWND window) {
  HDC dc = GetDC(window);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(window, dc);
  return dpi > 0 ? dpi : 96;
}

void CenterIn(HWND window, const RECT& area) {
  RECT frame;
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int Pixels(HWND window, int twips) { return MulDiv(twips, WindowDpi(window), 1440); }

HWND CreateEmptyDialog(HWND owner, DWORD style, DWORD exStyle, DLGPROC procedure, void* self) {
  // A template with no items: menu, class and title are each an empty WORD.
  struct alignas(4) {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } empty{};
  empty.header.style = style & ~WS_VISIBLE;
  empty.header.dwExtendedStyle = exStyle;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &empty.header, owner, procedure,
                                    reinterpret_cast<LPARAM>(self));
}

void SetClientSize(HWND window, int width, int height) {
  RECT rect{0, 0, Pixels(window, width), Pixels(window, height)};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateControls(HWND parent, const Control* controls, std::size_t count, HFONT font) {
  for (std::size_t i = 0; i < count; ++i) {
    const Control& c = controls[i];
    const DWORD exStyle = wcscmp(c.kind, L"LISTBOX") == 0 || wcscmp(c.kind, L"EDIT") == 0 ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExW(exStyle, c.kind, c.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | c.style,
                                   Pixels(parent, c.left), Pixels(parent, c.top), Pixels(parent, c.width),
                                   Pixels(parent, c.height), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void CenterOnScreen(HWND window) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CenterIn(window, work);
}

void CenterOnOwner(HWND window, HWND owner) {
  RECT area;
  if (!owner || !GetWindowRect(owner, &area)) return CenterOnScreen(window);
  CenterIn(window, area);
}

void CloseModal(HWND window) {
  // The owner takes input again before the window goes, so that the system hands the activation
  // back to it rather than to another program's window.
  if (HWND owner = GetWindow(window, GW_OWNER)) EnableWindow(owner, TRUE);
  DestroyWindow(window);
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

void RunModal(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave the quit for the outer loop
      break;
    }
    if (got < 0) break;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (ownerEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

HFONT CreatePointFont(HWND window, const wchar_t* face, double points) {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(points * WindowDpi(window) / 72.0));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

HFONT FitEditFont(HWND edit, const wchar_t* face, double points, int lines) {
  HFONT font = nullptr;
  for (double size = points;; size -= 0.5) {
    font = CreatePointFont(edit, face, size);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT box{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&box));
    const auto secondLine = SendMessageW(edit, EM_LINEINDEX, 1, 0);
    const int lineHeight = HIWORD(SendMessageW(edit, EM_POSFROMCHAR, secondLine, 0)) -
                           HIWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
    if (lineHeight * lines <= box.bottom - box.top || size <= points / 2) break;
    SendMessageW(edit, WM_SETFONT, 0, FALSE);
    DeleteObject(font);
  }
  return font;
}

HICON ProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size,
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

void SetProgramIcon(HWND window) {
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(32)));
  SendMessageW(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(GetSystemMetrics(SM_CXSMICON))));
}

}  // namespace winform
