#include "chooser_group.h"

#include <utility>

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

std::wstring EncodeHandOver(const HandOver& handOver) {
  std::wstring text;
  AddField(text, handOver.meeting.linkIni);
  std::wstring kind;  // its bytes as they are, one character each
  for (const char byte : handOver.meeting.kind) kind += static_cast<wchar_t>(static_cast<unsigned char>(byte));
  AddField(text, kind);
  text += handOver.file;
  return text;
}

std::optional<HandOver> DecodeHandOver(std::wstring_view text) {
  std::size_t pos = 0;
  const auto linkIni = NextField(text, pos);
  const auto kind = linkIni ? NextField(text, pos) : std::nullopt;
  if (!kind || pos == text.size()) return std::nullopt;
  HandOver handOver{{std::wstring(*linkIni), {}}, std::wstring(text.substr(pos))};
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

HandOverAnswer ChooserGroup::Take(std::wstring_view handOver) {
  const std::optional<HandOver> decoded = DecodeHandOver(handOver);
  if (!decoded || !(decoded->meeting == meeting_)) return HandOverAnswer::kOther;
  if (!open_) return HandOverAnswer::kClosing;
  files_.push_back(decoded->file);
  return HandOverAnswer::kTaken;
}

}  // namespace launcher
