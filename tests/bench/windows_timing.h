// What the benchmarks of the Windows programs time with, under Wine or Windows: a clock in
// milliseconds, and a window of the timing program's own that stays open all along, so that the
// desktop exists for every program started, as it always does on Windows.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "timing.h"
#include "win_handle.h"

inline double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Handles the timing program's messages for a while.
inline void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

// Shown without taking the focus from the programs timed.
inline winhandle::Window DesktopWindow(const wchar_t* className) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  winhandle::Window window(CreateWindowW(className, className, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                         windowClass.hInstance, nullptr));
  ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  Pump(500);
  return window;
}

// Times `first` and `second` in turn, one pair per round with the order alternating (each once
// before, so that their files are cached), and prints each pair, the medians and "ratio NAME X":
// the median of the pairs' ratios, first over second. False when a time says that a run failed
// (not above 0).
inline bool TimePairs(int rounds, const char* name, const char* firstLabel, const std::function<double()>& first,
                      const char* secondLabel, const std::function<double()>& second) {
  first();
  second();
  std::vector<double> firstTimes, secondTimes, ratios;
  for (int round = 0; round < rounds; ++round) {
    double firstTime = 0, secondTime = 0;
    if (round % 2 == 0) {
      firstTime = first();
      secondTime = second();
    } else {
      secondTime = second();
      firstTime = first();
    }
    Pump(20);
    std::printf("round %d: %s %.1f ms, %s %.1f ms\n", round + 1, firstLabel, firstTime, secondLabel, secondTime);
    if (firstTime <= 0 || secondTime <= 0) {
      std::fprintf(stderr, "%s: a run failed (%.0f, %.0f)\n", name, firstTime, secondTime);
      return false;
    }
    firstTimes.push_back(firstTime);
    secondTimes.push_back(secondTime);
    ratios.push_back(firstTime / secondTime);
  }
  std::printf("%s: %s %.1f ms, %s %.1f ms (medians of %d pairs)\n", name, firstLabel, Median(firstTimes), secondLabel,
              Median(secondTimes), rounds);
  std::printf("ratio %s %.2f\n", name, Median(ratios));
  return true;
}
