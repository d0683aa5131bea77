// Stands in for a drawing application: appends the command line it received, as UTF-8, to
// record.txt in its own folder, one line per start, and ends.
#include <windows.h>

#include <string>

#include "win_handle.h"
#include "win_text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring log =
      wintext::BufferText([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"record.txt";
  const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
  // Several recorders may start at once: wait for the one that is writing.
  winhandle::FileHandle file;
  for (int attempt = 0; attempt < 500 && !file; ++attempt) {
    file.reset(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file) Sleep(10);
  }
  if (!file) return 1;
  DWORD written = 0;
  WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  return 0;
}
