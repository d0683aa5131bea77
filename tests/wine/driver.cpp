#include "driver.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "win_handle.h"
#include "win_text.h"

namespace drive {

// What Text gives for a window whose thread does not answer.
constexpr wchar_t kNoAnswer[] = L"<no answer>";

std::string ToUtf8(const std::wstring& wide) { return wintext::Narrow(wide, CP_UTF8); }

std::wstring FromUtf8(const std::string& utf8) { return wintext::Wide(utf8, CP_UTF8); }

std::string ToAnsi(const std::wstring& wide) { return wintext::Narrow(wide, CP_ACP); }

fs::path BinFolder() { return wintext::ProgramFolder(); }

fs::path CorpusFolder() {
  return wintext::BufferText(
      [](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(L"VARNOCK_CORPUS", buffer, size); });
}

Sandbox::Sandbox() {
  static int counter = 0;
  folder_ = BinFolder().parent_path() / L"sandbox" /
            (std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) + L"-" +
             std::to_wstring(++counter));
  fs::create_directories(folder_);
}

namespace {

// Ends the programs still running from a file inside `folder`: under Wine, a program whose
// starter was killed in the middle of starting it can stay behind, never running.
void EndProgramsInside(const fs::path& folder) {
  const winhandle::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  std::wstring prefix = folder.wstring() + L"\\";
  CharUpperBuffW(prefix.data(), static_cast<DWORD>(prefix.size()));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    const winhandle::KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
    if (!process) continue;
    wchar_t image[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    if (QueryFullProcessImageNameW(process.get(), 0, image, &length)) {
      std::wstring path(image, length);
      CharUpperBuffW(path.data(), length);
      if (path.rfind(prefix, 0) == 0) {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), 5000);
      }
    }
  }
}

}  // namespace

Sandbox::~Sandbox() {
  EndProgramsInside(folder_);
  std::error_code ignored;
  // Read-only copies too; a folder too deep to walk ends the walk, not the tests.
  for (fs::recursive_directory_iterator entry(folder_, ignored), end; entry != end; entry.increment(ignored)) {
    SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(folder_, ignored);
}

fs::path Sandbox::Put(const std::wstring& relative, const std::string& bytes) const {
  const fs::path path = Path(relative);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string Sandbox::Read(const std::wstring& relative) const {
  std::ifstream file(Path(relative), std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

fs::path Sandbox::Install(const std::wstring& program, const std::wstring& relative) const {
  const fs::path target = Path(relative);
  fs::create_directories(target.parent_path());
  fs::copy_file(BinFolder() / program, target, fs::copy_options::overwrite_existing);
  return target;
}

std::vector<std::wstring> Sandbox::Recorded(const std::wstring& folderRelative, std::size_t count) const {
  std::vector<std::wstring> lines;
  const ULONGLONG end = GetTickCount64() + 10000;
  do {
    lines.clear();
    std::istringstream log(Read(folderRelative + L"\\record.txt"));
    for (std::string line; std::getline(log, line);) lines.push_back(FromUtf8(line));
    if (lines.size() >= count) break;
    Sleep(50);
  } while (GetTickCount64() < end);
  return lines;
}

Process::Process(const fs::path& program, const std::wstring& commandLine) {
  std::wstring writable = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     program.parent_path().c_str(), &startup, &info)) {
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
  }
}

Process::~Process() {
  if (!process_) return;
  if (Running()) TerminateProcess(process_.get(), 99);
  WaitForSingleObject(process_.get(), 5000);
}

bool Process::Ended(DWORD milliseconds) {
  return process_ && WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool StartThroughWineLoader(const fs::path& program, const std::wstring& tail) {
  // The loader that runs this driver; Wine exports the conversion of a path to its Unix form.
  wchar_t loader[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"WINELOADER", loader, MAX_PATH)) return false;
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  char* unixProgram = unixName((L"\\\\?\\" + program.wstring()).c_str());
  if (!unixProgram) return false;
  std::wstring commandLine = Quoted(loader) + L" " + Quoted(FromUtf8(unixProgram)) + tail;
  HeapFree(GetProcessHeap(), 0, unixProgram);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(loader, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  const winhandle::KernelHandle process(info.hProcess);
  const winhandle::KernelHandle thread(info.hThread);
  return true;
}

std::vector<HWND> Windows(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((s->processId == 0 || owner == s->processId) && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& test, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    for (HWND window : Windows(processId)) {
      if (test(window)) return window;
    }
    Sleep(2);
  } while (GetTickCount64() < end);
  return nullptr;
}

HWND WaitForCaption(DWORD processId, const std::wstring& caption, DWORD milliseconds) {
  return WaitForWindow(
      processId, [&](HWND window) { return Text(window) == caption; }, milliseconds);
}

std::wstring Text(HWND window) {
  // GetWindowText does not ask a control of another process for its current text; WM_GETTEXT does.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return kNoAnswer;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  text.resize(copied);
  return text;
}

std::wstring Caption(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

namespace {

// A box that has just appeared may not have reached its message loop yet; a thread that has not
// asked for messages for a while counts as hung until it does, and gives no answer meanwhile.
std::wstring AnsweredText(HWND window) {
  const ULONGLONG end = GetTickCount64() + 5000;
  std::wstring text = Text(window);
  while (text == kNoAnswer && IsWindow(window) && GetTickCount64() < end) {
    Sleep(20);
    text = Text(window);
  }
  return text;
}

}  // namespace

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, DWORD milliseconds) {
  // A message box is a dialog whose text is the static control 0xFFFF.
  HWND box = WaitForWindow(
      processId, [](HWND window) { return ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF); }, milliseconds);
  if (!box) return std::nullopt;
  MessageBoxView view;
  view.window = box;
  view.title = AnsweredText(box);
  view.text = AnsweredText(GetDlgItem(box, 0xFFFF));
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
        SendMessageW(child, STM_GETICON, 0, 0)) {
      view.icon = true;
    }
    if (ClassOf(child) == L"Button" && IsWindowVisible(child)) view.buttons.push_back(Text(child));
  }
  return view;
}

namespace {

// A picture drawn by `draw` into a device context of its own, `width` by `height` pixels.
template <typename Draw>
Picture Painted(int width, int height, Draw draw) {
  Picture picture;
  if (width <= 0 || height <= 0) return picture;
  const winhandle::WindowDc screen(nullptr);
  const winhandle::MemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const winhandle::Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return picture;
  const winhandle::Selection selected(memory.get(), bitmap.get());
  draw(memory.get(), screen.get());
  GdiFlush();
  picture.width = width;
  picture.height = height;
  const auto* bgrx = static_cast<const BYTE*>(bits);
  for (int i = 0; i < width * height; ++i) {
    picture.pixels.push_back(RGB(bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]));
  }
  return picture;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

Picture OnScreen(HWND window, const RECT& area) {
  POINT origin{area.left, area.top};
  ClientToScreen(window, &origin);
  return Painted(area.right - area.left, area.bottom - area.top, [&](HDC memory, HDC screen) {
    BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, origin.x, origin.y, SRCCOPY);
  });
}

Picture DrawnIcon(HICON icon, int size, COLORREF background) {
  return Painted(size, size, [&](HDC memory, HDC) {
    const RECT all{0, 0, size, size};
    const winhandle::Brush brush(CreateSolidBrush(background));
    FillRect(memory, &all, brush.get());
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  });
}

POINT Find(const Picture& whole, const Picture& part, int tolerance) {
  for (int y = 0; y + part.height <= whole.height; ++y) {
    for (int x = 0; x + part.width <= whole.width; ++x) {
      bool same = true;
      for (int py = 0; py < part.height && same; ++py) {
        for (int px = 0; px < part.width && same; ++px)
          same = Near(whole.At(x + px, y + py), part.At(px, py), tolerance);
      }
      if (same) return {x, y};
    }
  }
  return {-1, -1};
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void ClickId(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

HWND Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void PressKey(HWND window, UINT key) {
  HWND target = Focus(window);
  if (!target) target = window;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

std::vector<std::wstring> ListBoxRows(HWND dialog, int id) {
  std::vector<std::wstring> rows(static_cast<std::size_t>(SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0)));
  for (WPARAM row = 0; row < rows.size(); ++row) {
    rows[row].resize(static_cast<std::size_t>(SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, row, 0)) + 1);
    rows[row].resize(static_cast<std::size_t>(
        SendDlgItemMessageW(dialog, id, LB_GETTEXT, row, reinterpret_cast<LPARAM>(rows[row].data()))));
  }
  return rows;
}

}  // namespace drive
extern const wchar_t* const kApplicationTitle = L"driver";
