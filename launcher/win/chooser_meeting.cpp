#include "chooser_meeting.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "error.h"

namespace {

using launcher::HandOverAnswer;

// The longest hand-over: two full paths of the longest kind and the kind's bytes, with room to spare.
constexpr DWORD kMostHandOverBytes = 4 * 32768 * sizeof(wchar_t);

[[noreturn]] void ThrowSystemError() { throw err::AppError(err::FromSystemError(GetLastError())); }

}  // namespace

launcher::JoinResult ChooserMeeting::Join(const launcher::HandOver& handOver) {
  using launcher::JoinResult;
  names_ = launcher::NamesOf(handOver.meeting);
  // A name that another program gave an object of another type: the meeting cannot be had.
  host_.reset(CreateMutexW(nullptr, FALSE, names_.host.c_str()));
  if (!host_ && GetLastError() == ERROR_INVALID_HANDLE) return JoinResult::kAlone;
  if (!host_) ThrowSystemError();
  ready_.reset(CreateEventW(nullptr, TRUE, FALSE, names_.ready.c_str()));
  if (!ready_ && GetLastError() == ERROR_INVALID_HANDLE) return JoinResult::kAlone;
  if (!ready_) ThrowSystemError();
  // Whether a ready chooser may take the file now; after a look that nobody answered, only the
  // meeting point counts until the next look.
  bool offer = true;
  int looks = 0;
  ULONGLONG unanswered = GetTickCount64();  // since when no holder has answered
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - unanswered;
    if (waited >= launcher::kJoinLimit) return JoinResult::kAlone;
    const auto left = static_cast<DWORD>(launcher::kJoinLimit - waited);
    // The meeting point first: when it is free (or its holder was killed) it is taken, whatever
    // the signal says.
    const HANDLE objects[] = {host_.get(), ready_.get()};
    const DWORD woke = WaitForMultipleObjects(offer ? 2 : 1, objects, FALSE,
                                              offer ? left : std::min<DWORD>(left, launcher::PauseBeforeLook(looks)));
    if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0) {
      held_ = true;
      ResetEvent(ready_.get());  // a chooser killed while it was open left it set
      return JoinResult::kHolds;
    }
    if (woke == WAIT_TIMEOUT) {
      offer = true;
      continue;
    }
    if (woke != WAIT_OBJECT_0 + 1) ThrowSystemError();
    const LRESULT answer = HandOver(handOver);
    if (answer == static_cast<LRESULT>(HandOverAnswer::kTaken)) return JoinResult::kHandedOver;
    if (answer == static_cast<LRESULT>(HandOverAnswer::kClosing)) {
      // A closing chooser's launcher cleared the signal before it answered and decides for the kind
      // until it lets go, which it does at once: the next chooser may take the file.
      unanswered = GetTickCount64();
      looks = 0;
      continue;
    }
    // No window, no answer in time (its launcher ended, was killed, or hangs), or a window of another
    // meeting: a stale signal stays set until the next holder clears it, so the meeting point alone
    // counts for a pause before the next look.
    offer = false;
    ++looks;
  }
}

LRESULT ChooserMeeting::HandOver(launcher::HandOver handOver) {
  HWND chooser = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, names_.window.c_str());
  if (!chooser) return 0;
  // The chooser takes the file only until the deadline, well before the wait for its answer ends:
  // a late answer can never leave the file taken by a chooser and opened by its launcher as well.
  handOver.deadline = GetTickCount64() + launcher::kHandOverTakeWithin;
  std::wstring text = launcher::EncodeHandOver(handOver);
  COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(chooser, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                           static_cast<UINT>(launcher::kHandOverWait), &answer)) {
    return 0;
  }
  return static_cast<LRESULT>(answer);
}

void ChooserMeeting::Open(launcher::ChooserGroup& group) {
  static const ATOM windowClass = [] {
    WNDCLASSEXW spec{};
    spec.cbSize = sizeof spec;
    spec.lpfnWndProc = Procedure;
    spec.hInstance = GetModuleHandleW(nullptr);
    spec.lpszClassName = kWindowClass;
    return RegisterClassExW(&spec);
  }();
  if (!windowClass) ThrowSystemError();
  group_ = &group;
  window_.reset(CreateWindowExW(0, kWindowClass, names_.window.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), this));
  if (!window_) ThrowSystemError();
  // Ready once the thread is first idle, which comes only after the chooser has been shown and
  // painted (nothing waits for messages before), so that the launchers that wait take no time from
  // its first paint. Never once the group has closed: the signal stays clear while it refuses files.
  readyAfterPaint_.emplace(nullptr, [this] {
    if (group_ && group_->takes()) SetEvent(ready_.get());
  });
  if (!readyAfterPaint_->waiting()) ThrowSystemError();
}

void ChooserMeeting::Hold(launcher::ChooserGroup& group, const std::function<void()>& late) {
  if (!held_ || !window_) return;
  // The chooser has been shown and answered: the launchers that come now need not wait for a paint.
  readyAfterPaint_.reset();
  if (group.takes()) SetEvent(ready_.get());
  const ULONGLONG answered = GetTickCount64();
  for (bool quit = false; !quit;) {
    late();
    const ULONGLONG now = GetTickCount64();
    const ULONGLONG end = group.GraceEnd(answered);
    if (now >= end) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that asked for it
        quit = true;
        break;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The signal first: a launcher that the closing group answers finds it cleared.
  ResetEvent(ready_.get());
  group.Close();
}

ChooserMeeting::~ChooserMeeting() {
  if (!held_) return;
  readyAfterPaint_.reset();
  ResetEvent(ready_.get());
  // Nothing taken from here on reaches a group that may already have gone.
  group_ = nullptr;
  // The window goes before the meeting point, so that the next holder's is the only one of its name.
  window_.reset();
  ReleaseMutex(host_.get());
}

LRESULT CALLBACK ChooserMeeting::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* meeting = reinterpret_cast<ChooserMeeting*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_COPYDATA && meeting) return meeting->TakeHandOver(*reinterpret_cast<COPYDATASTRUCT*>(lParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ChooserMeeting::TakeHandOver(const COPYDATASTRUCT& data) {
  auto answer = HandOverAnswer::kOther;
  // Any program of the session can send this message: only the exact form is read at all.
  const bool wellFormed = data.dwData == kHandOverTag && data.cbData % sizeof(wchar_t) == 0 &&
                          data.cbData <= kMostHandOverBytes && (data.cbData == 0 || data.lpData);
  bool counted = false;
  if (group_ && wellFormed) {
    try {
      counted = group_->open();
      answer = group_->Take(std::wstring_view(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t)),
                            [] { return GetTickCount64(); });
    } catch (...) {
      // Not taken (no memory left, say): the launcher goes on with its file itself.
    }
  }
  const auto result = static_cast<LRESULT>(answer);
  // A file that joins after the answer is handed out by Hold, outside this message.
  if (answer != HandOverAnswer::kTaken || !counted) return result;
  ReplyMessage(result);  // the launcher that handed its file over ends at once
  try {
    joined_(*group_);
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
  return result;
}
