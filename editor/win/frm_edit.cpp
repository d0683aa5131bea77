#include "frm_edit.h"

#include <imm.h>

#include "bas_api.h"
#include "editor_win.h"
#include "error.h"
#include "file_io.h"
#include "mod_shgetfolderpath.h"
#include "name_list_editor.h"
#include "win_form.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr wchar_t kCaption[] = L"項目の編集";
constexpr wchar_t kTextFont[] = L"ＭＳ Ｐゴシック";
constexpr wchar_t kPathFont[] = L"ＭＳ ゴシック";
constexpr double kTextPoints = 9.75;
// Typing limits in characters; a text put in by the program is not cut.
constexpr WPARAM kNameLimit = 60;
constexpr WPARAM kPathLimit = 254;

constexpr DWORD kTextBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

// No default button: Enter in a text box confirms nothing.
const winform::Control kControls[] = {
    {kEditName, L"EDIT", L"", kTextBox, 360, 600, 3615, 315},
    {kEditPath, L"EDIT", L"", kTextBox, 360, 1560, 11535, 315},
    {kEditLabel1, L"STATIC", L"アプリケーション名称:", SS_LEFT, 360, 240, 2055, 375},
    {kEditLabel2, L"STATIC", L"実行するファイル名:", SS_LEFT, 360, 1200, 2055, 375},
    {kEditOk, L"BUTTON", L"&OK", kButton, 9360, 2580, 1815, 495},
    {IDCANCEL, L"BUTTON", L"キャンセル(&C)", kButton, 11400, 2580, 1815, 495},
    {kEditFile, L"BUTTON", L"参照...", kButton, 12000, 1560, 1215, 315},
};

bool FitsAnsi(const std::wstring& text) {
  bool exact = true;
  wintext::ToAnsi(text, &exact);
  return exact;
}

}  // namespace

bool frmEdit::ShowEdit(std::wstring& rstrName, std::wstring& rstrPath) {
  window_ = winform::CreateEmptyDialog(owner_, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, 0, Procedure, this);
  if (!window_) throw err::AppError(err::FromSystemError(GetLastError()));
  SetDlgItemTextW(window_, kEditName, rstrName.c_str());
  SetDlgItemTextW(window_, kEditPath, rstrPath.c_str());
  bool result = false;
  mblnOk = false;
  winform::CenterOnOwner(window_, owner_);
  winform::RunModal(window_);
  for (HFONT font : {font_, nameFont_, pathFont_}) {
    if (font) DeleteObject(font);
  }
  font_ = nameFont_ = pathFont_ = nullptr;
  window_ = nullptr;
  if (mblnOk) {
    rstrName = mstrName;
    rstrPath = mstrPath;
    result = true;
  }
  return result;
}

INT_PTR CALLBACK frmEdit::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmEdit* self = winform::Self<frmEdit>(window, message, lParam);
  if (!self) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = window;
      self->Form_Load();
      return TRUE;  // the focus goes to the first control, txtName
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kEditFile: self->cmdFile_Click(); break;
        case kEditOk: self->cmdOk_Click(); break;
        case IDCANCEL: self->cmdCancel_Click(); break;
        case kEditName:
        case kEditPath:
          if (HIWORD(wParam) == EN_SETFOCUS) self->TextBox_GotFocus(reinterpret_cast<HWND>(lParam));
          break;
        default: break;
      }
      return TRUE;
    case WM_CLOSE:
      self->cmdCancel_Click();
      return TRUE;
    default:
      return FALSE;
  }
}

void frmEdit::Form_Load() {
  try {
    SetWindowTextW(window_, kCaption);
    winform::SetProgramIcon(window_);
    winform::SetClientSize(window_, 13680, 3465);
    font_ = winform::CreatePointFont(window_, winform::kUiFont, winform::kUiFontPoints);
    winform::CreateControls(window_, kControls, font_);
    nameFont_ = winform::CreatePointFont(window_, kTextFont, kTextPoints);
    pathFont_ = winform::CreatePointFont(window_, kPathFont, kTextPoints);
    for (int id : {kEditLabel1, kEditLabel2, kEditName}) {
      SendDlgItemMessageW(window_, id, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_), FALSE);
    }
    SendDlgItemMessageW(window_, kEditPath, WM_SETFONT, reinterpret_cast<WPARAM>(pathFont_), FALSE);
    SendDlgItemMessageW(window_, kEditName, EM_LIMITTEXT, kNameLimit, 0);
    SendDlgItemMessageW(window_, kEditPath, EM_LIMITTEXT, kPathLimit, 0);
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmEdit::TextBox_GotFocus(HWND textBox) {
  // Names and paths are mostly typed in Latin letters: the input method starts switched off, and
  // the user may switch it on.
  if (HIMC context = ImmGetContext(textBox)) {
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(textBox, context);
  }
}

void frmEdit::cmdFile_Click() {
  try {
    const std::wstring folder = modSHGetFolderPath::GetSpecialFolder(modSHGetFolderPath::kProgramFiles);
    const std::wstring chosen = basAPI::GetOpenFileName(window_, L"", folder);
    if (!chosen.empty()) SetDlgItemTextW(window_, kEditPath, chosen.c_str());
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmEdit::cmdOk_Click() {
  try {
    const editor::EntryCheck check = editor::CheckEntry(
        wintext::WindowText(GetDlgItem(window_, kEditName)), wintext::WindowText(GetDlgItem(window_, kEditPath)),
        [](const std::wstring& path) { return fileio::IsOrdinaryFile(fileio::FilePath(path)); }, FitsAnsi);
    if (check.problem != editor::EntryProblem::kNone) {
      MessageBoxW(window_, editor::ProblemMessage(check.problem), kCaption, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    mblnOk = true;
    mstrName = check.name;
    mstrPath = check.path;
    winform::CloseModal(window_);
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmEdit::cmdCancel_Click() { winform::CloseModal(window_); }
