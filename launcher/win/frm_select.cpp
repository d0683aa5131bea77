#include "frm_select.h"

#include <string>

#include "error.h"
#include "launcher_texts.h"
#include "launcher_win.h"
#include "version.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;
using namespace launcher_texts;

constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 100;

const winform::Control kControls[] = {
    {kSelectNames, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 480, 1620, 5175, 3300},
    {kSelectAlways, L"BUTTON", kSelectAlwaysText, WS_TABSTOP | BS_AUTOCHECKBOX, 480, 5160, 3855, 375},
    {IDOK, L"BUTTON", kSelectOk, WS_TABSTOP | BS_DEFPUSHBUTTON, 2520, 5760, 1455, 375},
    {kSelectPrompt, L"STATIC", kSelectDesignPrompt, SS_LEFT, 480, 1020, 5175, 495},
    {IDCANCEL, L"BUTTON", kSelectCancel, WS_TABSTOP | BS_PUSHBUTTON, 4200, 5760, 1455, 375},
    {kSelectVersionString, L"EDIT", L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 1800, 120, 3855, 270},
    {kSelectLabel1, L"STATIC", kSelectFormatLabel, SS_LEFT, 480, 180, 4935, 255},
    {kSelectCreatorVersion, L"EDIT", L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 2280, 480, 3375, 270},
    {kSelectLabel2, L"STATIC", kSelectVersionLabel, SS_LEFT, 480, 540, 1815, 255},
};

// A fixed single border and a close box, with a taskbar button of its own.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, WS_EX_APPWINDOW, 6195, 6390, kControls, std::size(kControls)};

}  // namespace

frmSelect::frmSelect() : Dialog(kForm) {}

bool frmSelect::ShowEdit(const std::vector<std::wstring>& rstrNames, std::int32_t& rlngSelect, bool vblnAlway,
                         const std::wstring& vstrVersionString, const std::wstring& vstrCreatorVersion,
                         const std::wstring& vstrPrompt, bool& rblnAlwayResult) {
  // The first row is selected when the dialog opens, so a list without rows cannot be shown.
  if (rstrNames.empty()) throw err::AppError(err::kNoApplications);
  mblnCancel = true;
  mlngSelect = 0;
  mblnAlwayResult = false;
  Create(nullptr);
  SendDlgItemMessageW(window(), kSelectAlways, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(Item(kSelectAlways), vblnAlway);
  SetDlgItemTextW(window(), kSelectVersionString, vstrVersionString.c_str());
  SetDlgItemTextW(window(), kSelectCreatorVersion, vstrCreatorVersion.c_str());
  SetDlgItemTextW(window(), kSelectPrompt, vstrPrompt.c_str());
  FillNameList(rstrNames);
  SetTimer(window(), kStartTimer, kStartDelayMs, nullptr);
  winform::CenterOnScreen(window());
  RunModal();
  rlngSelect = mlngSelect;
  rblnAlwayResult = mblnAlwayResult;
  return !mblnCancel;
}

void frmSelect::SetPrompt(const std::wstring& vstrPrompt) {
  if (window()) SetDlgItemTextW(window(), kSelectPrompt, vstrPrompt.c_str());
}

void frmSelect::OnCommand(int id, int) {
  if (id == IDOK) cmdOk_Click();
  if (id == IDCANCEL) cmdCancel_Click();
}

void frmSelect::OnTimer(UINT_PTR timer) {
  if (timer == kStartTimer) tmrStart_Timer();
}

void frmSelect::Form_Load() {
  const std::wstring caption = std::wstring(kApplicationTitle) + L" " + std::to_wstring(VARNOCK_VERSION_MAJOR) + L"." +
                               std::to_wstring(VARNOCK_VERSION_MINOR);
  SetWindowTextW(window(), caption.c_str());
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
}

void frmSelect::FillNameList(const std::vector<std::wstring>& rstrNames) {
  HWND list = Item(kSelectNames);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& name : rstrNames) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  if (SendMessageW(list, LB_SETCURSEL, 0, 0) == LB_ERR) throw err::AppError(err::kNoApplications);
  SetFocus(list);
}

void frmSelect::tmrStart_Timer() {
  // One tick only: lift the dialog above other windows once, then back into the normal band.
  KillTimer(window(), kStartTimer);
  SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetWindowPos(window(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void frmSelect::cmdOk_Click() {
  mblnCancel = false;
  mlngSelect = static_cast<std::int32_t>(SendDlgItemMessageW(window(), kSelectNames, LB_GETCURSEL, 0, 0)) + 1;
  mblnAlwayResult = SendDlgItemMessageW(window(), kSelectAlways, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  Close();
}

void frmSelect::cmdCancel_Click() { Close(); }
