// Where launchers with files of one kind meet, in the user's session: the kind's meeting point (a
// named mutex, held by the launcher that decides for the kind), the signal that its chooser takes
// files (a named manual-reset event), and that launcher's message-only window, which takes the
// files that other launchers hand over by WM_COPYDATA. A killed launcher leaves nothing behind:
// the system frees its mutex at once (abandoned) and its window goes with it.
#pragma once

#include <windows.h>

#include <functional>

#include "chooser_group.h"
#include "win_handle.h"

class ChooserMeeting {
 public:
  ChooserMeeting() = default;
  ChooserMeeting(const ChooserMeeting&) = delete;
  ChooserMeeting& operator=(const ChooserMeeting&) = delete;
  ~ChooserMeeting() { Leave(); }

  // Waits, without polling, until this launcher holds the kind's meeting point (true) or a ready
  // chooser of the kind has taken the file (false). Throws err::AppError when the system's
  // objects cannot be made.
  bool Join(const launcher::HandOver& handOver);
  // Takes other launchers' files into `group` from the thread's first idle moment on (the chooser
  // shown and painted); `joined` runs after each one taken.
  void Open(launcher::ChooserGroup& group, std::function<void()> joined);
  // Launchers stop handing files over; those that come wait for the meeting point.
  void Close();
  // Lets the meeting point go, the window first. Nothing when not held.
  void Leave();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT TakeHandOver(const COPYDATASTRUCT& data);

  launcher::MeetingNames names_;
  winhandle::KernelHandle host_;
  winhandle::KernelHandle ready_;
  bool held_ = false;
  winhandle::Window window_;
  launcher::ChooserGroup* group_ = nullptr;
  std::function<void()> joined_;
};
