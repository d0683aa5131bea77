#include "ini.h"

#include <algorithm>

#include "codepage.h"
#include "error.h"
#include "text.h"

namespace {

bool IsFileBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Names and values in the file lose spaces, tabs and vertical tabs at both ends.
std::string_view TrimFileBlanks(std::string_view value) {
  while (!value.empty() && IsFileBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsFileBlank(value.back())) value.remove_suffix(1);
  return value;
}

// Names that the caller passes lose only spaces.
std::string_view TrimSpaces(std::string_view value) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  return value;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// UTF-8 has no byte that stands for part of another character and for an ASCII one at once.
const text::LeadByteTable& NoLeadBytes() {
  static const text::LeadByteTable none{};
  return none;
}

// Position of the first ']' that stands as a character of its own (it can be a trail byte).
std::size_t FindClosingBracket(std::string_view text, const text::LeadByteTable& leads) {
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (leads[static_cast<unsigned char>(text[pos])]) {
      ++pos;
    } else if (text[pos] == ']') {
      return pos;
    }
  }
  return std::string_view::npos;
}

// The longest run of whole characters that fits in `limit` bytes.
std::size_t WholeCharacterPrefix(std::string_view value, std::size_t limit) {
  const auto& leads = text::Cp932LeadBytes();
  std::size_t pos = 0;
  while (pos < value.size()) {
    const std::size_t width = leads[static_cast<unsigned char>(value[pos])] ? 2 : 1;
    if (pos + width > limit) break;
    pos += width;
  }
  return pos < limit ? pos : limit;
}

bool HasLineBreak(std::string_view value) { return value.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

IniDocument::IniDocument(std::string bytes) {
  const std::string_view all(bytes);
  if (all.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding_ = Encoding::kUtf8;
    bytes_ = bytes.substr(3);
  } else if (all.substr(0, 2) == "\xFF\xFE" || all.substr(0, 2) == "\xFE\xFF") {
    encoding_ = all[0] == '\xFF' ? Encoding::kUtf16Le : Encoding::kUtf16Be;
    bytes_ = codepage::Utf8FromUtf16(all.substr(2), encoding_ == Encoding::kUtf16Be);
    if (all.size() % 2 != 0) oddByte_ = bytes.substr(bytes.size() - 1);
  } else {
    bytes_ = std::move(bytes);
  }
  Parse();
}

std::string IniDocument::bytes() const {
  switch (encoding_) {
    case Encoding::kUtf8: return "\xEF\xBB\xBF" + bytes_;
    case Encoding::kUtf16Le: return "\xFF\xFE" + codepage::Utf16FromUtf8(bytes_, false) + oddByte_;
    case Encoding::kUtf16Be: return "\xFE\xFF" + codepage::Utf16FromUtf8(bytes_, true) + oddByte_;
    case Encoding::kAnsi: break;
  }
  return bytes_;
}

std::string IniDocument::OwnText(std::string_view ansi) const {
  return encoding_ == Encoding::kAnsi ? std::string(ansi) : codepage::Utf8FromAnsi(ansi);
}

IniDocument::IniDocument(const IniDocument& other)
    : bytes_(other.bytes_), encoding_(other.encoding_), oddByte_(other.oddByte_) {
  Parse();
}

IniDocument::IniDocument(IniDocument&& other)
    : bytes_(std::move(other.bytes_)), encoding_(other.encoding_), oddByte_(std::move(other.oddByte_)) {
  Parse();
  other.Parse();
}

IniDocument& IniDocument::operator=(const IniDocument& other) {
  if (this != &other) *this = IniDocument(other);
  return *this;
}

IniDocument& IniDocument::operator=(IniDocument&& other) {
  if (this != &other) {
    bytes_ = std::move(other.bytes_);
    encoding_ = other.encoding_;
    oddByte_ = std::move(other.oddByte_);
    Parse();
    other.Parse();
  }
  return *this;
}

IniDocument IniDocument::Load(const fileio::FilePath& file) {
  std::string bytes;
  if (fileio::ReadAll(file, bytes) != fileio::ReadStatus::kOk) bytes.clear();
  return IniDocument(std::move(bytes));
}

std::size_t IniDocument::NameHash::operator()(std::string_view name) const {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  return hash;
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }

std::size_t IniDocument::KeyNameHash::operator()(const KeyName& key) const {
  return NameHash()(key.name) ^ (key.sectionLine * 0x9E3779B97F4A7C15ull);
}

bool IniDocument::KeyNameEqual::operator()(const KeyName& a, const KeyName& b) const {
  return a.sectionLine == b.sectionLine && SameName(a.name, b.name);
}

void IniDocument::Parse() {
  lines_.clear();
  sections_.clear();
  keys_.clear();
  std::size_t sectionLine = std::string::npos;  // keys before the first section belong to none
  const std::string_view all(bytes_);
  std::size_t begin = 0;
  while (begin < all.size()) {
    Line line;
    line.begin = begin;
    std::size_t end = all.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = all.size();
    line.end = end;
    line.next = end;
    if (end < all.size())
      line.next = (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? end + 2 : end + 1;
    const std::string_view content = TrimFileBlanks(all.substr(begin, end - begin));
    if (!content.empty() && content.front() == '[') {
      line.kind = Line::Kind::kSection;
      std::string_view name = content.substr(1);
      name = name.substr(
          0, FindClosingBracket(name, encoding_ == Encoding::kAnsi ? text::Cp932LeadBytes() : NoLeadBytes()));
      line.name = TrimFileBlanks(name);
    } else if (!content.empty() && content.front() != ';') {
      line.kind = Line::Kind::kKey;
      const std::size_t equals = content.find('=');
      line.name = TrimFileBlanks(content.substr(0, equals));
      line.valueBegin = equals == std::string_view::npos
                            ? std::string_view::npos
                            : static_cast<std::size_t>(content.data() - all.data()) + equals + 1;
    }
    if (line.kind == Line::Kind::kSection) {
      sectionLine = lines_.size();
      sections_.emplace(line.name, sectionLine);  // a later section of the same name is never read
    } else if (line.kind == Line::Kind::kKey && sectionLine != std::string::npos) {
      keys_.emplace(KeyName{sectionLine, line.name}, lines_.size());  // the first key wins
    }
    lines_.push_back(line);
    begin = line.next;
  }
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  const auto found = sections_.find(TrimSpaces(section));
  return found == sections_.end() ? std::string::npos : found->second;
}

std::size_t IniDocument::FindKey(std::size_t sectionLine, std::string_view key) const {
  const auto found = keys_.find(KeyName{sectionLine, TrimSpaces(key)});
  return found == keys_.end() ? std::string::npos : found->second;
}

std::string IniDocument::Get(std::string_view section, std::string_view key, std::int32_t size) const {
  if (size < 0) throw err::AppError(err::kInvalidArgument);
  if (size == 0) return {};
  const std::size_t sectionLine = FindSection(OwnText(section));
  if (sectionLine == std::string::npos) return {};
  const std::size_t keyLine = FindKey(sectionLine, OwnText(key));
  if (keyLine == std::string::npos || lines_[keyLine].valueBegin == std::string::npos) return {};
  const Line& line = lines_[keyLine];
  std::string_view value = TrimFileBlanks(std::string_view(bytes_).substr(line.valueBegin, line.end - line.valueBegin));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  std::string ansi = encoding_ == Encoding::kAnsi ? std::string(value) : codepage::AnsiFromUtf8(value);
  const std::size_t limit = static_cast<std::size_t>(size) - 1;
  if (ansi.size() > limit) ansi.resize(WholeCharacterPrefix(ansi, limit));
  return CutAtNull(ansi);
}

void IniDocument::Set(std::string_view ansiSection, std::string_view ansiKey, std::string_view ansiValue) {
  Set(ansiSection, {{std::string(ansiKey), std::string(ansiValue)}});
}

void IniDocument::Set(std::string_view ansiSection,
                      const std::vector<std::pair<std::string, std::string>>& ansiValues) {
  if (HasLineBreak(ansiSection)) throw err::AppError(err::kValueHasLineBreak);
  for (const auto& [key, value] : ansiValues) {
    if (HasLineBreak(key) || HasLineBreak(value)) throw err::AppError(err::kValueHasLineBreak);
  }
  // Each key once, in the order of its first Set, spelled as then and holding its last value:
  // a later Set of the same key finds the line that the first one wrote.
  std::vector<std::pair<std::string, std::string>> values;
  values.reserve(ansiValues.size());  // the names below point into these strings
  std::unordered_map<std::string_view, std::size_t, NameHash, NameEqual> firstSet;
  for (const auto& [key, value] : ansiValues) {
    std::string ownKey = OwnText(key);
    if (const auto found = firstSet.find(TrimSpaces(ownKey)); found != firstSet.end()) {
      values[found->second].second = OwnText(value);
      continue;
    }
    values.emplace_back(std::move(ownKey), OwnText(value));
    firstSet.emplace(TrimSpaces(values.back().first), values.size() - 1);
  }
  if (values.empty()) return;
  const std::string section = OwnText(ansiSection);
  std::string newEntries;
  const std::size_t sectionLine = FindSection(section);
  if (sectionLine == std::string::npos) {
    if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r') bytes_ += "\r\n";
    bytes_ += "[" + section + "]\r\n";
    for (const auto& [key, value] : values) bytes_ += key + "=" + value + "\r\n";
    Parse();
    return;
  }
  // Replacements of bytes [at, at + length), applied in the order of `at`; at the same place, in
  // the order made.
  struct Edit {
    std::size_t at;
    std::size_t length;
    std::string text;
  };
  std::vector<Edit> edits;
  for (const auto& [key, value] : values) {
    const std::size_t keyLine = FindKey(sectionLine, key);
    if (keyLine == std::string::npos) {
      newEntries += key + "=" + value + "\r\n";
    } else if (const Line& line = lines_[keyLine]; line.valueBegin == std::string::npos) {
      edits.push_back({line.end, 0, "=" + value});
    } else {
      edits.push_back({line.valueBegin, line.end - line.valueBegin, value});
    }
  }
  if (!newEntries.empty()) {
    // New keys follow the section's last key.
    std::size_t after = sectionLine;
    for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i) {
      if (lines_[i].kind == Line::Kind::kKey) after = i;
    }
    const Line& line = lines_[after];
    edits.push_back({line.next, 0, (line.next > line.end ? "" : "\r\n") + newEntries});
  }
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });
  std::string edited;
  std::size_t copied = 0;
  for (const Edit& edit : edits) {
    edited.append(bytes_, copied, edit.at - copied);
    edited += edit.text;
    copied = edit.at + edit.length;
  }
  edited.append(bytes_, copied, std::string::npos);
  bytes_ = std::move(edited);
  Parse();
}

void IniDocument::RemoveKeys(std::string_view ansiSection, const std::function<bool(const std::string& key)>& remove) {
  const std::size_t sectionLine = FindSection(OwnText(ansiSection));
  if (sectionLine == std::string::npos) return;
  std::string kept;
  std::size_t copied = 0;
  for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Line::Kind::kKey) continue;
    if (!remove(encoding_ == Encoding::kAnsi ? std::string(line.name) : codepage::AnsiFromUtf8(line.name))) continue;
    kept.append(bytes_, copied, line.begin - copied);
    copied = line.next;
  }
  if (copied == 0) return;
  kept.append(bytes_, copied, std::string::npos);
  bytes_ = std::move(kept);
  Parse();
}

std::int32_t WriteIniString(std::string section, std::string key, std::string value, fileio::FilePath file) {
  return WriteIniStrings(section, {{std::move(key), std::move(value)}}, file);
}

bool UpdateIniFile(const fileio::FilePath& file, const std::function<void(IniDocument&)>& change) {
  std::string bytes;
  if (fileio::ReadAll(file, bytes) == fileio::ReadStatus::kFailed) return false;
  IniDocument document(std::move(bytes));
  change(document);
  return fileio::ReplaceContent(file, document.bytes());
}

std::int32_t WriteIniStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values,
                             const fileio::FilePath& file) {
  return UpdateIniFile(file, [&](IniDocument& document) { document.Set(section, values); }) ? 1 : 0;
}

std::string CutAtNull(const std::string& value) {
  const std::size_t nul = value.find('\0');
  return nul == std::string::npos ? value : value.substr(0, nul);
}
