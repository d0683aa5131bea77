// Times how long launchers take to put their chooser on the screen, under Wine or Windows, for two
// setups measured in turn:
//   first_paint_bench.exe NAME ROUNDS CAPTION --a LAUNCHER START... --b LAUNCHER START...
// Each START is one launcher process, started with the files it names ("|" between files, each
// file quoted on the command line); all the STARTs of a setup are started at once. A setup's time
// runs from just before its first process is created until a window titled CAPTION of one of its
// processes has first been painted: seen from outside, the window is visible and its update
// region and those of its controls, which showing it fills, have been emptied by their first
// painting. Then every window of the setup's processes is closed until all of them have ended.
// Prints each pair, the medians and "ratio NAME X" (the median of the pairs' ratios, setup a over
// setup b); NAME is ASCII.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "timing.h"
#include "win_handle.h"
#include "windows_timing.h"

namespace {

struct Setup {
  std::wstring launcher;
  std::vector<std::wstring> starts;  // the files of each launcher, "|" between them
};

// The launcher's command line for the files of one start, each file in quotes.
std::wstring CommandLine(const std::wstring& launcher, const std::wstring& files) {
  std::wstring line = L"\"" + launcher + L"\"";
  for (std::size_t begin = 0;;) {
    const std::size_t end = files.find(L'|', begin);
    line += L" \"" + files.substr(begin, end - begin) + L"\"";
    if (end == std::wstring::npos) return line;
    begin = end + 1;
  }
}

struct Search {
  const std::vector<DWORD>* processes;
  const std::wstring* caption;  // none: every visible window of the processes
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  bool ours = false;
  for (const DWORD id : *search->processes) ours = ours || id == process;
  if (!ours || !IsWindowVisible(window)) return TRUE;
  if (search->caption) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*search->caption != text) return TRUE;
  }
  search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> WindowsOf(const std::vector<DWORD>& processes, const std::wstring* caption) {
  Search search{&processes, caption, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Painted since it was shown: the window and each of its visible controls. Showing a window fills
// their update regions, and their first painting empties them again.
bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool painted = true;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(data) = false;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

// Milliseconds from just before the setup's first process is created until a chooser of its
// processes has first been painted; then closes the setup's windows until all its processes have
// ended. A negative result says what failed.
double TimeFirstPaint(const Setup& setup, const std::wstring& caption) {
  // The processes are created one after another on a thread of their own, as a shell starts them,
  // while this thread watches from the first on: a chooser that paints while later launchers are
  // still being created counts from then. (Under Wine each creation waits for the new process to
  // start.)
  std::vector<winhandle::KernelHandle> processes(setup.starts.size());
  std::vector<DWORD> ids(setup.starts.size());
  std::atomic<std::size_t> created{0};
  std::atomic<bool> failed{false};
  const double start = Now();
  std::thread starter([&] {
    for (std::size_t i = 0; i < setup.starts.size(); ++i) {
      std::wstring line = CommandLine(setup.launcher, setup.starts[i]);
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION info{};
      if (!CreateProcessW(setup.launcher.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        failed = true;
        return;
      }
      const winhandle::KernelHandle thread(info.hThread);
      processes[i].reset(info.hProcess);
      ids[i] = info.dwProcessId;
      ++created;
    }
  });
  double painted = -2;
  for (const double end = start + 20000; painted < 0 && !failed && Now() < end; Sleep(1)) {
    const std::vector<DWORD> known(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(created.load()));
    for (HWND window : WindowsOf(known, &caption)) {
      if (Painted(window)) painted = Now() - start;
    }
  }
  starter.join();
  if (failed) return -1;
  for (const double end = Now() + 20000; Now() < end;) {
    bool running = false;
    for (const auto& process : processes) running = running || WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
    if (!running) return painted;
    for (HWND window : WindowsOf(ids, nullptr)) PostMessageW(window, WM_CLOSE, 0, 0);
    Sleep(50);
  }
  for (const auto& process : processes) TerminateProcess(process.get(), 99);
  return -3;
}

// Reads "LAUNCHER START..." from the arguments up to the next "--" option.
int ReadSetup(int argc, wchar_t** argv, int at, Setup& setup) {
  if (at >= argc) return at;
  setup.launcher = argv[at++];
  while (at < argc && std::wcsncmp(argv[at], L"--", 2) != 0) setup.starts.push_back(argv[at++]);
  return at;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Setup a, b;
  int at = 4;
  if (argc > at && std::wcscmp(argv[at], L"--a") == 0) at = ReadSetup(argc, argv, at + 1, a);
  if (argc > at && std::wcscmp(argv[at], L"--b") == 0) at = ReadSetup(argc, argv, at + 1, b);
  if (argc < 4 || at != argc || a.starts.empty() || b.starts.empty()) {
    std::fprintf(stderr, "usage: first_paint_bench NAME ROUNDS CAPTION --a LAUNCHER START... --b LAUNCHER START...\n");
    return 2;
  }
  const std::wstring wideName = argv[1];
  const std::string name(wideName.begin(), wideName.end());  // ASCII
  const int rounds = std::max(1, _wtoi(argv[2]));
  const std::wstring caption = argv[3];
  const winhandle::Window desktop = DesktopWindow(L"first_paint_bench");
  const bool timed = TimePairs(
      rounds, name.c_str(), "a", [&] { return TimeFirstPaint(a, caption); }, "b",
      [&] { return TimeFirstPaint(b, caption); });
  return timed ? 0 : 1;
}
