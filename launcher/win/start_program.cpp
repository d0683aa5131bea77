#include "start_program.h"

#include <windows.h>

#include "win_handle.h"

bool StartProgram(const std::wstring& program, const std::wstring& commandLine) {
  std::wstring writable = commandLine;  // CreateProcessW may change the buffer
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  // Nobody waits for the program: both handles go at once.
  const winhandle::KernelHandle thread(process.hThread);
  const winhandle::KernelHandle started(process.hProcess);
  return true;
}
