#include "program_checks.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "file_io.h"
#include "programs_gone.h"

namespace winform {
namespace {

// Registered, so that it can be no message of the window's own.
UINT CheckedMessage() {
  static const UINT message = RegisterWindowMessageW(L"winform.ProgramChecks.Checked");
  return message;
}

}  // namespace

struct ProgramChecks::State {
  struct Request {
    unsigned ticket;
    std::wstring path;
  };
  struct Answer {
    unsigned ticket;
    bool gone;
  };

  // Tells the window that answers are waiting, once for all that come before it takes them. Under
  // the mutex.
  void Tell() {
    if (!told) told = PostMessageW(owner, CheckedMessage(), 0, 0) != 0;
  }

  std::mutex mutex;
  HWND owner = nullptr;  // none once the window has gone
  std::vector<Request> requests;
  std::vector<Answer> answers;
  bool told = false;
  bool checking = false;  // a thread is testing
};

namespace {

// The thread, until nothing is asked for or the window has gone.
void Check(const std::shared_ptr<ProgramChecks::State> state) {
  for (;;) {
    std::vector<ProgramChecks::State::Request> batch;
    {
      const std::lock_guard<std::mutex> lock(state->mutex);
      if (!state->owner || state->requests.empty()) {
        state->checking = false;
        return;
      }
      batch.swap(state->requests);
    }
    std::vector<fileio::FilePath> paths;
    for (const auto& request : batch) paths.emplace_back(request.path);
    const std::vector<bool> gone = programs::Gone(paths);
    const std::lock_guard<std::mutex> lock(state->mutex);
    if (!state->owner) {
      state->checking = false;
      return;
    }
    for (std::size_t i = 0; i < batch.size(); ++i) state->answers.push_back({batch[i].ticket, gone[i]});
    state->Tell();
  }
}

}  // namespace

ProgramChecks::~ProgramChecks() { Detach(); }

void ProgramChecks::Attach(HWND owner) {
  Detach();
  owner_ = owner;
  state_ = std::make_shared<State>();
  state_->owner = owner;
  painted_ = false;
  // Timer messages come only when nothing is left to paint: the first tick after the window has
  // been shown follows its first painting.
  SetTimer(owner_, reinterpret_cast<UINT_PTR>(this), USER_TIMER_MINIMUM, OnFirstPaint);
}

void ProgramChecks::Detach() {
  if (!state_) return;
  if (!painted_ && IsWindow(owner_)) KillTimer(owner_, reinterpret_cast<UINT_PTR>(this));
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->owner = nullptr;
    state_->requests.clear();
    state_->answers.clear();
  }
  state_.reset();
  owner_ = nullptr;
}

void CALLBACK ProgramChecks::OnFirstPaint(HWND owner, UINT, UINT_PTR timer, DWORD) {
  if (!IsWindowVisible(owner)) return;  // not shown yet: the painting is still to come
  KillTimer(owner, timer);
  auto* self = reinterpret_cast<ProgramChecks*>(timer);
  self->painted_ = true;
  self->StartChecking();
}

void ProgramChecks::Request(unsigned ticket, const std::wstring& path) {
  if (!state_) return;
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->requests.push_back({ticket, path});
  }
  if (painted_) StartChecking();
}

void ProgramChecks::StartChecking() {
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->checking || state_->requests.empty()) return;
    state_->checking = true;
  }
  try {
    std::thread(Check, state_).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the rows stay shown as present, which is all they lose.
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->checking = false;
    state_->requests.clear();
  }
}

bool ProgramChecks::OnMessage(UINT message, const std::function<void(unsigned ticket, bool gone)>& answer) {
  if (message == WM_DESTROY) {
    Detach();
    return false;
  }
  if (message != CheckedMessage()) return false;
  if (!state_) return true;
  std::vector<State::Answer> answers;
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    answers.swap(state_->answers);
    state_->told = false;
  }
  for (const State::Answer& a : answers) answer(a.ticket, a.gone);
  return true;
}

}  // namespace winform
