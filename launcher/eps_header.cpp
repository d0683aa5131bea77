#include "eps_header.h"

#include <utility>

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// A character that is no ASCII letter or mark: the double-byte characters.
constexpr int kOtherCharacter = -1;

int AsciiLower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

}  // namespace

EpsHeaderScanner::Marker::Marker(std::string text) : lower(std::move(text)), fallback(lower.size() + 1, 0) {
  for (auto& c : lower) c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
  // Knuth-Morris-Pratt: after a mismatch, keep the longest matched part that is also a prefix.
  for (std::size_t length = 2; length <= lower.size(); ++length) {
    std::size_t k = fallback[length - 1];
    while (k > 0 && lower[k] != lower[length - 1]) k = fallback[k];
    if (lower[k] == lower[length - 1]) ++k;
    fallback[length] = k;
  }
}

bool EpsHeaderScanner::Marker::Step(int c) {
  const int lowered = AsciiLower(c);
  while (matched > 0 && static_cast<unsigned char>(lower[matched]) != lowered) matched = fallback[matched];
  if (static_cast<unsigned char>(lower[matched]) == lowered) ++matched;
  if (matched < lower.size()) return false;
  found = true;
  matched = 0;  // never stepped again
  return true;
}

EpsHeaderScanner::EpsHeaderScanner(const text::LeadByteTable& leads)
    : leads_(leads),
      postscript_("%!PS-Adobe"),
      version_("%%AI8_CreatorVersion:"),
      creator_("%%Creator:") {}

void EpsHeaderScanner::Character(int c, const char* bytes, std::size_t width) {
  for (Capture* line : {&versionLine_, &creatorLine_}) {
    if (!line->active || line->ended) continue;
    if (c == '\r' || c == '\n') {
      line->ended = true;
    } else {
      line->raw.append(bytes, width);
    }
  }
  if (!postscript_.found) postscript_.Step(c);
  if (!version_.found && version_.Step(c)) versionLine_.active = true;
  if (!creator_.found && creator_.Step(c)) creatorLine_.active = true;
}

bool EpsHeaderScanner::Idle() const {
  return postscript_.matched == 0 && version_.matched == 0 && creator_.matched == 0 &&
         (!versionLine_.active || versionLine_.ended) && (!creatorLine_.active || creatorLine_.ended);
}

std::size_t EpsHeaderScanner::Feed(const char* data, std::size_t size, std::int64_t charLimit) {
  std::size_t pos = 0;
  if (pendingTrail_ && size > 0) {
    const char pair[2] = {pendingLead_, data[0]};
    pendingTrail_ = false;
    Character(kOtherCharacter, pair, 2);
    pos = 1;
  }
  while (pos < size && chars_ < charLimit) {
    if (Idle()) {
      // Nothing is under way, so only a '%' can change anything: count the characters up to it.
      while (pos < size && chars_ < charLimit && data[pos] != '%') {
        ++chars_;
        if (!leads_[static_cast<unsigned char>(data[pos])]) {
          ++pos;
        } else if (pos + 1 < size) {
          pos += 2;
        } else {
          pendingLead_ = data[pos];
          pendingTrail_ = true;
          return size;
        }
      }
      if (pos == size || chars_ == charLimit) break;
    }
    const auto byte = static_cast<unsigned char>(data[pos]);
    ++chars_;
    if (!leads_[byte]) {
      Character(byte, data + pos, 1);
      ++pos;
    } else if (pos + 1 < size) {
      Character(kOtherCharacter, data + pos, 2);
      pos += 2;
    } else {
      pendingLead_ = data[pos];
      pendingTrail_ = true;
      return size;
    }
  }
  return pos;
}

void EpsHeaderScanner::EndOfFile() {
  if (!pendingTrail_) return;
  pendingTrail_ = false;
  Character(kOtherCharacter, &pendingLead_, 1);
}

bool EpsHeaderScanner::NeedsMore(std::int64_t charLimit) const {
  return pendingTrail_ || chars_ < charLimit;
}

bool EpsHeaderScanner::Settled() const {
  return postscript_.found && versionLine_.ended && creatorLine_.ended && !pendingTrail_;
}

std::optional<std::string> EpsHeaderScanner::CreatorText() const {
  if (!postscript_.found || !creatorLine_.ended || creatorLine_.raw.empty()) return std::nullopt;
  return text::TrimBlanksAnsi(creatorLine_.raw, leads_);
}

std::string EpsHeaderScanner::CreatorVersion() const {
  if (!postscript_.found || !versionLine_.ended) return {};
  return text::TrimBlanksAnsi(versionLine_.raw, leads_);
}

EpsFileAnalysis::EpsFileAnalysis(fileio::FilePath path, const text::LeadByteTable& leads)
    : path_(std::move(path)), scanner_(leads) {}

std::optional<std::string> EpsFileAnalysis::AnalyzeEpsFile(std::int32_t scanLimit,
                                                           std::string& creatorVersion) {
  creatorVersion.clear();
  if (!opened_) {
    opened_ = true;
    buffer_ = std::make_unique<char[]>(kReadChunk);
    failed_ = !reader_.Open(path_);
  }
  while (!failed_ && !finished_ && !scanner_.Settled() && scanner_.NeedsMore(scanLimit)) {
    if (bufferBegin_ == bufferEnd_) {
      bufferBegin_ = 0;
      bufferEnd_ = reader_.Read(buffer_.get(), kReadChunk);
      if (reader_.failed()) failed_ = true;
      if (bufferEnd_ == 0) {
        scanner_.EndOfFile();
        finished_ = true;
      }
      continue;
    }
    bufferBegin_ += scanner_.Feed(buffer_.get() + bufferBegin_, bufferEnd_ - bufferBegin_, scanLimit);
  }
  if (failed_ || finished_ || scanner_.Settled()) {
    reader_.Close();
    buffer_.reset();
  }
  if (failed_) return std::nullopt;
  creatorVersion = scanner_.CreatorVersion();
  return scanner_.CreatorText();
}
