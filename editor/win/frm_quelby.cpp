#include "frm_quelby.h"

#include <shellapi.h>

#include <utility>

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
// The status line's band below the list (which ends at 8745), and the buttons below it: 435 twips
// lower than the list alone would put them (9120), the height that the window grows by.
constexpr int kStatusTop = 8835;
constexpr int kButtonTop = 9555;
// The rows show the programs' icons: drawn by the window, their strings the rows' texts.
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

// In tab order: cmdDelete first, so it has the focus when the window opens. The status line
// (picWarning, lblStatus, cmdDefaultApps) lies between the list and the buttons, which lie that
// much lower than the list alone would put them; its label holds three lines of text: the status,
// wrapped once when it is long, and the line for .ai files.
const winform::Control kControls[] = {
    {kQuelbyDelete, L"BUTTON", editor_texts::kListDelete, kButton, 9240, kButtonTop, 1815, 495},
    {kQuelbyEdit, L"BUTTON", editor_texts::kListEdit, kButton, 4680, kButtonTop, 1815, 495},
    {kQuelbyEnd, L"BUTTON", editor_texts::kListEnd, kButton, 11520, kButtonTop, 1815, 495},
    {kQuelbyList, L"LISTBOX", L"", kList, 360, 360, 13215, 8385, &kListFont},
    {kQuelbyAdd, L"BUTTON", editor_texts::kListAdd, kButton, 6960, kButtonTop, 1815, 495},
    {kQuelbyLinks, L"BUTTON", editor_texts::kListLinks, kButton, 2160, kButtonTop, 2055, 495},
    {kQuelbyFind, L"BUTTON", editor_texts::kListFind, kButton, 360, kButtonTop, 1680, 495},
    {kQuelbyWarning, L"STATIC", L"", SS_ICON, 360, kStatusTop, 240, 240},
    {kQuelbyStatus, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 720, kStatusTop, 10440, 600},
    {kQuelbyDefaultApps, L"BUTTON", editor_texts::kListDefaultApps, kButton, 11280, kStatusTop, 2055, 495},
};

// A fixed single border and a close box, with a taskbar button of its own.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, WS_EX_APPWINDOW, 14085, 10530, kControls, std::size(kControls)};

// The running Windows' major version. GetVersionExW tells it as it is up to the newest Windows that
// the program's manifest names (Windows 10 and 11 both say 10).
unsigned WindowsMajor() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) ? version.dwMajorVersion : 0;
}

}  // namespace

frmQuelby::frmQuelby()
    : Dialog(kForm),
      List1(*this, kQuelbyList, winform::IconList::Numbers::kNone, editor_texts::kMissingMark),
      mOpener(*this, wintext::ProgramFolder(), [this](const editor::OpenerState& state) { ShowOpener(state); }) {}

void frmQuelby::Show() {
  Create(nullptr);
  winform::CenterOnScreen(window());
  RunModal();
}

void frmQuelby::Form_Load() {
  SetWindowTextW(window(), editor_texts::kListCaption);
  // No warning until the first reading, after the window's first painting, has said who opens
  // .eps files.
  ShowWindow(Item(kQuelbyWarning), SW_HIDE);
  mEditor.Form_Load();
  // A list without programs: finding them is offered once, over the window the user has seen.
  if (mEditor.names().empty()) mOfferFinding.emplace(window(), [this] { Run([&] { cmdFind_Click(); }); });
}

void frmQuelby::OnLayout() {
  // The system's warning icon at the small-icon size of the window's DPI; the control takes the
  // icon's size.
  const int size = winform::SmallIconSize(dpi());
  winhandle::Icon icon(static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  SendMessageW(Item(kQuelbyWarning), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  mWarningIcon = std::move(icon);
}

void frmQuelby::ShowOpener(const editor::OpenerState& state) {
  // Only what has changed is drawn again: a reading that finds everything as it was leaves the
  // line as it is.
  const editor::StatusLine line = editor::StatusOf(state);
  HWND status = Item(kQuelbyStatus);
  if (wintext::WindowText(status) != line.text) SetWindowTextW(status, line.text.c_str());
  HWND warning = Item(kQuelbyWarning);
  const bool shown = (GetWindowLongW(warning, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != line.warning) ShowWindow(warning, line.warning ? SW_SHOWNA : SW_HIDE);
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
    case kQuelbyDefaultApps: cmdDefaultApps_Click(); break;
    default: break;
  }
}

void frmQuelby::cmdLinks_Click() { frmLinks(window()).Show(); }

void frmQuelby::cmdFind_Click() {
  std::vector<editor::FoundRow> rows;
  if (frmFindApps(window(), mEditor.names(), mEditor.paths()).Show(rows)) mEditor.AddFound(rows);
}

void frmQuelby::cmdDefaultApps_Click() {
  const editor::DefaultAppsPage page = editor::DefaultAppsFor(WindowsMajor());
  std::wstring program = page.text;
  std::wstring arguments;
  if (page.controlPanel) {
    // Control Panel of the system's own folder, never a control.exe that the search path finds.
    program = wintext::BufferText([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); }) +
              L"\\control.exe";
    arguments = page.text;
  }
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_FLAG_NO_UI;
  request.hwnd = window();
  request.lpFile = program.c_str();
  request.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
  request.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&request)) throw err::AppError(err::FromSystemError(GetLastError()));
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
