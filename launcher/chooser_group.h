// Files that share one chooser: launchers started at once for files of one kind (Explorer starts
// one per selected file) meet, and the first to need the chooser asks once for all of them.
#pragma once

#include <cstddef>
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

// A file handed by one launcher to another's chooser: the meeting it is for and its path.
struct HandOver {
  Meeting meeting;
  std::wstring file;
};
std::wstring EncodeHandOver(const HandOver& handOver);
// No value when the text is no hand-over.
std::optional<HandOver> DecodeHandOver(std::wstring_view text);

// What a chooser answers a launcher that hands it a file; the window gives 0 when it has gone.
enum class HandOverAnswer {
  kTaken = 1,    // the file is the chooser's now: the launcher ends
  kClosing = 2,  // the chooser is closing; its launcher decides for the kind until it lets go
  kOther = 3,    // not a hand-over for this chooser
};

// The prompt of the chooser for `count` files: the one-file prompt as it always was, or the
// number of files in its place.
std::wstring ChooserPrompt(bool formatKnown, std::size_t count);

// The files of one open chooser, in the order they joined.
class ChooserGroup {
 public:
  ChooserGroup(Meeting meeting, std::wstring firstFile, bool formatKnown);

  const std::vector<std::wstring>& files() const { return files_; }
  bool open() const { return open_; }
  std::wstring Prompt() const { return ChooserPrompt(formatKnown_, files_.size()); }

  // A launcher's hand-over, as it arrives (EncodeHandOver's text).
  HandOverAnswer Take(std::wstring_view handOver);
  // The chooser closes: no file joins any more.
  void Close() { open_ = false; }

 private:
  Meeting meeting_;
  std::vector<std::wstring> files_;
  bool formatKnown_;
  bool open_ = true;
};

}  // namespace launcher
