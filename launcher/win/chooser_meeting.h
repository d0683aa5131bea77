// Where launchers with files of one kind meet, in the user's session: the kind's meeting point (a
// named mutex, held by the launcher that decides for the kind), the signal that its chooser takes
// files (a named manual-reset event), and that launcher's message-only window, which takes the
// files that other launchers hand over by WM_COPYDATA. A killed launcher's mutex is freed at once
// (abandoned) and its window goes with it; a ready signal that it left set is cleared by the next
// launcher that takes the meeting point.
#pragma once

#include <windows.h>

#include <functional>

#include "chooser_group.h"
#include "win_handle.h"

class ChooserMeeting {
 public:
  // The class of the chooser's window, and the mark of the WM_COPYDATA that carries a hand-over.
  static constexpr wchar_t kWindowClass[] = L"Varnock.ChooserMeeting";
  static constexpr ULONG_PTR kHandOverTag = 0x564E4B32;

  ChooserMeeting() = default;
  ChooserMeeting(const ChooserMeeting&) = delete;
  ChooserMeeting& operator=(const ChooserMeeting&) = delete;
  ~ChooserMeeting() { Leave(); }

  // Waits until this launcher holds the kind's meeting point, or a ready chooser of the kind has
  // taken the file, or for launcher::kJoinLimit nobody answered (a holder that never gets ready, a
  // ready signal without a window that answers: another program may hold the names), looking
  // again after pauses that grow. At once kAlone when a name is taken by an object of another
  // type. Throws err::AppError when the system's objects cannot be made otherwise.
  launcher::JoinResult Join(launcher::HandOver handOver);
  // Takes other launchers' files into `group` from the thread's first idle moment on (the chooser
  // shown and painted); `joined` runs after each one that the open chooser counts.
  void Open(launcher::ChooserGroup& group, std::function<void()> joined);
  // The chooser has been answered: takes files until the group's grace has passed, running `late`
  // after each, then takes no more.
  void Hold(launcher::ChooserGroup& group, const std::function<void()>& late);
  // Lets the meeting point go, the signal cleared and the window gone first. Nothing when not held.
  void Leave();

 private:
  // Sends the file to the kind's ready chooser; its answer, or 0 when none answered in time.
  LRESULT HandOver(launcher::HandOver& handOver);
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
