// What the benchmarks of the Windows programs time with, under Wine or Windows: a clock in
// milliseconds, and a window of the timing program's own that stays open all along, so that the
// desktop exists for every program started, as it always does on Windows.
#pragma once

#include <windows.h>

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
