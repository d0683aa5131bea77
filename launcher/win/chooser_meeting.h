// Where launchers with files of one kind meet, in the user's session: the kind's meeting point (a
// named mutex, held by the launcher that decides for the kind), the signal that its chooser takes
// files (a named manual-reset event), and that launcher's message-only window, which takes the
// files that other launchers hand over by WM_COPYDATA. A launcher killed while it holds the meeting
// point lets it go at once (the system releases the mutex abandoned, which Join takes as free) and
// its window goes with it; the files its chooser had taken go with it, unopened. A ready signal
// that it left set is cleared by the next launcher that takes the meeting point; until then a
// launcher that sees it finds no window, or no answer, and waits for the meeting point alone for a
// pause before it looks again.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>

#include "chooser_group.h"
#include "win_form.h"
#include "win_handle.h"

class ChooserMeeting : public launcher::KindMeeting {
 public:
  // The class of the chooser's window, and the mark of the WM_COPYDATA that carries a hand-over.
  static constexpr wchar_t kWindowClass[] = L"Varnock.ChooserMeeting";
  static constexpr ULONG_PTR kHandOverTag = 0x564E4B32;

  // `joined` runs after each file that the open chooser counts.
  explicit ChooserMeeting(std::function<void(const launcher::ChooserGroup&)> joined) : joined_(std::move(joined)) {}
  ChooserMeeting(const ChooserMeeting&) = delete;
  ChooserMeeting& operator=(const ChooserMeeting&) = delete;
  // Lets the meeting point go, the signal cleared and the window gone first. Nothing when not held.
  ~ChooserMeeting() override;

  // Waits until this launcher holds the kind's meeting point, or a ready chooser of the kind has
  // taken the file, or for launcher::kJoinLimit nobody answered (a holder that never gets ready, a
  // ready signal without a window that answers: another program may hold the names), looking
  // again after pauses that grow. At once kAlone when a name is taken by an object of another
  // type. Throws err::AppError when the system's objects cannot be made otherwise.
  launcher::JoinResult Join(const launcher::HandOver& handOver) override;
  // Takes other launchers' files into `group`; the ready signal is set from the thread's first
  // idle moment on (the chooser shown and painted).
  void Open(launcher::ChooserGroup& group) override;
  // The chooser has been answered: takes files until the group's grace has passed, running `late`
  // after each, then takes no more.
  void Hold(launcher::ChooserGroup& group, const std::function<void()>& late) override;

 private:
  // Sends the file to the kind's ready chooser; its answer, or 0 when none answered in time.
  LRESULT HandOver(launcher::HandOver handOver);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT TakeHandOver(const COPYDATASTRUCT& data);

  launcher::MeetingNames names_;
  winhandle::KernelHandle host_;
  winhandle::KernelHandle ready_;
  bool held_ = false;
  winhandle::Window window_;
  // Sets the ready signal once the chooser has first been painted.
  std::optional<winform::AfterFirstPaint> readyAfterPaint_;
  launcher::ChooserGroup* group_ = nullptr;
  std::function<void(const launcher::ChooserGroup&)> joined_;
};
