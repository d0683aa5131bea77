#include "frm_quelby.h"

#include <utility>

#include "config.h"
#include "editor_win.h"
#include "error.h"
#include "frm_edit.h"
#include "ini.h"
#include "link_lock.h"
#include "name_list.h"
#include "name_list_editor.h"
#include "win_form.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr wchar_t kCaption[] = L"起動リストの編集";
constexpr wchar_t kSaveQuestion[] = L"設定を保存して終了します。よろしいですか？";
constexpr wchar_t kListFont[] = L"ＭＳ Ｐゴシック";
constexpr double kListPoints = 11.25;

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

// In tab order: cmdDelete first, so it has the focus when the window opens.
const winform::Control kControls[] = {
    {kQuelbyDelete, L"BUTTON", L"1行削除(&D)", kButton, 9240, 9120, 1815, 495},
    {kQuelbyEdit, L"BUTTON", L"編集(&E)", kButton, 4680, 9120, 1815, 495},
    {kQuelbyEnd, L"BUTTON", L"終了", kButton, 11520, 9120, 1815, 495},
    {kQuelbyList, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 360, 360, 13215, 8385},
    {kQuelbyAdd, L"BUTTON", L"１行追加(&A)", kButton, 6960, 9120, 1815, 495},
};

}  // namespace

void frmQuelby::Show() {
  window_ = winform::CreateEmptyDialog(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, WS_EX_APPWINDOW,
                                       Procedure, this);
  if (!window_) throw err::AppError(err::FromSystemError(GetLastError()));
  winform::CenterOnScreen(window_);
  winform::RunModal(window_);
  for (HFONT font : {font_, listFont_}) {
    if (font) DeleteObject(font);
  }
  font_ = listFont_ = nullptr;
  window_ = nullptr;
}

INT_PTR CALLBACK frmQuelby::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmQuelby* self = winform::Self<frmQuelby>(window, message, lParam);
  if (!self) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = window;
      self->Create();
      self->Form_Load();
      return TRUE;  // the focus goes to the first control, cmdDelete
    case WM_COMMAND:
      // Enter and Esc (IDOK, IDCANCEL) do nothing here: the window has neither a default nor a
      // cancel button.
      switch (LOWORD(wParam)) {
        case kQuelbyAdd: self->cmdAdd_Click(); break;
        case kQuelbyEdit: self->cmdEdit_Click(); break;
        case kQuelbyDelete: self->cmdDelete_Click(); break;
        case kQuelbyEnd: self->cmdEnd_Click(); break;
        default: break;
      }
      return TRUE;
    case WM_CLOSE: {
      bool cancel = false;
      self->Form_Unload(cancel);
      if (!cancel) winform::CloseModal(window);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void frmQuelby::Create() {
  try {
    SetWindowTextW(window_, kCaption);
    winform::SetProgramIcon(window_);
    winform::SetClientSize(window_, 14085, 10095);
    font_ = winform::CreatePointFont(window_, winform::kUiFont, winform::kUiFontPoints);
    winform::CreateControls(window_, kControls, font_);
    listFont_ = winform::CreatePointFont(window_, kListFont, kListPoints);
    SendMessageW(List1(), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), FALSE);
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmQuelby::Form_Load() {
  try {
    mblnChanged = false;
    SendMessageW(List1(), LB_RESETCONTENT, 0, 0);
    const std::int32_t count = LoadNameList(wintext::ProgramFolder() / config::kNameIniFile);
    for (int row = 0; row < count; ++row) InsertRow(row, mstrNames[row], mstrPaths[row]);
  } catch (...) {
    // The window opens without rows, and holds no entries that it does not show: a later save
    // then writes only what the user added, and blanks nothing that was never shown.
    mstrNames.clear();
    mstrPaths.clear();
    mlngLoadedCount = 0;
    SendMessageW(List1(), LB_RESETCONTENT, 0, 0);
    ShowError(err::CurrentErrorNumber());
  }
}

std::int32_t frmQuelby::LoadNameList(const fileio::FilePath& file) {
  // Built apart and kept whole, so that a failure leaves no part of a list behind.
  std::vector<std::wstring> names;
  std::vector<std::wstring> paths;
  for (const NameEntry& entry : ReadNameEntries(IniDocument::Load(file))) {
    names.push_back(wintext::FromAnsi(entry.name));
    paths.push_back(wintext::FromAnsi(entry.path));
  }
  mstrNames = std::move(names);
  mstrPaths = std::move(paths);
  mlngLoadedCount = static_cast<std::int32_t>(mstrNames.size());
  return mlngLoadedCount;
}

HWND frmQuelby::List1() const { return GetDlgItem(window_, kQuelbyList); }

int frmQuelby::SelectedRow() const {
  const LRESULT row = SendMessageW(List1(), LB_GETCURSEL, 0, 0);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

void frmQuelby::InsertRow(int row, const std::wstring& name, const std::wstring& path) {
  const std::wstring text = editor::RowText(name, path);
  const LRESULT inserted = SendMessageW(List1(), LB_INSERTSTRING, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(text.c_str()));
  if (inserted == LB_ERR || inserted == LB_ERRSPACE) throw err::AppError(err::kOutOfMemory);
}

void frmQuelby::cmdAdd_Click() {
  try {
    AddEntry();
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmQuelby::AddEntry() {
  std::wstring name;
  std::wstring path;
  if (!frmEdit(window_).ShowEdit(name, path)) return;
  const int row = static_cast<int>(mstrNames.size());
  InsertRow(row, name, path);
  mstrNames.push_back(name);
  mstrPaths.push_back(path);
  SendMessageW(List1(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  mblnChanged = true;
}

void frmQuelby::cmdEdit_Click() {
  try {
    const int row = SelectedRow();
    if (row < 0) return;
    std::wstring name = mstrNames[row];
    std::wstring path = mstrPaths[row];
    if (!frmEdit(window_).ShowEdit(name, path)) return;
    SendMessageW(List1(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    InsertRow(row, name, path);
    mstrNames[row] = name;
    mstrPaths[row] = path;
    SendMessageW(List1(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    mblnChanged = true;
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmQuelby::cmdDelete_Click() {
  try {
    DeleteEntry();
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmQuelby::DeleteEntry() {
  const int row = SelectedRow();
  if (row < 0) return;
  editor::RemoveEntry(mstrNames, mstrPaths, row + 1);
  SendMessageW(List1(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  // No row stays selected, whatever the list box makes of losing the selected one.
  SendMessageW(List1(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  mblnChanged = true;
}

// Closing goes through Form_Unload, which reports its own failures.
void frmQuelby::cmdEnd_Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

void frmQuelby::Form_Unload(bool& cancel) {
  try {
    if (!mblnChanged) return;
    const int answer = MessageBoxW(window_, kSaveQuestion, kCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) {
      cancel = true;
    } else if (answer == IDYES) {
      // When name.ini cannot be written nothing is saved: the window stays open with the changes.
      cancel = true;
      SaveNameList();
      cancel = false;
      ResetLinkIni();
    }
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmQuelby::SaveNameList() {
  std::vector<std::pair<std::string, std::string>> values;
  for (const editor::IniWrite& write : editor::NameListWrites(mstrNames, mstrPaths, mlngLoadedCount)) {
    values.emplace_back(write.key, wintext::ToAnsi(write.value));
  }
  // The whole list reaches the file in one step, or none of it does and the user is told.
  if (!WriteIniStrings(config::kSection, values, wintext::ProgramFolder() / config::kNameIniFile)) {
    throw err::AppError(err::FromSystemError(GetLastError()));
  }
}

void frmQuelby::ResetLinkIni() {
  const fileio::FilePath file = wintext::ProgramFolder() / config::kLinkIniFile;
  // The launchers store their choices under the same lock, so none is lost in the replacement.
  const linklock::LinkIniLock lock(file);
  if (!lock.held()) throw err::AppError(err::FromSystemError(lock.error()));
  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES && !fileio::IsOrdinaryFile(file)) {
    // A hidden or system link.ini (or anything else there that is no ordinary file) is not taken
    // for a file to replace: it stays, and the marker entry is only added to it.
    WriteIniString(config::kSection, config::kMarkerKey, config::kMarkerValue, file);
    return;
  }
  // Replaced in one step, so that the launcher never finds link.ini missing or half written.
  if (!fileio::ReplaceContent(file, editor::FreshLinkIni())) {
    throw err::AppError(err::FromSystemError(GetLastError()));
  }
}
