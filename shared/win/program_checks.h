// Whether programs are there, found out off a window's thread: the existence test can wait long on
// a network path, and a window must neither open nor close late for it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "win_form.h"
#include "window_work.h"

namespace winform {

// A part of the window that asks: the window hands its tests to Request. Nothing is tested before
// the window's first painting; then a thread of its own tests the programs asked for so far, and
// any asked for later, and posts the answers back. A window that closes never waits for a test:
// answers that come after it has gone go with the state that the thread and the window share,
// whichever lets go of it last.
class ProgramChecks : private Part {
 public:
  // `answer` (ticket, gone) takes each answer on the window's thread.
  ProgramChecks(Dialog& owner, std::function<void(unsigned ticket, bool gone)> answer);
  ~ProgramChecks();

  // Whether the program at `path` is there; the answer comes under `ticket`.
  void Request(unsigned ticket, const std::wstring& path);

  struct State;  // what the window shares with the thread

 private:
  bool OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Layout(HWND owner, int dpi) override;
  void OwnerDestroyed() override;

  const std::function<void(unsigned ticket, bool gone)> answer_;
  WindowWork<State> work_;
};

}  // namespace winform
