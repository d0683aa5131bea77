// Times the start of a program for a registered file under Wine or Windows:
//   startup_bench.exe ROUNDS LAUNCHER STARTER PROGRAM FILE
// runs, in turn, LAUNCHER "FILE" and STARTER "PROGRAM" "FILE", each from just before it is created
// to the moment PROGRAM's process is created (a job object reports every process that this one and
// its children create). A window of this program stays open all along, so that the desktop exists
// for both, as it always does on Windows. Prints each pair, the medians and "ratio startup X"
// (the median of the pairs' ratios).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "timing.h"
#include "win_handle.h"
#include "windows_timing.h"

namespace {

struct Job {
  winhandle::KernelHandle job{CreateJobObjectW(nullptr, nullptr)};
  winhandle::KernelHandle port{CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)};
};

// Milliseconds from just before `commandLine` is created until it creates a process of its own;
// then waits until both have ended. A negative result says what failed.
double TimeStart(Job& job, const std::wstring& program, std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const double start = Now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &child)) {
    return -1;
  }
  double started = -2;
  DWORD grandchild = 0;
  for (;;) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED data = nullptr;
    if (!GetQueuedCompletionStatus(job.port.get(), &message, &key, &data, 10000)) break;
    const auto pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
    if (message == JOB_OBJECT_MSG_NEW_PROCESS && pid != child.dwProcessId && grandchild == 0) {
      started = Now() - start;
      grandchild = pid;
    }
    if ((message == JOB_OBJECT_MSG_EXIT_PROCESS || message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) &&
        pid == grandchild) {
      break;
    }
  }
  const winhandle::KernelHandle thread(child.hThread);
  const winhandle::KernelHandle process(child.hProcess);
  WaitForSingleObject(process.get(), 10000);
  return started;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: startup_bench ROUNDS LAUNCHER STARTER PROGRAM FILE\n");
    return 2;
  }
  const int rounds = std::max(1, _wtoi(argv[1]));
  const std::wstring launcher = argv[2], starter = argv[3], program = argv[4], file = argv[5];

  const winhandle::Window window = DesktopWindow(L"startup_bench");

  Job job;
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{};
  association.CompletionKey = job.job.get();
  association.CompletionPort = job.port.get();
  if (!SetInformationJobObject(job.job.get(), JobObjectAssociateCompletionPortInformation, &association,
                               sizeof association) ||
      !AssignProcessToJobObject(job.job.get(), GetCurrentProcess())) {
    std::fprintf(stderr, "startup_bench: no job object (error %lu)\n", GetLastError());
    return 1;
  }

  const std::wstring launcherLine = L"\"" + launcher + L"\" \"" + file + L"\"";
  const std::wstring starterLine = L"\"" + starter + L"\" \"" + program + L"\" \"" + file + L"\"";
  const bool timed = TimePairs(
      rounds, "startup", "launcher", [&] { return TimeStart(job, launcher, launcherLine); }, "least starter",
      [&] { return TimeStart(job, starter, starterLine); });
  return timed ? 0 : 1;
}
