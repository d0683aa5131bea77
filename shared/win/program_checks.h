// Whether programs are there, found out off a window's thread: the existence test can wait long on
// a network path, and a window must neither open nor close late for it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace winform {

// The window hands its tests to Request and its messages to OnMessage. Nothing is tested before
// the window's first painting; then a thread of its own tests the programs asked for so far, and
// any asked for later, and posts the answers back. A window that closes never waits for a test:
// answers that come after it has gone go with the state that the thread and the window share,
// whichever lets go of it last.
class ProgramChecks {
 public:
  ProgramChecks() = default;
  ProgramChecks(const ProgramChecks&) = delete;
  ProgramChecks& operator=(const ProgramChecks&) = delete;
  ~ProgramChecks();

  // Once the window exists (Form_Load), before any Request.
  void Attach(HWND owner);
  // Whether the program at `path` is there; the answer comes under `ticket`.
  void Request(unsigned ticket, const std::wstring& path);
  // The window's messages: answers that have come are handed to `answer` (ticket, gone) on the
  // window's thread; at the window's WM_DESTROY the thread is let go. True when the message was one
  // of the answers'.
  bool OnMessage(UINT message, const std::function<void(unsigned ticket, bool gone)>& answer);

  struct State;  // what the window shares with the thread

 private:
  void Detach();
  void StartChecking();
  static void CALLBACK OnFirstPaint(HWND owner, UINT, UINT_PTR timer, DWORD);

  HWND owner_ = nullptr;
  bool painted_ = false;
  std::shared_ptr<State> state_;
};

}  // namespace winform
