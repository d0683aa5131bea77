#include "frm_link_edit.h"

#include "editor_texts.h"
#include "editor_win.h"
#include "error.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr DWORD kTextBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

const winform::Control kControls[] = {
    {kLinkEditLabel1, L"STATIC", editor_texts::kLinkEditCreatorLabel, SS_LEFT, 240, 300, 2040, 255},
    {kLinkEditCreator, L"EDIT", L"", kTextBox, 2400, 240, 5040, 315},
    {kLinkEditLabel2, L"STATIC", editor_texts::kLinkEditVersionLabel, SS_LEFT, 240, 720, 2040, 255},
    {kLinkEditVersion, L"EDIT", L"", kTextBox, 2400, 660, 5040, 315},
    {kLinkEditLabel3, L"STATIC", editor_texts::kLinkEditProgramLabel, SS_LEFT, 240, 1140, 2040, 255},
    // The height holds the dropped list as well.
    {kLinkEditProgram, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 2400, 1080, 5040, 2400},
    {IDOK, L"BUTTON", editor_texts::kLinkEditOk, WS_TABSTOP | BS_DEFPUSHBUTTON, 4680, 1800, 1335, 420},
    {IDCANCEL, L"BUTTON", editor_texts::kLinkEditCancel, kButton, 6105, 1800, 1335, 420},
};

// A fixed single border and a close box.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, 0, 7680, 2460, kControls, std::size(kControls)};

}  // namespace

frmLinkEdit::frmLinkEdit(HWND owner) : Dialog(kForm), owner_(owner) {}

bool frmLinkEdit::ShowEdit(std::wstring& rstrCreator, std::wstring& rstrCreatorVersion,
                           const std::vector<std::wstring>& vstrPrograms, std::int32_t& rlngProgram,
                           const LinkTable& vRows, std::int32_t vlngRow) {
  mblnOk = false;
  mRows = &vRows;
  mlngRow = vlngRow;
  Create(owner_);
  SetDlgItemTextW(window(), kLinkEditCreator, rstrCreator.c_str());
  SetDlgItemTextW(window(), kLinkEditVersion, rstrCreatorVersion.c_str());
  HWND programs = Item(kLinkEditProgram);
  for (const std::wstring& program : vstrPrograms) {
    const LRESULT added = SendMessageW(programs, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(program.c_str()));
    if (added == CB_ERR || added == CB_ERRSPACE) throw err::AppError(err::kOutOfMemory);
  }
  SendMessageW(programs, CB_SETCURSEL, static_cast<WPARAM>(rlngProgram), 0);
  winform::CenterOnOwner(window(), owner_);
  RunModal();
  mRows = nullptr;
  if (!mblnOk) return false;
  rstrCreator = mstrCreator;
  rstrCreatorVersion = mstrCreatorVersion;
  rlngProgram = mlngProgram;
  return true;
}

void frmLinkEdit::Form_Load() {
  SetWindowTextW(window(), editor_texts::kLinkEditCaption);
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
}

void frmLinkEdit::OnCommand(int id, int) {
  if (id == IDOK) cmdOk_Click();
  if (id == IDCANCEL) cmdCancel_Click();
}

void frmLinkEdit::cmdOk_Click() {
  const editor::LinkEditCheck check = editor::CheckLinkEdit(
      wintext::WindowText(Item(kLinkEditCreator)), wintext::WindowText(Item(kLinkEditVersion)), *mRows, mlngRow);
  if (check.problem != editor::LinkEditProblem::kNone) {
    MessageBoxW(window(), check.message.c_str(), editor_texts::kLinkEditCaption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  mblnOk = true;
  mstrCreator = check.creatorText;
  mstrCreatorVersion = check.creatorVersion;
  mlngProgram = static_cast<std::int32_t>(SendDlgItemMessageW(window(), kLinkEditProgram, CB_GETCURSEL, 0, 0));
  Close();
}
