#include "frm_wait.h"

#include "error.h"
#include "launcher_win.h"
#include "win_form.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;

constexpr wchar_t kClassName[] = L"VarnockWait";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_BORDER;

const winform::Control kControls[] = {
    {kWaitLabel1, L"STATIC", L"以下のファイルを分析中...", SS_LEFT, 360, 480, 5295, 255},
    // One line high: whatever of the path does not fit stays unseen, without an ellipsis.
    {kWaitFile, L"STATIC", L"Label2", SS_LEFT, 360, 1080, 5415, 255},
};

void RepaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

void frmWait::Create() {
  if (window_) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_WAIT);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  windowClass.hIcon = winform::ProgramIcon(32);
  windowClass.hIconSm = winform::ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"Form1", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw err::AppError(err::FromSystemError(GetLastError()));
  Form_Load();
}

void frmWait::Form_Load() {
  SetWindowTextW(window_, kApplicationTitle);
  winform::SetClientSize(window_, 6090, 2040);
  font_ = winform::CreatePointFont(window_, winform::kUiFont, winform::kUiFontPoints);
  winform::CreateControls(window_, kControls, font_);
  RepaintNow(window_);
}

void frmWait::ShowEdit(const std::wstring& strFile) {
  Create();
  if (!strFile.empty()) SetDlgItemTextW(window_, kWaitFile, strFile.c_str());
  ShowWindow(window_, SW_SHOWNORMAL);
  RepaintNow(window_);
  // The caller blocks reading the file next; let the window system take in what was drawn.
  GdiFlush();
}

void frmWait::Close() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
}
