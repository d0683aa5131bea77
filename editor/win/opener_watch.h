// Who opens .eps files, found out off the list window's thread: the shell's association and the
// other program's version resource may wait on a slow disk or network path, and the window must
// neither open nor close late for them.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "file_io.h"
#include "opener_status.h"
#include "win_form.h"
#include "window_work.h"

// A part of the list window. Nothing is read before the window's first painting; then a thread of
// its own reads, and again each time the window becomes active, since the user may come back from
// Windows' settings having chosen another program. Answers that come after the window has gone go
// with the state that the thread and the window share.
class OpenerWatch : private winform::Part {
 public:
  // `answer` takes each reading on the window's thread; `folder` holds the launcher.
  OpenerWatch(winform::Dialog& owner, fileio::FilePath folder, std::function<void(const editor::OpenerState&)> answer);
  ~OpenerWatch();

  struct State;  // what the window shares with the thread

 private:
  bool OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Layout(HWND owner, int dpi) override;
  void OwnerDestroyed() override;
  void Request();

  const fileio::FilePath folder_;
  const std::function<void(const editor::OpenerState&)> answer_;
  winform::WindowWork<State> work_;
};
