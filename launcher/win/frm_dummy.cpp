#include "frm_dummy.h"

#include <string>

#include "error.h"
#include "file_io.h"
#include "launcher_win.h"
#include "start_program.h"
#include "win_form.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;

constexpr wchar_t kSysInfoUnavailable[] = L"現時点ではｼｽﾃﾑ情報を使用できません";
constexpr char kSysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kSysInfoValue[] = "PATH";
constexpr char kSysInfoFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kSysInfoFolderValue[] = "MSINFO";
constexpr char kSysInfoProgram[] = "\\MSINFO32.EXE";

constexpr wchar_t kContact[] =
    L"お問い合わせは\r\n\r\nhttps://support.example.jp/varnock/ \r\n\r\nまでお願いします。\r\n";

const winform::Control kControls[] = {
    {IDOK, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 4290, 2625, 1425, 345},
    {kDummyText1, L"EDIT", kContact, WS_TABSTOP | ES_MULTILINE | ES_READONLY, 240, 2640, 3855, 1035},
    {kDummyIcon, L"STATIC", L"", SS_ICON, 270, 240, 540, 540},
    {kDummySysInfo, L"BUTTON", L"ｼｽﾃﾑ情報(&S)...", WS_TABSTOP | BS_PUSHBUTTON, 4290, 3075, 1425, 345},
    {kDummyDescription, L"STATIC",
     L".EPS ファイルをダブルクリックした時に起動するソフトを自動的に切り替えるソフトです。", SS_LEFT, 1080, 1125,
     4005, 1170},
    {kDummyTitle, L"STATIC", L"ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ", SS_LEFT, 1080, 240, 3885, 480},
    {kDummyVersion, L"STATIC", L"ﾊﾞｰｼﾞｮﾝ", SS_LEFT, 1080, 780, 3885, 225},
};

}  // namespace

void frmDummy::ShowModal() {
  // An invisible owner keeps the window out of the taskbar.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  window_ = winform::CreateEmptyDialog(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                       WS_EX_DLGMODALFRAME, Procedure, this);
  if (!window_) {
    const DWORD error = GetLastError();
    if (owner) DestroyWindow(owner);
    throw err::AppError(err::FromSystemError(error));
  }
  winform::CenterOnScreen(window_);
  winform::RunModal(window_);
  for (HFONT font : {font_, titleFont_, contactFont_}) {
    if (font) DeleteObject(font);
  }
  font_ = titleFont_ = contactFont_ = nullptr;
  window_ = nullptr;
  if (owner) DestroyWindow(owner);
}

INT_PTR CALLBACK frmDummy::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  frmDummy* self = winform::Self<frmDummy>(window, message, lParam);
  if (!self) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = window;
      self->Form_Load();
      return FALSE;  // the focus is set to cmdOk already
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) self->cmdOk_Click();
      if (LOWORD(wParam) == kDummySysInfo) self->cmdSysInfo_Click();
      return TRUE;
    case WM_CLOSE:
      self->cmdOk_Click();
      return TRUE;
    case WM_PAINT:
      self->PaintLine();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // The title and the description are black on the window's colour.
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kDummyText1) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return FALSE;
  }
}

void frmDummy::Form_Load() {
  try {
    SetWindowTextW(window_, (std::wstring(kApplicationTitle) + L"のバージョン情報").c_str());
    winform::SetClientSize(window_, 5985, 4050);
    font_ = winform::CreatePointFont(window_, winform::kUiFont, winform::kUiFontPoints);
    winform::CreateControls(window_, kControls, font_);
    titleFont_ = winform::CreatePointFont(window_, winform::kUiFont, 18.0);
    SendDlgItemMessageW(window_, kDummyTitle, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    // All five lines of the contact notice stay in view.
    contactFont_ = winform::FitEditFont(GetDlgItem(window_, kDummyText1), winform::kUiFont, winform::kUiFontPoints, 5);
    const std::wstring version = L"バージョン " + std::to_wstring(kVersionMajor) + L"." +
                                 std::to_wstring(kVersionMinor) + L"  (build " + std::to_wstring(kVersionRevision) +
                                 L")";
    SetDlgItemTextW(window_, kDummyVersion, version.c_str());
    SetDlgItemTextW(window_, kDummyTitle, kApplicationTitle);
    winform::SetProgramIcon(window_);
    SendDlgItemMessageW(window_, kDummyIcon, STM_SETICON, reinterpret_cast<WPARAM>(winform::ProgramIcon(32)), 0);
    SendMessageW(window_, DM_SETDEFID, IDOK, 0);
    SetFocus(GetDlgItem(window_, IDOK));
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
}

void frmDummy::PaintLine() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
  HGDIOBJ old = SelectObject(dc, pen);
  const int y = winform::Pixels(window_, 2445);
  MoveToEx(dc, winform::Pixels(window_, 120), y, nullptr);
  LineTo(dc, winform::Pixels(window_, 5684), y);
  SelectObject(dc, old);
  DeleteObject(pen);
  EndPaint(window_, &paint);
}

void frmDummy::cmdOk_Click() { winform::CloseModal(window_); }

void frmDummy::cmdSysInfo_Click() { StartSysInfo(); }

void frmDummy::StartSysInfo() {
  if (!TryStartSysInfo()) MessageBoxW(window_, kSysInfoUnavailable, kApplicationTitle, MB_OK);
}

bool frmDummy::TryStartSysInfo() {
  try {
    std::string path;
    bool found = GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoValue, path);
    if (!found) {
      std::string folder;
      found = GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoFolderKey, kSysInfoFolderValue, folder);
      path = folder + kSysInfoProgram;
      found = found && fileio::IsOrdinaryFile(fileio::FilePath(wintext::FromAnsi(path)));
    }
    const std::wstring program = wintext::FromAnsi(path);
    return found && StartProgram(program, L"\"" + program + L"\"");
  } catch (...) {
    return false;  // answered, like every other failure here, by the message of StartSysInfo
  }
}

bool frmDummy::GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(KeyRoot, KeyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    KeyVal.clear();
    return false;
  }
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  const LONG status =
      RegQueryValueExA(key, SubKeyRef.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    KeyVal.clear();
    return false;
  }
  const std::string value(buffer, sizeof buffer);
  const std::size_t nul = value.find('\0');
  // A value that fills the whole buffer has no end to cut at: a failure for the caller to answer.
  if (nul == std::string::npos) throw err::AppError(err::kInvalidArgument);
  if (type == REG_SZ) {
    KeyVal = value.substr(0, nul);
  } else if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    memcpy(&number, buffer, sizeof number);
    KeyVal = std::to_string(number);
  }
  return true;
}
