// Files that share one chooser: launchers started at once for files of one kind (Explorer starts
// one per selected file) meet, and the first to need the chooser asks once for all of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The kind of a file as the link table tells kinds apart: its creator text and creator version,
// both upper-cased as the look-up compares them, or "unknown format". Files of one kind share a
// chooser. Bytes in the ANSI code page, as the header gives them.
std::string KindKey(const std::optional<std::string>& creatorText, const std::string& creatorVersion);

// The meeting of the launchers of one kind that use one link.ini: the file's identity (its full
// path, upper-cased, as the link.ini lock names it) and the kind.
struct Meeting {
  std::wstring linkIni;
  std::string kind;
  bool operator==(const Meeting& other) const { return linkIni == other.linkIni && kind == other.kind; }
};

// The names of the meeting's system objects in the user's session: the meeting point that the
// chooser's launcher holds, the signal that its chooser takes files, and the name of the window
// that takes them.
struct MeetingNames {
  std::wstring host;
  std::wstring ready;
  std::wstring window;
};
MeetingNames NamesOf(const Meeting& meeting);

// A file handed by one launcher to another's chooser: the meeting it is for, its path, and the
// system tick count (milliseconds) after which the chooser must no longer take it: the launcher
// stops waiting for the answer a while after that, and then deals with its file itself.
struct HandOver {
  Meeting meeting;
  std::wstring file;
  std::uint64_t deadline = 0;
};
std::wstring EncodeHandOver(const HandOver& handOver);
// No value when the text is no hand-over.
std::optional<HandOver> DecodeHandOver(std::wstring_view text);

// What a chooser answers a launcher that hands it a file; the window gives 0 when it has gone.
enum class HandOverAnswer {
  kTaken = 1,    // the file is the chooser's now: the launcher ends
  kClosing = 2,  // the chooser is closing; its launcher decides for the kind until it lets go
  kOther = 3,    // not a hand-over for this chooser, or not one it may take
};

// How joining the meeting of a kind ended.
enum class JoinResult {
  kHolds,       // this launcher holds the meeting point and decides for the kind
  kHandedOver,  // another launcher's chooser took the file
  kAlone,       // the meeting could not be joined: the launcher asks for its file by itself
};

// How long a launcher waits for a chooser to answer its hand-over; the chooser takes the file only
// within the first kHandOverTakeWithin of it, so that its answer always arrives in time.
inline constexpr std::uint64_t kHandOverWait = 10000;
inline constexpr std::uint64_t kHandOverTakeWithin = 8000;

// How long a launcher tries to join its kind's meeting while nobody answers (the meeting point held
// and no ready chooser, or a ready signal without a window that answers) before it asks for its own
// file by itself.
inline constexpr std::uint64_t kJoinLimit = 10000;
// The pause before the next look for a ready chooser after `looks` looks found none that answered:
// short at first, growing, so that a long wait costs next to no processor time.
std::uint32_t PauseBeforeLook(int looks);

// After its chooser has been answered, the chooser's launcher keeps the meeting until this long
// after the answer and after the last file that joined, so that launchers that come a moment late
// get the same answer instead of a chooser of their own.
inline constexpr std::uint64_t kGrace = 2000;

// A path that may be put on a started program's command line: a full path without a double quote
// or a control character, which could end the argument or the line early. Form only.
bool IsStartablePathForm(const std::wstring& path);
// The same, of an existing ordinary file.
bool IsStartableFile(const std::wstring& path);
// A program path that may stand quoted on the command line: no double quote, no control character.
bool IsQuotablePath(const std::wstring& path);

// The prompt of the chooser for `count` files: the one-file prompt as it always was, or the
// number of files in its place.
std::wstring ChooserPrompt(bool formatKnown, std::size_t count);

class ChooserGroup;

// The meeting of the launchers whose files of one kind need the chooser, as this launcher takes
// part in it. When it goes it lets the kind's meeting point go, if this launcher holds it: the next
// launcher of the kind decides.
class KindMeeting {
 public:
  virtual ~KindMeeting() = default;
  // Waits, bounded, until this launcher holds the kind's meeting point (it decides for the kind
  // until the meeting goes), or until another launcher's chooser has taken the file, or until it is
  // clear that the meeting cannot be joined (the launcher then asks for its own file by itself). The
  // meeting sets the hand-over's deadline.
  virtual JoinResult Join(const HandOver& handOver) = 0;
  // Other launchers' files of the kind join `group` from now on, while it takes them.
  virtual void Open(ChooserGroup& group) = 0;
  // The chooser has been answered: files of the kind are still taken until the group's grace ends,
  // and `late` runs after each one taken; then no file joins any more.
  virtual void Hold(ChooserGroup& group, const std::function<void()>& late) = 0;
};

// The files of one chooser: those that joined while it was open, in the order they joined, and
// those that joined after it was answered, which get the same answer.
class ChooserGroup {
 public:
  ChooserGroup(Meeting meeting, std::wstring firstFile, bool formatKnown);

  // The files that the chooser counted.
  const std::vector<std::wstring>& files() const { return files_; }
  // The chooser is open (files join its count).
  bool open() const { return state_ == State::kOpen; }
  // Files are taken: the chooser is open or answered and its launcher still keeps the meeting.
  bool takes() const { return state_ != State::kClosed; }
  std::wstring Prompt() const { return ChooserPrompt(formatKnown_, files_.size()); }

  // A launcher's hand-over, as it arrives (EncodeHandOver's text). Taken only when its meeting is
  // this one, its deadline has not passed at `now` (the system's tick count, read after every other
  // check) and its path is a startable existing file.
  HandOverAnswer Take(std::wstring_view handOver, const std::function<std::uint64_t()>& now);
  // The chooser has been answered; files that join from now on get the same answer (TakeLate).
  void Answer();
  // The files that joined after the answer and have not yet been handed out, in their order.
  std::vector<std::wstring> TakeLate();
  // When the launcher may let the meeting go, for an answer at `answeredAt`: kGrace after the later of
  // the answer and the last file that joined.
  std::uint64_t GraceEnd(std::uint64_t answeredAt) const;
  // No file joins any more.
  void Close() { state_ = State::kClosed; }

 private:
  enum class State { kOpen, kAnswered, kClosed };

  Meeting meeting_;
  std::vector<std::wstring> files_;
  std::vector<std::wstring> late_;
  bool formatKnown_;
  State state_ = State::kOpen;
  std::uint64_t lastJoined_ = 0;
};

}  // namespace launcher
