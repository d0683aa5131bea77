#include "frm_wait.h"

#include "launcher_texts.h"
#include "launcher_win.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;

constexpr wchar_t kClassName[] = L"VarnockWait";

const winform::Control kControls[] = {
    {kWaitLabel1, L"STATIC", launcher_texts::kWaitAnalysing, SS_LEFT, 360, 480, 5295, 255},
    // One line high: whatever of the path does not fit stays unseen, without an ellipsis.
    {kWaitFile, L"STATIC", launcher_texts::kWaitDesignFile, SS_LEFT, 360, 1080, 5415, 255},
};

// A plain window of its own class, so that it shows the hourglass and can be told from the dialogs.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{kClassName, kStyle, WS_EX_APPWINDOW, 6090, 2040, kControls, std::size(kControls), true};

void RegisterWaitClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = winform::WindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_WAIT);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  windowClass.hIcon = winform::ProgramIcon(32);
  windowClass.hIconSm = winform::ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  RegisterClassExW(&windowClass);
}

void RepaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

frmWait::frmWait() : Dialog(kForm) {}

void frmWait::Form_Load() {
  SetWindowTextW(window(), kApplicationTitle);
  RepaintNow(window());
}

void frmWait::ShowEdit(const std::wstring& strFile) {
  if (!window()) {
    RegisterWaitClass();
    Create(nullptr);
  }
  if (!strFile.empty()) SetDlgItemTextW(window(), kWaitFile, strFile.c_str());
  ShowWindow(window(), SW_SHOWNORMAL);
  RepaintNow(window());
  // The caller blocks reading the file next; let the window system take in what was drawn.
  GdiFlush();
}
