// Work for a window done by a thread of its own (testing whether programs are there, reading their
// icons), which can wait long on a network path: the window must neither open nor close late for it.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "win_form.h"

namespace winform {

// What the window and the thread share, beside the requests and results of the work itself (a
// `requests` container that the window fills and the thread empties). Whichever side lets go of it
// last releases it: results that come after the window has gone go with it.
struct WorkShared {
  // Tells the owner by `message` that results are waiting, once for all that come before it takes
  // them. Under the mutex.
  void Tell(UINT message, WPARAM wParam) {
    if (!told) told = PostMessageW(owner, message, wParam, 0) != 0;
  }

  std::mutex mutex;
  HWND owner = nullptr;  // told when results have come; none once the window has gone
  bool told = false;     // the owner has been told and has not taken the results yet
  bool working = false;  // a thread is working
};

// Starts `work` on a thread with the state `Shared` (a WorkShared) once the owner window has first
// been painted, and again whenever requests come while no thread works; the thread ends when no
// request is left or the window has gone.
template <typename Shared>
class WindowWork {
 public:
  using Work = void (*)(std::shared_ptr<Shared>);

  explicit WindowWork(Work work) : work_(work) {}
  WindowWork(const WindowWork&) = delete;
  WindowWork& operator=(const WindowWork&) = delete;
  ~WindowWork() { Detach(); }

  // Once the owner exists; nothing starts before its first painting.
  void Attach(HWND owner) {
    Detach();
    shared_ = std::make_shared<Shared>();
    shared_->owner = owner;
    firstPaint_.emplace(owner, [this] {
      painted_ = true;
      Start();
    });
  }
  // The thread is let go and told nothing more: the owner has gone, or the part that asked.
  void Detach() {
    firstPaint_.reset();
    painted_ = false;
    if (!shared_) return;
    {
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      shared_->owner = nullptr;
    }
    shared_.reset();
  }
  // After new requests: a thread takes them, at once when the owner has been painted.
  void Start() {
    if (!shared_ || !painted_) return;
    {
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      if (shared_->working || shared_->requests.empty()) return;
      shared_->working = true;
    }
    try {
      std::thread(work_, shared_).detach();
    } catch (const std::system_error&) {
      // No thread to be had: the rows stay as drawn before any answer, which is all they lose.
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      shared_->working = false;
      shared_->requests.clear();
    }
  }

  // The state shared with the thread; none before Attach and after Detach.
  Shared* shared() const { return shared_.get(); }

 private:
  const Work work_;
  std::shared_ptr<Shared> shared_;
  std::optional<AfterFirstPaint> firstPaint_;
  bool painted_ = false;
};

}  // namespace winform
