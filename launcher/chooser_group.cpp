#include "chooser_group.h"

#include <algorithm>
#include <utility>

#include "file_io.h"
#include "launcher_texts.h"
#include "link_lock.h"
#include "text.h"

namespace launcher {
namespace {

// A field of a hand-over: its length in decimal, a colon, the field itself.
void AddField(std::wstring& text, std::wstring_view field) {
  text += std::to_wstring(field.size());
  text += L':';
  text += field;
}

// The next field from `pos`; no value when the text holds none there.
std::optional<std::wstring_view> NextField(std::wstring_view text, std::size_t& pos) {
  std::size_t length = 0;
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9' && pos - start < 9) {
    length = length * 10 + static_cast<std::size_t>(text[pos] - L'0');
    ++pos;
  }
  if (pos == start || pos >= text.size() || text[pos] != L':' || text.size() - pos - 1 < length) return std::nullopt;
  const std::wstring_view field = text.substr(pos + 1, length);
  pos += 1 + length;
  return field;
}

// A tick count in decimal, as EncodeHandOver writes it: digits only, no more than a tick count holds.
std::optional<std::uint64_t> TickOf(std::wstring_view digits) {
  constexpr std::size_t kMostDigits = 19;  // below 2^64 whatever the digits
  if (digits.empty() || digits.size() > kMostDigits) return std::nullopt;
  std::uint64_t value = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  return value;
}

bool IsControl(wchar_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string KindKey(const std::optional<std::string>& creatorText, const std::string& creatorVersion) {
  if (!creatorText) return "?";
  const std::string upperText = text::UpperCaseCp932(*creatorText);
  return "=" + std::to_string(upperText.size()) + ":" + upperText + text::UpperCaseCp932(creatorVersion);
}

MeetingNames NamesOf(const Meeting& meeting) {
  const std::wstring name = linklock::LockName(meeting.linkIni, meeting.kind);
  return {name, name + L".ready", name};
}

std::uint32_t PauseBeforeLook(int looks) {
  constexpr std::uint32_t kFirst = 50;
  constexpr std::uint32_t kLongest = 1000;
  std::uint32_t pause = kFirst;
  for (int look = 1; look < looks && pause < kLongest; ++look) pause *= 2;
  return std::min(pause, kLongest);
}

bool IsQuotablePath(const std::wstring& path) {
  return !path.empty() && std::none_of(path.begin(), path.end(), [](wchar_t c) { return c == L'"' || IsControl(c); });
}

bool IsStartablePathForm(const std::wstring& path) {
  return IsQuotablePath(path) && fileio::FilePath(path).is_absolute();
}

bool IsStartableFile(const std::wstring& path) {
  return IsStartablePathForm(path) && fileio::IsOrdinaryFile(fileio::FilePath(path));
}

std::wstring EncodeHandOver(const HandOver& handOver) {
  std::wstring text;
  AddField(text, handOver.meeting.linkIni);
  std::wstring kind;  // its bytes as they are, one character each
  for (const char byte : handOver.meeting.kind) kind += static_cast<wchar_t>(static_cast<unsigned char>(byte));
  AddField(text, kind);
  AddField(text, std::to_wstring(handOver.deadline));
  text += handOver.file;
  return text;
}

std::optional<HandOver> DecodeHandOver(std::wstring_view text) {
  std::size_t pos = 0;
  const auto linkIni = NextField(text, pos);
  const auto kind = linkIni ? NextField(text, pos) : std::nullopt;
  const auto deadlineText = kind ? NextField(text, pos) : std::nullopt;
  const auto deadline = deadlineText ? TickOf(*deadlineText) : std::nullopt;
  if (!deadline || pos == text.size()) return std::nullopt;
  HandOver handOver{{std::wstring(*linkIni), {}}, std::wstring(text.substr(pos)), *deadline};
  for (const wchar_t c : *kind) {
    if (static_cast<unsigned>(c) > 0xFF) return std::nullopt;
    handOver.meeting.kind += static_cast<char>(c);
  }
  return handOver;
}

std::wstring ChooserPrompt(bool formatKnown, std::size_t count) {
  if (count <= 1) return formatKnown ? launcher_texts::kPromptNotRegistered : launcher_texts::kPromptUnknownFormat;
  return launcher_texts::kPromptFilesBefore + std::to_wstring(count) +
         (formatKnown ? launcher_texts::kPromptFilesNotRegistered : launcher_texts::kPromptFilesUnknownFormat);
}

ChooserGroup::ChooserGroup(Meeting meeting, std::wstring firstFile, bool formatKnown)
    : meeting_(std::move(meeting)), files_{std::move(firstFile)}, formatKnown_(formatKnown) {}

HandOverAnswer ChooserGroup::Take(std::wstring_view handOver, const std::function<std::uint64_t()>& now) {
  const std::optional<HandOver> decoded = DecodeHandOver(handOver);
  if (!decoded || !(decoded->meeting == meeting_)) return HandOverAnswer::kOther;
  if (!takes()) return HandOverAnswer::kClosing;
  // Anything else would go on a drawing application's command line as it stands.
  if (!IsStartableFile(decoded->file)) return HandOverAnswer::kOther;
  // Last, right before the answer: a launcher that has stopped waiting must not lose its file here.
  const std::uint64_t at = now();
  if (at > decoded->deadline) return HandOverAnswer::kOther;
  (open() ? files_ : late_).push_back(decoded->file);
  lastJoined_ = at;
  return HandOverAnswer::kTaken;
}

void ChooserGroup::Answer() {
  if (state_ == State::kOpen) state_ = State::kAnswered;
}

std::vector<std::wstring> ChooserGroup::TakeLate() { return std::exchange(late_, {}); }

std::uint64_t ChooserGroup::GraceEnd(std::uint64_t answeredAt) const {
  return std::max(answeredAt, lastJoined_) + kGrace;
}

}  // namespace launcher
