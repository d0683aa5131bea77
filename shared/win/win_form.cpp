#include "win_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "error.h"

namespace winform {
namespace {

// The controls in the visual styles of Common Controls 6, which the manifest asks for. The library
// is loaded with the first window, not when the program starts: loading it brings the display
// driver along, which a launcher that opens a registered file without any window never needs.
// Where it cannot be had, the system's own classes draw the controls, plainer but whole.
void UseVisualStyles() {
  static const winhandle::Module library(LoadLibraryW(L"comctl32.dll"));
  static const bool initialised = [] {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = SystemFunction<InitFunction>(library.get(), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX styles{sizeof styles, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    return init && init(&styles);
  }();
  static_cast<void>(initialised);
}

// The per-window DPI functions exist from Windows 10 1607 on; on older systems the screen's DPI
// is the window's.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

void CenterIn(HWND window, const RECT& area) {
  RECT frame;
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A template of the system's dialog class with no items, no menu and no title: the controls come
// from the window's table.
std::vector<WORD> EmptyTemplate(const FormSpec& form) {
  constexpr std::size_t kHeaderWords = sizeof(DLGTEMPLATE) / sizeof(WORD);
  std::vector<WORD> words(kHeaderWords, 0);
  DLGTEMPLATE header{};
  header.style = form.style & ~WS_VISIBLE;
  header.dwExtendedStyle = form.exStyle;
  if (form.defaultPosition) header.x = static_cast<short>(0x8000);  // CW_USEDEFAULT in a template
  memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  words.push_back(0);  // no title
  return words;
}

// The hooks of this thread that are still to run: a thread timer's tick names only its timer.
thread_local std::vector<AfterFirstPaint*> waitingHooks;

}  // namespace

AfterFirstPaint::AfterFirstPaint(HWND shown, std::function<void()> then) : shown_(shown), then_(std::move(then)) {
  waitingHooks.push_back(this);
  timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
  if (!timer_) waitingHooks.pop_back();
}

void AfterFirstPaint::Cancel() {
  if (!timer_) return;
  KillTimer(nullptr, timer_);
  timer_ = 0;
  waitingHooks.erase(std::find(waitingHooks.begin(), waitingHooks.end(), this));
}

void CALLBACK AfterFirstPaint::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  const auto hook = std::find_if(waitingHooks.begin(), waitingHooks.end(),
                                 [&](const AfterFirstPaint* h) { return h->timer_ == timer; });
  if (hook == waitingHooks.end()) return;
  AfterFirstPaint& self = **hook;
  if (self.shown_ && !IsWindowVisible(self.shown_)) return;  // not shown yet: the painting is still to come
  self.Cancel();
  self.then_();
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  const winhandle::WindowDc dc(window);
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

winhandle::Font CreatePointFont(const FontSpec& spec, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(spec.points * dpi / 72.0));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  wcsncpy(font.lfFaceName, spec.face, LF_FACESIZE - 1);
  winhandle::Font created(CreateFontIndirectW(&font));
  if (!created) throw err::AppError(err::kOutOfMemory);
  return created;
}

winhandle::Font FitEditFont(HWND edit, const FontSpec& spec, int dpi, int lines) {
  for (double size = spec.points;; size -= 0.5) {
    winhandle::Font font = CreatePointFont({spec.face, size}, dpi);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    RECT box{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&box));
    const auto secondLine = SendMessageW(edit, EM_LINEINDEX, 1, 0);
    const int lineHeight =
        HIWORD(SendMessageW(edit, EM_POSFROMCHAR, secondLine, 0)) - HIWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
    if (lineHeight * lines <= box.bottom - box.top || size <= spec.points / 2) return font;
    SendMessageW(edit, WM_SETFONT, 0, FALSE);
  }
}

HICON ProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

void CenterOnScreen(HWND window) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CenterIn(window, work);
}

void LayOutColumns(HWND list, const ListColumn* columns, std::size_t count, int dpi) {
  for (int i = 0; i < static_cast<int>(count); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(columns[i].text);
    column.cx = Pixels(columns[i].width, dpi);
    if (SendMessageW(list, LVM_SETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) continue;
    if (SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column)) < 0) {
      throw err::AppError(err::kOutOfMemory);
    }
  }
}

void CenterOnOwner(HWND window, HWND owner) {
  RECT area;
  if (!owner || !GetWindowRect(owner, &area)) return CenterOnScreen(window);
  CenterIn(window, area);
}

Dialog::~Dialog() {
  if (!window_) return;
  // Nothing reaches the handlers of an object that is going; the owner takes input again.
  SetWindowLongPtrW(window_, form_.className ? GWLP_USERDATA : DWLP_USER, 0);
  if (HWND owner = GetWindow(window_, GW_OWNER)) EnableWindow(owner, TRUE);
  DestroyWindow(window_);
}

void Dialog::Create(HWND owner) {
  UseVisualStyles();
  buildFailure_ = nullptr;
  HWND created = nullptr;
  if (form_.className) {
    const int position = form_.defaultPosition ? CW_USEDEFAULT : 0;
    created = CreateWindowExW(form_.exStyle, form_.className, L"", form_.style & ~WS_VISIBLE, position, position, 0, 0,
                              owner, nullptr, GetModuleHandleW(nullptr), this);
  } else {
    const std::vector<WORD> empty = EmptyTemplate(form_);
    created = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(empty.data()),
                                         owner, Procedure, reinterpret_cast<LPARAM>(this));
  }
  if (!created) {
    if (buildFailure_) std::rethrow_exception(buildFailure_);
    throw err::AppError(err::FromSystemError(GetLastError()));
  }
  if (buildFailure_) {
    DestroyWindow(created);
    std::rethrow_exception(buildFailure_);
  }
}

bool Dialog::Start() {
  try {
    Build();
  } catch (...) {
    buildFailure_ = std::current_exception();
    return false;
  }
  Run([&] { Form_Load(); });
  return true;
}

void Dialog::Build() {
  dpi_ = WindowDpi(window_);
  for (std::size_t i = 0; i < form_.controlCount; ++i) {
    const Control& c = form_.controls[i];
    const bool sunken =
        wcscmp(c.kind, L"LISTBOX") == 0 || wcscmp(c.kind, L"EDIT") == 0 || wcscmp(c.kind, WC_LISTVIEWW) == 0;
    const DWORD exStyle = sunken ? WS_EX_CLIENTEDGE : 0;
    HWND control =
        CreateWindowExW(exStyle, c.kind, c.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | c.style, Pixels(c.left),
                        Pixels(c.top), Pixels(c.width), Pixels(c.height), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
    if (!control) throw err::AppError(err::FromSystemError(GetLastError()));
  }
  RECT client{0, 0, Pixels(form_.width), Pixels(form_.height)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  static const auto adjustForDpi = SystemFunction<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (!adjustForDpi || !adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi_))) {
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
  }
  SetWindowPos(window_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

HFONT Dialog::FontFor(const FontSpec* spec) {
  if (!spec) spec = &kUiFontSpec;
  for (const auto& [made, font] : fonts_) {
    if (made == spec) return font.get();
  }
  fonts_.emplace_back(spec, CreatePointFont(*spec, dpi_));
  return fonts_.back().second.get();
}

void Dialog::Layout() {
  // The fonts in use go only once every control has its new one.
  auto oldFonts = std::move(fonts_);
  auto oldKept = std::move(kept_);
  fonts_.clear();
  kept_.clear();
  for (std::size_t i = 0; i < form_.controlCount; ++i) {
    const Control& c = form_.controls[i];
    HWND control = Item(c.id);
    SetWindowPos(control, nullptr, Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), TRUE);
  }
  SetProgramIcon();
  for (Part* part : parts_) part->Layout(window_, dpi_);
  OnLayout();
}

void Dialog::SetProgramIcon() {
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(MulDiv(32, dpi_, 96))));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(MulDiv(16, dpi_, 96))));
}

HFONT Dialog::Keep(winhandle::Font font) {
  kept_.push_back(std::move(font));
  return kept_.back().get();
}

void Dialog::RunModal() {
  HWND owner = GetWindow(window_, GW_OWNER);
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  ShowWindow(window_, SW_SHOWNORMAL);
  MSG message;
  while (window_ && IsWindow(window_)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave the quit for the outer loop
      break;
    }
    if (got < 0) break;
    bool handled = false;
    Run([&] { handled = PreTranslate(message); });
    if (handled) continue;
    if (!window_ || !IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (ownerEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

void Dialog::Close() {
  if (!window_) return;
  // The owner takes input again before the window goes, so that the system hands the activation
  // back to it rather than to another program's window.
  if (HWND owner = GetWindow(window_, GW_OWNER)) EnableWindow(owner, TRUE);
  DestroyWindow(window_);
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

void Dialog::ReportCurrentFailure() noexcept {
  try {
    ShowError(err::CurrentErrorNumber());
  } catch (...) {
    // The report itself failed (no memory left for its text): nothing more can be shown.
  }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Dialog*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_CREATE) return self->Start() ? 0 : -1;
  const bool last = message == WM_NCDESTROY;
  if (last) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (self->Dispatch(message, wParam, lParam) && !last) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->Dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!Start()) return FALSE;
      // TRUE gives the focus to the first control, unless Form_Load has placed it.
      return IsChild(window_, GetFocus()) ? FALSE : TRUE;
    case WM_COMMAND: Run([&] { OnCommand(LOWORD(wParam), HIWORD(wParam)); }); return TRUE;
    case WM_TIMER: Run([&] { OnTimer(wParam); }); return TRUE;
    case WM_CLOSE: Run([&] { OnClose(); }); return TRUE;
    case WM_DPICHANGED:
      // Moved to a monitor of another DPI: laid out again, in the rectangle the system suggests.
      Run([&] {
        dpi_ = HIWORD(wParam);
        Layout();
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      });
      return TRUE;
    case WM_DESTROY:
      for (Part* part : parts_) part->OwnerDestroyed();
      return OnMessage(message, wParam, lParam);
    case WM_NCDESTROY:
      window_ = nullptr;
      kept_.clear();
      fonts_.clear();
      return FALSE;
    default:
      for (Part* part : parts_) {
        if (part->OnMessage(window_, message, wParam, lParam)) return TRUE;
      }
      return OnMessage(message, wParam, lParam);
  }
}

}  // namespace winform
