#include "frm_dummy.h"

#include <string>

#include "error.h"
#include "file_io.h"
#include "launcher_texts.h"
#include "launcher_win.h"
#include "start_program.h"
#include "version.h"
#include "win_handle.h"
#include "win_text.h"

namespace {

using namespace launcher_ids;
using namespace launcher_texts;

constexpr char kSysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kSysInfoValue[] = "PATH";
constexpr char kSysInfoFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kSysInfoFolderValue[] = "MSINFO";
constexpr char kSysInfoProgram[] = "\\MSINFO32.EXE";

constexpr winform::FontSpec kTitleFont{winform::kUiFont, 18.0};

const winform::Control kControls[] = {
    {IDOK, L"BUTTON", kAboutOk, WS_TABSTOP | BS_DEFPUSHBUTTON, 4290, 2625, 1425, 345},
    {kDummyText1, L"EDIT", kAboutContact, WS_TABSTOP | ES_MULTILINE | ES_READONLY, 240, 2640, 3855, 1035},
    {kDummyIcon, L"STATIC", L"", SS_ICON, 270, 240, 540, 540},
    {kDummySysInfo, L"BUTTON", kAboutSysInfo, WS_TABSTOP | BS_PUSHBUTTON, 4290, 3075, 1425, 345},
    {kDummyDescription, L"STATIC", kAboutDescription, SS_LEFT, 1080, 1125, 4005, 1170},
    {kDummyTitle, L"STATIC", kAboutDesignTitle, SS_LEFT, 1080, 240, 3885, 480, &kTitleFont},
    {kDummyVersion, L"STATIC", kAboutDesignVersion, SS_LEFT, 1080, 780, 3885, 225},
};

// A fixed dialog frame with a close box, kept out of the taskbar by its owner.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
const winform::FormSpec kForm{nullptr, kStyle, WS_EX_DLGMODALFRAME, 5985, 4050, kControls, std::size(kControls)};

}  // namespace

frmDummy::frmDummy() : Dialog(kForm) {}

void frmDummy::ShowModal() {
  // An invisible owner keeps the window out of the taskbar.
  const winhandle::Window owner(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  Create(owner.get());
  winform::CenterOnScreen(window());
  RunModal();
}

void frmDummy::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) cmdOk_Click();
  if (id == kDummySysInfo) cmdSysInfo_Click();
}

INT_PTR frmDummy::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: PaintLine(); return TRUE;
    case WM_CTLCOLORSTATIC:
      // The title and the description are black on the window's colour.
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kDummyText1) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    default: return FALSE;
  }
}

void frmDummy::Form_Load() {
  SetWindowTextW(window(), (std::wstring(kApplicationTitle) + kAboutCaptionAfterTitle).c_str());
  const std::wstring version = kAboutVersion + std::to_wstring(VARNOCK_VERSION_MAJOR) + L"." +
                               std::to_wstring(VARNOCK_VERSION_MINOR) + kAboutBuild +
                               std::to_wstring(VARNOCK_VERSION_REVISION) + L")";
  SetDlgItemTextW(window(), kDummyVersion, version.c_str());
  SetDlgItemTextW(window(), kDummyTitle, kApplicationTitle);
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
  SetFocus(Item(IDOK));
}

void frmDummy::OnLayout() {
  // All five lines of the contact notice stay in view.
  Keep(winform::FitEditFont(Item(kDummyText1), winform::kUiFontSpec, dpi(), 5));
  SendDlgItemMessageW(window(), kDummyIcon, STM_SETICON,
                      reinterpret_cast<WPARAM>(winform::ProgramIcon(MulDiv(32, dpi(), 96))), 0);
}

void frmDummy::PaintLine() {
  const winhandle::PaintDc dc(window());
  const winhandle::Pen pen(CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
  const winhandle::Selection selected(dc.get(), pen.get());
  const int y = Pixels(2445);
  MoveToEx(dc.get(), Pixels(120), y, nullptr);
  LineTo(dc.get(), Pixels(5684), y);
}

void frmDummy::cmdOk_Click() { Close(); }

void frmDummy::cmdSysInfo_Click() { StartSysInfo(); }

void frmDummy::StartSysInfo() {
  if (!TryStartSysInfo()) MessageBoxW(window(), kSysInfoUnavailable, kApplicationTitle, MB_OK);
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
  winhandle::RegistryKey key;
  if (RegOpenKeyExA(KeyRoot, KeyName.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
    KeyVal.clear();
    return false;
  }
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  const LONG status =
      RegQueryValueExA(key.get(), SubKeyRef.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  key.reset();
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
