#include "program_checks.h"

#include <mutex>
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

struct ProgramChecks::State : WorkShared {
  struct Request {
    unsigned ticket;
    std::wstring path;
  };
  struct Answer {
    unsigned ticket;
    bool gone;
  };

  std::vector<Request> requests;
  std::vector<Answer> answers;
};

namespace {

// The thread, until nothing is asked for or the window has gone.
void Check(const std::shared_ptr<ProgramChecks::State> state) {
  for (;;) {
    std::vector<ProgramChecks::State::Request> batch;
    {
      const std::lock_guard<std::mutex> lock(state->mutex);
      if (!state->owner || state->requests.empty()) {
        state->working = false;
        return;
      }
      batch.swap(state->requests);
    }
    std::vector<fileio::FilePath> paths;
    for (const auto& request : batch) paths.emplace_back(request.path);
    const std::vector<bool> gone = programs::Gone(paths);
    const std::lock_guard<std::mutex> lock(state->mutex);
    if (!state->owner) {
      state->working = false;
      return;
    }
    for (std::size_t i = 0; i < batch.size(); ++i) state->answers.push_back({batch[i].ticket, gone[i]});
    state->Tell(CheckedMessage(), 0);
  }
}

}  // namespace

ProgramChecks::ProgramChecks(Dialog& owner, std::function<void(unsigned ticket, bool gone)> answer)
    : answer_(std::move(answer)), work_(Check) {
  owner.Plug(*this);
}

ProgramChecks::~ProgramChecks() = default;

void ProgramChecks::Layout(HWND owner, int) {
  if (!work_.shared()) work_.Attach(owner);
}

void ProgramChecks::OwnerDestroyed() { work_.Detach(); }

void ProgramChecks::Request(unsigned ticket, const std::wstring& path) {
  State* state = work_.shared();
  if (!state) return;
  {
    const std::lock_guard<std::mutex> lock(state->mutex);
    state->requests.push_back({ticket, path});
  }
  work_.Start();
}

bool ProgramChecks::OnMessage(HWND, UINT message, WPARAM, LPARAM) {
  if (message != CheckedMessage()) return false;
  State* state = work_.shared();
  if (!state) return true;
  std::vector<State::Answer> answers;
  {
    const std::lock_guard<std::mutex> lock(state->mutex);
    answers.swap(state->answers);
    state->told = false;
  }
  for (const State::Answer& a : answers) answer_(a.ticket, a.gone);
  return true;
}

}  // namespace winform
