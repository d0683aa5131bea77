#include "found_rows.h"

#include <utility>

#include "editor_texts.h"
#include "text.h"

namespace editor {

std::wstring BaseName(const finder::FoundProgram& program) {
  if (program.version && !program.version->fileDescription.empty()) return program.version->fileDescription;
  if (program.version && !program.version->productName.empty()) return program.version->productName;
  if (!program.displayName.empty()) return program.displayName;
  return program.path.stem().wstring();
}

bool HoldsNumber(const std::wstring& text, unsigned number) {
  const std::wstring wanted = std::to_wstring(number);
  const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  for (std::size_t at = 0; at < text.size();) {
    if (!isDigit(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) ++end;
    std::size_t first = at;
    while (first + 1 < end && text[first] == L'0') ++first;  // "010" is 10
    if (text.compare(first, end - first, wanted) == 0) return true;
    at = end;
  }
  return false;
}

std::wstring DistinctPart(const fileio::FilePath& path, const fileio::FilePath& other) {
  auto mine = path.begin();
  auto theirs = other.begin();
  while (mine != path.end() && theirs != other.end() &&
         text::UpperCaseLatin(mine->wstring()) == text::UpperCaseLatin(theirs->wstring())) {
    ++mine;
    ++theirs;
  }
  fileio::FilePath rest;
  for (; mine != path.end(); ++mine) rest /= *mine;
  return rest.wstring();
}

FoundRows::FoundRows(std::vector<std::wstring> names, std::vector<std::wstring> paths, std::vector<bool> gone,
                     std::vector<std::wstring> identityKeys)
    : names_(std::move(names)),
      paths_(std::move(paths)),
      gone_(std::move(gone)),
      identityKeys_(std::move(identityKeys)),
      replaced_(names_.size(), false) {
  gone_.resize(names_.size(), false);
  identityKeys_.resize(names_.size());
  paths_.resize(names_.size());
}

bool FoundRows::NameTaken(const std::wstring& name) const {
  const std::wstring folded = text::UpperCaseLatin(name);
  for (const auto* names : {&names_, &newNames_}) {
    for (const std::wstring& taken : *names) {
      if (text::UpperCaseLatin(taken) == folded) return true;
    }
  }
  return false;
}

std::wstring FoundRows::ProposedName(const finder::FoundProgram& program) const {
  const std::wstring base = BaseName(program);
  if (!NameTaken(base) || !program.version || !program.version->hasNumbers) return base;
  const versioninfo::ProgramVersion& version = *program.version;
  const std::wstring shorter =
      base + L" (" + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L")";
  if (!NameTaken(shorter)) return shorter;
  return base + L" (" + versioninfo::NumbersText(version) + L")";
}

FoundRow FoundRows::Add(const finder::FoundProgram& program) {
  FoundRow row;
  row.path = program.path;
  if (program.version) row.version = versioninfo::NumbersText(*program.version);
  const std::wstring key = fileio::IdentityKey(program.path);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (!identityKeys_[i].empty() && identityKeys_[i] == key) {
      row.state = FoundState::kInList;
      row.listRow = static_cast<int>(i);
      row.name = names_[i];
      return row;
    }
  }
  row.ticked = true;
  if (program.version && program.version->hasNumbers) {
    const std::wstring fileName = finder::FoldedFileName(program.path);
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (!gone_[i] || replaced_[i] || finder::FoldedFileName(fileio::FilePath(paths_[i])) != fileName) continue;
      const unsigned major = program.version->major;
      if (!HoldsNumber(names_[i], major) && !HoldsNumber(DistinctPart(paths_[i], program.path), major)) continue;
      replaced_[i] = true;
      row.state = FoundState::kReplaces;
      row.listRow = static_cast<int>(i);
      row.name = names_[i];
      return row;
    }
  }
  row.name = ProposedName(program);
  newNames_.push_back(row.name);
  return row;
}

std::wstring StateText(const FoundRow& row) {
  switch (row.state) {
    case FoundState::kInList: return editor_texts::kFoundInList;
    case FoundState::kReplaces: return editor_texts::kFoundReplaces + row.name;
    case FoundState::kNew: break;
  }
  return {};
}

std::wstring FinishedText(std::size_t count) {
  if (count == 0) return editor_texts::kFindNothing;
  return std::to_wstring(count) + editor_texts::kFindCountAfter;
}

}  // namespace editor
