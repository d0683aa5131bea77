#include "frm_links.h"

#include <commctrl.h>

#include "bas_api.h"
#include "editor_texts.h"
#include "editor_win.h"
#include "error.h"
#include "frm_link_edit.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

const winform::Control kControls[] = {
    {kLinksList, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 240, 240, 10320, 4560},
    {kLinksChange, L"BUTTON", editor_texts::kLinksChange, kButton, 240, 5040, 1455, 420},
    {kLinksForget, L"BUTTON", editor_texts::kLinksForget, kButton, 1815, 5040, 1455, 420},
    {kLinksTest, L"BUTTON", editor_texts::kLinksTest, kButton, 3390, 5040, 2175, 420},
    {IDOK, L"BUTTON", editor_texts::kLinksOk, WS_TABSTOP | BS_DEFPUSHBUTTON, 7530, 5040, 1455, 420},
    {IDCANCEL, L"BUTTON", editor_texts::kLinksCancel, kButton, 9105, 5040, 1455, 420},
};

// The list view's columns, widths in twips.
const winform::ListColumn kColumns[] = {
    {editor_texts::kLinksCreatorColumn, 3300},
    {editor_texts::kLinksVersionColumn, 2040},
    {editor_texts::kLinksProgramColumn, 3060},
    {editor_texts::kLinksStateColumn, 1560},
};

// A fixed single border and a close box.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, 0, 10800, 5760, kControls, std::size(kControls)};

}  // namespace

frmLinks::frmLinks(HWND owner) : Dialog(kForm), owner_(owner) {}

void frmLinks::Show() {
  Create(owner_);
  winform::CenterOnOwner(window(), owner_);
  RunModal();
}

HWND frmLinks::lvwLinks() const { return Item(kLinksList); }

void frmLinks::Form_Load() {
  SetWindowTextW(window(), editor_texts::kLinksCaption);
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
  SendMessageW(lvwLinks(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  mEditor.Form_Load();
}

void frmLinks::OnLayout() { winform::LayOutColumns(lvwLinks(), kColumns, std::size(kColumns), dpi()); }

void frmLinks::OnCommand(int id, int) {
  switch (id) {
    case kLinksChange: cmdChange_Click(); break;
    case kLinksForget: cmdForget_Click(); break;
    case kLinksTest: cmdTest_Click(); break;
    case IDOK: cmdOk_Click(); break;
    case IDCANCEL: cmdCancel_Click(); break;
    default: break;
  }
}

INT_PTR frmLinks::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return FALSE;
  const auto& notice = *reinterpret_cast<const NMHDR*>(lParam);
  // A double click on a row, not on the empty part of the list.
  if (notice.idFrom == kLinksList && notice.code == NM_DBLCLK &&
      reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0) {
    Run([&] { lvwLinks_DblClick(); });
  }
  return FALSE;
}

void frmLinks::cmdOk_Click() {
  if (mEditor.cmdOk_Click()) Close();
}

fileio::FilePath frmLinks::ProgramFolder() { return wintext::ProgramFolder(); }

void frmLinks::InsertRow(int row, const editor::LinkRowTexts& texts) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<wchar_t*>(texts.creatorText.c_str());
  if (SendMessageW(lvwLinks(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
    throw err::AppError(err::kOutOfMemory);
  }
  SetRow(row, texts);
}

void frmLinks::SetRow(int row, const editor::LinkRowTexts& texts) {
  const std::wstring* columns[] = {&texts.creatorText, &texts.creatorVersion, &texts.program, &texts.state};
  for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
    LVITEMW item{};
    item.iSubItem = i;
    item.pszText = const_cast<wchar_t*>(columns[i]->c_str());
    SendMessageW(lvwLinks(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

void frmLinks::RemoveRow(int row) { SendMessageW(lvwLinks(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

void frmLinks::SelectRow(int row) {
  // Row -1 stands for every row: none stays selected.
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = row < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(lvwLinks(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  if (row >= 0) SendMessageW(lvwLinks(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int frmLinks::SelectedRow() {
  return static_cast<int>(SendMessageW(lvwLinks(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void frmLinks::EnableRowButtons(bool enabled) {
  for (const int id : {kLinksChange, kLinksForget}) {
    // A button that is about to lose its input hands the focus on first, so that the keys still work.
    if (!enabled && GetFocus() == Item(id)) SendMessageW(window(), WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(Item(id), enabled);
  }
}

bool frmLinks::ShowLinkEdit(std::wstring& rstrCreator, std::wstring& rstrCreatorVersion,
                            const std::vector<std::wstring>& vstrPrograms, std::int32_t& rlngProgram,
                            const LinkTable& vRows, std::int32_t vlngRow) {
  return frmLinkEdit(window()).ShowEdit(rstrCreator, rstrCreatorVersion, vstrPrograms, rlngProgram, vRows, vlngRow);
}

void frmLinks::CheckProgram(unsigned ticket, const std::wstring& path) { mChecks.Request(ticket, path); }

std::wstring frmLinks::ChooseFile() {
  return basAPI::GetOpenFileName(window(),
                                 {{editor_texts::kLinksEpsFilter, editor_texts::kLinksEpsPattern},
                                  {editor_texts::kLinksAllFilter, editor_texts::kLinksAllPattern}},
                                 L"");
}

void frmLinks::Message(const std::wstring& text, int style) {
  MessageBoxW(window(), text.c_str(), editor_texts::kLinksCaption, static_cast<UINT>(style));
}

void frmLinks::ShowError(std::int32_t number) { ::ShowError(number); }
