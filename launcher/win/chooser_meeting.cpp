#include "chooser_meeting.h"

#include <string>
#include <string_view>
#include <utility>

#include "error.h"

namespace {

using launcher::HandOverAnswer;

constexpr wchar_t kWindowClass[] = L"Varnock.ChooserMeeting";
constexpr UINT_PTR kReadyTimer = 1;
// Marks the WM_COPYDATA that carries a hand-over.
constexpr ULONG_PTR kHandOverTag = 0x564E4B31;

[[noreturn]] void ThrowSystemError() { throw err::AppError(err::FromSystemError(GetLastError())); }

}  // namespace

bool ChooserMeeting::Join(const launcher::HandOver& handOver) {
  names_ = launcher::NamesOf(handOver.meeting);
  host_.reset(CreateMutexW(nullptr, FALSE, names_.host.c_str()));
  if (!host_) ThrowSystemError();
  ready_.reset(CreateEventW(nullptr, TRUE, FALSE, names_.ready.c_str()));
  if (!ready_) ThrowSystemError();
  std::wstring text = launcher::EncodeHandOver(handOver);
  COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
  // Whether a ready chooser may still take the file; once it cannot, only the meeting point counts.
  bool offer = true;
  for (;;) {
    // The meeting point first: when it is free (or its holder was killed) it is taken, whatever
    // the signal says.
    const HANDLE objects[] = {host_.get(), ready_.get()};
    const DWORD woke = WaitForMultipleObjects(offer ? 2 : 1, objects, FALSE, INFINITE);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0) {
      held_ = true;
      ResetEvent(ready_.get());  // a chooser killed while it was open left it set
      return true;
    }
    if (woke != WAIT_OBJECT_0 + 1) ThrowSystemError();
    HWND chooser = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, names_.window.c_str());
    // No time-out: an answer that came after one would leave it unknown whether the file was taken.
    // A chooser's launcher that is killed ends the call at once.
    const LRESULT answer = chooser ? SendMessageW(chooser, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) : 0;
    if (answer == static_cast<LRESULT>(HandOverAnswer::kTaken)) return false;
    // A closing chooser's launcher cleared the signal before it answered and decides for the kind
    // until it lets go: the next chooser may take the file. Without an answer the window has gone
    // with its killed launcher, whose signal stays set until the next holder clears it: the next
    // chooser may take the file too. Only a window of another meeting leaves the meeting point alone
    // to count.
    offer = answer != static_cast<LRESULT>(HandOverAnswer::kOther);
  }
}

void ChooserMeeting::Open(launcher::ChooserGroup& group, std::function<void()> joined) {
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
  joined_ = std::move(joined);
  window_.reset(CreateWindowExW(0, kWindowClass, names_.window.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), this));
  if (!window_) ThrowSystemError();
  // Ready once the thread is first idle: the timer's message comes only after the chooser has been
  // shown and painted, so that the launchers that wait take no time from its first paint.
  if (!SetTimer(window_.get(), kReadyTimer, USER_TIMER_MINIMUM, nullptr)) ThrowSystemError();
}

void ChooserMeeting::Close() {
  // Only the holder speaks for the kind: a launcher that handed its file over leaves the signal be.
  if (!held_) return;
  if (window_) KillTimer(window_.get(), kReadyTimer);
  ResetEvent(ready_.get());
}

void ChooserMeeting::Leave() {
  if (!held_) return;
  Close();
  // Nothing taken from here on reaches a group that may already have gone.
  group_ = nullptr;
  joined_ = nullptr;
  // The window goes before the meeting point, so that the next holder's is the only one of its name.
  window_.reset();
  held_ = false;
  ReleaseMutex(host_.get());
}

LRESULT CALLBACK ChooserMeeting::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* meeting = reinterpret_cast<ChooserMeeting*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_COPYDATA && meeting) return meeting->TakeHandOver(*reinterpret_cast<COPYDATASTRUCT*>(lParam));
  if (message == WM_TIMER && wParam == kReadyTimer && meeting) {
    KillTimer(window, kReadyTimer);
    // Never once the chooser is closing: the signal stays clear while it refuses files.
    if (meeting->group_ && meeting->group_->open()) SetEvent(meeting->ready_.get());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ChooserMeeting::TakeHandOver(const COPYDATASTRUCT& data) {
  auto answer = HandOverAnswer::kOther;
  if (group_ && data.dwData == kHandOverTag && data.cbData % sizeof(wchar_t) == 0) {
    try {
      answer = group_->Take(std::wstring_view(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t)));
    } catch (...) {
      // Not taken (no memory left, say): the launcher goes on with its file itself.
    }
  }
  const auto result = static_cast<LRESULT>(answer);
  if (answer != HandOverAnswer::kTaken) return result;
  ReplyMessage(result);  // the launcher that handed its file over ends at once
  try {
    joined_();
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
  return result;
}
