// The least a launcher must do for a registered file, to compare the launcher's start with: read
// the Shift key as the launcher reads it, then start the program with the file, normal window,
// without waiting.   min_starter.exe "program" "file"
#include <windows.h>

#include <string>
#include <vector>

#include "win_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The quoted words of the command line (no shell32: the launcher does not load it either).
  std::vector<std::wstring> args;
  const std::wstring line = GetCommandLineW();
  for (std::size_t open = line.find(L'"'); open != std::wstring::npos; open = line.find(L'"', open + 1)) {
    const std::size_t close = line.find(L'"', open + 1);
    if (close == std::wstring::npos) break;
    args.push_back(line.substr(open + 1, close - open - 1));
    open = close;
  }
  if (args.size() != 3) return 2;
  const bool shift = GetKeyState(VK_SHIFT) < 0 || GetAsyncKeyState(VK_SHIFT) < 0;
  if (shift) return 3;
  std::wstring commandLine = L"\"" + args[1] + L"\" \"" + args[2] + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(args[1].c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 1;
  }
  // Nobody waits for the program: both handles go at once.
  const winhandle::KernelHandle thread(process.hThread);
  const winhandle::KernelHandle started(process.hProcess);
  return 0;
}
