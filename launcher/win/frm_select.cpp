#include "frm_select.h"

#include <string>

#include "error.h"
#include "launcher_win.h"
#include "win_form.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;

constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 100;

const winform::Control kControls[] = {
    {kSelectNames, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 480, 1620, 5175, 3300},
    {kSelectAlways, L"BUTTON", L"この種類のファイルは常にこのソフトで開く", WS_TABSTOP | BS_AUTOCHECKBOX, 480, 5160, 3855, 375},
    {IDOK, L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 2520, 5760, 1455, 375},
    {kSelectPrompt, L"STATIC", L"・・・・・・・・・・・のバージョンの判別ができませんでした。起動するバージョンを選択してください。",
     SS_LEFT, 480, 1020, 5175, 495},
    {IDCANCEL, L"BUTTON", L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, 4200, 5760, 1455, 375},
    {kSelectVersionString, L"EDIT", L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 1800, 120, 3855, 270},
    {kSelectLabel1, L"STATIC", L"ファイルの形式", SS_LEFT, 480, 180, 4935, 255},
    {kSelectCreatorVersion, L"EDIT", L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 2280, 480, 3375, 270},
    {kSelectLabel2, L"STATIC", L"作成ソフトバージョン", SS_LEFT, 480, 540, 1815, 255},
};

}  // namespace

bool frmSelect::ShowEdit(const std::vector<std::wstring>& rstrNames, std::int32_t& rlngSelect, bool vblnAlway,
                         const std::wstring& vstrVersionString, const std::wstring& vstrCreatorVersion,
                         const std::wstring& vstrPrompt, bool& rblnAlwayResult) {
  // The first row is selected when the dialog opens, so a list without rows cannot be shown.
  if (rstrNames.empty()) throw err::AppError(err::kNoApplications);
  mblnCancel = true;
  mlngSelect = 0;
  mblnAlwayResult = false;
  window_ = winform::CreateEmptyDialog(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, WS_EX_APPWINDOW,
                                       Procedure, this);
  if (!window_) throw err::AppError(err::FromSystemError(GetLastError()));
  SendDlgItemMessageW(window_, kSelectAlways, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(Item(kSelectAlways), vblnAlway);
  SetDlgItemTextW(window_, kSelectVersionString, vstrVersionString.c_str());
  SetDlgItemTextW(window_, kSelectCreatorVersion, vstrCreatorVersion.c_str());
  SetDlgItemTextW(window_, kSelectPrompt, vstrPrompt.c_str());
  try {
    FillNameList(rstrNames);
  } catch (...) {
    DestroyWindow(window_);
    Release();
    throw;
  }
  SetTimer(window_, kStartTimer, kStartDelayMs, nullptr);
  winform::CenterOnScreen(window_);
  winform::RunModal(window_);
  Release();
  rlngSelect = mlngSelect;
  rblnAlwayResult = mblnAlwayResult;
  return !mblnCancel;
}

void frmSelect::Release() {
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  window_ = nullptr;
}

INT_PTR CALLBACK frmSelect::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmSelect* self = winform::Self<frmSelect>(window, message, lParam);
  if (!self) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = window;
      self->Form_Load();
      return TRUE;
    case WM_TIMER:
      if (wParam == kStartTimer) self->tmrStart_Timer();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) self->cmdOk_Click();
      if (LOWORD(wParam) == IDCANCEL) self->cmdCancel_Click();
      return TRUE;
    case WM_CLOSE:
      self->cmdCancel_Click();
      return TRUE;
    default:
      return FALSE;
  }
}

void frmSelect::Form_Load() {
  try {
    const std::wstring caption = std::wstring(kApplicationTitle) + L" " + std::to_wstring(kVersionMajor) + L"." +
                                 std::to_wstring(kVersionMinor);
    SetWindowTextW(window_, caption.c_str());
    winform::SetProgramIcon(window_);
    winform::SetClientSize(window_, 6195, 6390);
    font_ = winform::CreatePointFont(window_, winform::kUiFont, winform::kUiFontPoints);
    winform::CreateControls(window_, kControls, font_);
    SendMessageW(window_, DM_SETDEFID, IDOK, 0);
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
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
  KillTimer(window_, kStartTimer);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void frmSelect::cmdOk_Click() {
  mblnCancel = false;
  mlngSelect = static_cast<std::int32_t>(SendDlgItemMessageW(window_, kSelectNames, LB_GETCURSEL, 0, 0)) + 1;
  mblnAlwayResult = SendDlgItemMessageW(window_, kSelectAlways, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  winform::CloseModal(window_);
}

void frmSelect::cmdCancel_Click() { winform::CloseModal(window_); }
