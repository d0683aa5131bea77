#include "frm_select.h"

#include <imm.h>

#include <string>

#include "chooser_keys.h"
#include "chooser_suggestion.h"
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

// The rows show the programs' numbers and icons: drawn by the dialog, their strings the names.
constexpr DWORD kList =
    WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

const winform::Control kControls[] = {
    {kSelectNames, L"LISTBOX", L"", kList, 480, 1620, 5175, 3300},
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

// Nothing in the dialog takes typed text: the input method is kept off, so that the digit keys
// reach the dialog as digits even for a user who keeps it on. imm32 comes with user32 wherever
// there is an input method; where it is not loaded there is none to turn off.
void TurnOffInputMethod(HWND window) {
  using AssociateFunction = BOOL(WINAPI*)(HWND, HIMC, DWORD);
  const auto associate =
      winform::SystemFunction<AssociateFunction>(GetModuleHandleW(L"imm32.dll"), "ImmAssociateContextEx");
  if (associate) associate(window, nullptr, IACE_CHILDREN);
}

}  // namespace

frmSelect::frmSelect()
    : Dialog(kForm),
      lstName(*this, kSelectNames, winform::IconList::Numbers::kFirstNine, kMissingMark,
              winform::IconList::Versions::kRead) {
  lstName.OnAllChecked([this] { lstName_Checked(); });
}

bool frmSelect::ShowEdit(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths,
                         std::int32_t& rlngSelect, bool vblnAlway, bool vblnSuggest,
                         const std::wstring& vstrVersionString, const std::wstring& vstrCreatorVersion,
                         const std::wstring& vstrPrompt, bool& rblnAlwayResult) {
  // The first row is selected when the dialog opens, so a list without rows cannot be shown.
  if (rstrNames.empty()) throw err::AppError(err::kNoApplications);
  mblnCancel = true;
  mlngSelect = 0;
  mblnAlwayResult = false;
  mblnSuggest = vblnSuggest;
  mstrVersionString = vstrVersionString;
  mstrCreatorVersion = vstrCreatorVersion;
  mblnUserMoved = false;
  mblnSuggested = false;
  Create(nullptr);
  SendDlgItemMessageW(window(), kSelectAlways, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(Item(kSelectAlways), vblnAlway);
  SetDlgItemTextW(window(), kSelectVersionString, vstrVersionString.c_str());
  SetDlgItemTextW(window(), kSelectCreatorVersion, vstrCreatorVersion.c_str());
  SetDlgItemTextW(window(), kSelectPrompt, vstrPrompt.c_str());
  FillNameList(rstrNames, rstrPaths);
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

void frmSelect::OnCommand(int id, int code) {
  if (id == kSelectNames && code == LBN_SELCHANGE) mblnUserMoved = true;
  if (id == IDOK) cmdOk_Click();
  if (id == IDCANCEL) cmdCancel_Click();
}

void frmSelect::OnTimer(UINT_PTR timer) {
  if (timer == kStartTimer) tmrStart_Timer();
}

bool frmSelect::PreTranslate(const MSG& message) {
  // A click in the list, or a key that moves in it, is a choice even where the selection stays.
  if (message.hwnd == lstName.window() &&
      (message.message == WM_LBUTTONDOWN ||
       (message.message == WM_KEYDOWN && launcher::ChoosesInList(static_cast<unsigned>(message.wParam))))) {
    mblnUserMoved = true;
  }
  if (message.message != WM_KEYDOWN || (message.hwnd != window() && !IsChild(window(), message.hwnd))) return false;
  const int digit = launcher::ChooserDigit(static_cast<unsigned>(message.wParam), GetKeyState(VK_CONTROL) < 0,
                                           GetKeyState(VK_MENU) < 0);
  if (!digit) return false;
  const int row = launcher::RowOfDigit(digit, lstName.count());
  if (row >= 0) {
    SendMessageW(lstName.window(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    cmdOk_Click();
  }
  // A digit without its row does nothing: it does not search the list for a name either.
  return true;
}

void frmSelect::Form_Load() {
  const std::wstring caption = std::wstring(kApplicationTitle) + L" " + std::to_wstring(VARNOCK_VERSION_MAJOR) + L"." +
                               std::to_wstring(VARNOCK_VERSION_MINOR);
  SetWindowTextW(window(), caption.c_str());
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
  TurnOffInputMethod(window());
}

void frmSelect::FillNameList(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths) {
  lstName.Clear();
  for (std::size_t i = 0; i < rstrNames.size(); ++i) {
    // A name without a path has no program to start: it is shown as one that has gone.
    lstName.Insert(static_cast<int>(i), rstrNames[i], i < rstrPaths.size() ? rstrPaths[i] : std::wstring());
  }
  if (SendMessageW(lstName.window(), LB_SETCURSEL, 0, 0) == LB_ERR) throw err::AppError(err::kNoApplications);
  SetFocus(lstName.window());
}

void frmSelect::tmrStart_Timer() {
  // One tick only: lift the dialog above other windows once, then back into the normal band.
  KillTimer(window(), kStartTimer);
  SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetWindowPos(window(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void frmSelect::lstName_Checked() {
  if (mblnSuggested) return;
  mblnSuggested = true;
  const launcher::ChooserSuggestion suggestion = launcher::SuggestionOfChooser(
      mblnSuggest, mstrVersionString, mstrCreatorVersion, lstName.ProgramVersions(), lstName.Gone(), mblnUserMoved);
  if (suggestion.row < 0) return;
  lstName.SetNote(suggestion.row, kMadeMark);
  if (suggestion.select) SendMessageW(lstName.window(), LB_SETCURSEL, static_cast<WPARAM>(suggestion.row), 0);
}

void frmSelect::cmdOk_Click() {
  mblnCancel = false;
  mlngSelect = static_cast<std::int32_t>(SendDlgItemMessageW(window(), kSelectNames, LB_GETCURSEL, 0, 0)) + 1;
  mblnAlwayResult = SendDlgItemMessageW(window(), kSelectAlways, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  Close();
}

void frmSelect::cmdCancel_Click() { Close(); }
