#include "opener_watch.h"

#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Registered, so that it can be no message of the window's own.
UINT ReadMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quelby.OpenerWatch.Read");
  return message;
}

}  // namespace

struct OpenerWatch::State : winform::WorkShared {
  std::vector<fileio::FilePath> requests;  // one reading answers every request made before it
  std::optional<editor::OpenerState> answer;
};

namespace {

// The thread, until no reading is asked for or the window has gone.
void Read(const std::shared_ptr<OpenerWatch::State> state) {
  for (;;) {
    fileio::FilePath folder;
    {
      const std::lock_guard<std::mutex> lock(state->mutex);
      if (!state->owner || state->requests.empty()) {
        state->working = false;
        return;
      }
      folder = state->requests.back();
      state->requests.clear();
    }
    const editor::OpenerState read = editor::ReadOpenerState(folder);
    const std::lock_guard<std::mutex> lock(state->mutex);
    if (!state->owner) {
      state->working = false;
      return;
    }
    state->answer = read;
    state->Tell(ReadMessage(), 0);
  }
}

}  // namespace

OpenerWatch::OpenerWatch(winform::Dialog& owner, fileio::FilePath folder,
                         std::function<void(const editor::OpenerState&)> answer)
    : folder_(std::move(folder)), answer_(std::move(answer)), work_(Read) {
  owner.Plug(*this);
}

OpenerWatch::~OpenerWatch() = default;

void OpenerWatch::Layout(HWND owner, int) {
  if (work_.shared()) return;
  work_.Attach(owner);
  Request();
}

void OpenerWatch::OwnerDestroyed() { work_.Detach(); }

void OpenerWatch::Request() {
  State* state = work_.shared();
  if (!state) return;
  {
    const std::lock_guard<std::mutex> lock(state->mutex);
    state->requests.push_back(folder_);
  }
  work_.Start();
}

bool OpenerWatch::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_ACTIVATE) {
    if (LOWORD(wParam) != WA_INACTIVE) Request();
    return false;  // the dialog's own handling of the activation goes on
  }
  if (message != ReadMessage()) return false;
  State* state = work_.shared();
  if (!state) return true;
  std::optional<editor::OpenerState> answer;
  {
    const std::lock_guard<std::mutex> lock(state->mutex);
    answer.swap(state->answer);
    state->told = false;
  }
  if (answer) answer_(*answer);
  return true;
}
