#include "frm_edit.h"

#include <imm.h>

#include "bas_api.h"
#include "editor_texts.h"
#include "editor_win.h"
#include "file_io.h"
#include "mod_shgetfolderpath.h"
#include "name_list_editor.h"
#include "win_text.h"

namespace {

using namespace editor_ids;

constexpr winform::FontSpec kTextFont{L"ＭＳ Ｐゴシック", 9.75};
constexpr winform::FontSpec kPathFont{L"ＭＳ ゴシック", 9.75};
// Typing limits in characters; a text put in by the program is not cut.
constexpr WPARAM kNameLimit = 60;
constexpr WPARAM kPathLimit = 254;

constexpr DWORD kTextBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

// No default button: Enter in a text box confirms nothing.
const winform::Control kControls[] = {
    {kEditName, L"EDIT", L"", kTextBox, 360, 600, 3615, 315, &kTextFont},
    {kEditPath, L"EDIT", L"", kTextBox, 360, 1560, 11535, 315, &kPathFont},
    {kEditLabel1, L"STATIC", editor_texts::kEntryNameLabel, SS_LEFT, 360, 240, 2055, 375, &kTextFont},
    {kEditLabel2, L"STATIC", editor_texts::kEntryPathLabel, SS_LEFT, 360, 1200, 2055, 375, &kTextFont},
    {kEditOk, L"BUTTON", editor_texts::kEntryOk, kButton, 9360, 2580, 1815, 495},
    {IDCANCEL, L"BUTTON", editor_texts::kEntryCancel, kButton, 11400, 2580, 1815, 495},
    {kEditFile, L"BUTTON", editor_texts::kEntryBrowse, kButton, 12000, 1560, 1215, 315},
};

// A fixed single border and a close box.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, 0, 13680, 3465, kControls, std::size(kControls)};

}  // namespace

frmEdit::frmEdit(HWND owner) : Dialog(kForm), owner_(owner) {}

bool frmEdit::ShowEdit(std::wstring& rstrName, std::wstring& rstrPath) {
  mblnOk = false;
  Create(owner_);
  SetDlgItemTextW(window(), kEditName, rstrName.c_str());
  SetDlgItemTextW(window(), kEditPath, rstrPath.c_str());
  winform::CenterOnOwner(window(), owner_);
  RunModal();
  if (!mblnOk) return false;
  rstrName = mstrName;
  rstrPath = mstrPath;
  return true;
}

void frmEdit::OnCommand(int id, int code) {
  switch (id) {
    case kEditFile: cmdFile_Click(); break;
    case kEditOk: cmdOk_Click(); break;
    case IDCANCEL: cmdCancel_Click(); break;
    case kEditName:
    case kEditPath:
      if (code == EN_SETFOCUS) TextBox_GotFocus(Item(id));
      break;
    default: break;
  }
}

void frmEdit::Form_Load() {
  SetWindowTextW(window(), editor_texts::kEntryCaption);
  SendDlgItemMessageW(window(), kEditName, EM_LIMITTEXT, kNameLimit, 0);
  SendDlgItemMessageW(window(), kEditPath, EM_LIMITTEXT, kPathLimit, 0);
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
  const std::wstring folder = modSHGetFolderPath::GetSpecialFolder(modSHGetFolderPath::kProgramFiles);
  const std::wstring chosen = basAPI::GetOpenFileName(window(), {}, folder);
  if (!chosen.empty()) SetDlgItemTextW(window(), kEditPath, chosen.c_str());
}

void frmEdit::cmdOk_Click() {
  const editor::EntryCheck check =
      editor::CheckEntry(wintext::WindowText(Item(kEditName)), wintext::WindowText(Item(kEditPath)));
  if (check.problem != editor::EntryProblem::kNone) {
    MessageBoxW(window(), editor::ProblemMessage(check.problem), editor_texts::kEntryCaption,
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  mblnOk = true;
  mstrName = check.name;
  mstrPath = check.path;
  Close();
}

void frmEdit::cmdCancel_Click() { Close(); }
