#include "frm_quelby.h"

#include "editor_texts.h"
#include "editor_win.h"
#include "error.h"
#include "frm_edit.h"
#include "frm_find_apps.h"
#include "frm_links.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr winform::FontSpec kListFont{L"ＭＳ Ｐゴシック", 11.25};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
// The rows show the programs' icons: drawn by the window, their strings the rows' texts.
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

// In tab order: cmdDelete first, so it has the focus when the window opens.
const winform::Control kControls[] = {
    {kQuelbyDelete, L"BUTTON", editor_texts::kListDelete, kButton, 9240, 9120, 1815, 495},
    {kQuelbyEdit, L"BUTTON", editor_texts::kListEdit, kButton, 4680, 9120, 1815, 495},
    {kQuelbyEnd, L"BUTTON", editor_texts::kListEnd, kButton, 11520, 9120, 1815, 495},
    {kQuelbyList, L"LISTBOX", L"", kList, 360, 360, 13215, 8385, &kListFont},
    {kQuelbyAdd, L"BUTTON", editor_texts::kListAdd, kButton, 6960, 9120, 1815, 495},
    {kQuelbyLinks, L"BUTTON", editor_texts::kListLinks, kButton, 2160, 9120, 2055, 495},
    {kQuelbyFind, L"BUTTON", editor_texts::kListFind, kButton, 360, 9120, 1680, 495},
};

// A fixed single border and a close box, with a taskbar button of its own.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, WS_EX_APPWINDOW, 14085, 10095, kControls, std::size(kControls)};

}  // namespace

frmQuelby::frmQuelby()
    : Dialog(kForm), List1(*this, kQuelbyList, winform::IconList::Numbers::kNone, editor_texts::kMissingMark) {}

void frmQuelby::Show() {
  Create(nullptr);
  winform::CenterOnScreen(window());
  RunModal();
}

void frmQuelby::Form_Load() {
  SetWindowTextW(window(), editor_texts::kListCaption);
  mEditor.Form_Load();
  // A list without programs: finding them is offered once, over the window the user has seen.
  if (mEditor.names().empty()) mOfferFinding.emplace(window(), [this] { Run([&] { cmdFind_Click(); }); });
}

void frmQuelby::OnCommand(int id, int) {
  // Enter and Esc (IDOK, IDCANCEL) do nothing here: the window has neither a default nor a cancel
  // button.
  switch (id) {
    case kQuelbyAdd: mEditor.cmdAdd_Click(); break;
    case kQuelbyEdit: mEditor.cmdEdit_Click(); break;
    case kQuelbyDelete: mEditor.cmdDelete_Click(); break;
    // cmdEnd_Click: closing goes through Form_Unload, which reports its own failures.
    case kQuelbyEnd: SendMessageW(window(), WM_CLOSE, 0, 0); break;
    case kQuelbyLinks: cmdLinks_Click(); break;
    case kQuelbyFind: cmdFind_Click(); break;
    default: break;
  }
}

void frmQuelby::cmdLinks_Click() { frmLinks(window()).Show(); }

void frmQuelby::cmdFind_Click() {
  std::vector<editor::FoundRow> rows;
  if (frmFindApps(window(), mEditor.names(), mEditor.paths()).Show(rows)) mEditor.AddFound(rows);
}

void frmQuelby::OnClose() {
  bool cancel = false;
  mEditor.Form_Unload(cancel);
  if (!cancel) Close();
}

fileio::FilePath frmQuelby::ProgramFolder() { return wintext::ProgramFolder(); }

void frmQuelby::ClearRows() { List1.Clear(); }

void frmQuelby::InsertRow(int row, const std::wstring& text, const std::wstring& path) {
  List1.Insert(row, text, path);
}

void frmQuelby::RemoveRow(int row) { List1.Remove(row); }

void frmQuelby::SelectRow(int row) { SendMessageW(List1.window(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }

int frmQuelby::SelectedRow() {
  const LRESULT row = SendMessageW(List1.window(), LB_GETCURSEL, 0, 0);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

bool frmQuelby::ShowEdit(std::wstring& rstrName, std::wstring& rstrPath) {
  return frmEdit(window()).ShowEdit(rstrName, rstrPath);
}

int frmQuelby::Ask(const std::wstring& text, const std::wstring& title, int style) {
  return MessageBoxW(window(), text.c_str(), title.c_str(), static_cast<UINT>(style));
}

void frmQuelby::ShowError(std::int32_t number) { ::ShowError(number); }
