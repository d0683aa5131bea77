#include "program_finder.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "text.h"

namespace finder {
namespace {

using registry::Key;
using registry::Root;

constexpr const wchar_t* kExtensions[] = {L".eps", L".ai"};
constexpr const wchar_t* kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// The user's classes first: where both have a key, Windows takes the user's.
const Key kClasses[] = {{Root::kUser, L"Software\\Classes\\"}, {Root::kMachine64, L"SOFTWARE\\Classes\\"}};
constexpr Root kEveryView[] = {Root::kMachine64, Root::kMachine32, Root::kUser};
// Lists that no real system makes long: ProgIDs and programs of one extension, its supported types.
constexpr std::size_t kMostNames = 1000;

Key Below(const Key& key, const std::wstring& path) { return {key.root, key.path + path}; }

std::wstring Unquoted(std::wstring_view text) {
  std::wstring trimmed = text::TrimBlanks(text);
  if (trimmed.size() >= 2 && trimmed.front() == L'"' && trimmed.back() == L'"') {
    trimmed = text::TrimBlanks(trimmed.substr(1, trimmed.size() - 2));
  }
  return trimmed;
}

// A name that is a single key below another, never a path through others.
bool IsKeyName(const std::wstring& name) { return !name.empty() && name.find(L'\\') == std::wstring::npos; }

}  // namespace

std::wstring FoldedFileName(const fileio::FilePath& path) { return text::UpperCaseLatin(path.filename().wstring()); }

std::optional<std::wstring> ProgramOfCommand(const std::wstring& command) {
  const std::wstring trimmed = text::TrimBlanks(command);
  std::wstring program;
  if (!trimmed.empty() && trimmed.front() == L'"') {
    const std::size_t close = trimmed.find(L'"', 1);
    if (close == std::wstring::npos) return std::nullopt;
    program = trimmed.substr(1, close - 1);
  } else {
    const std::wstring folded = text::UpperCaseLatin(trimmed);
    std::size_t end = std::wstring::npos;
    for (std::size_t at = folded.find(L".EXE"); at != std::wstring::npos; at = folded.find(L".EXE", at + 1)) {
      if (at + 4 == folded.size() || folded[at + 4] == L' ') {
        end = at + 4;
        break;
      }
    }
    program = trimmed.substr(0, end != std::wstring::npos ? end : trimmed.find(L' '));
  }
  program = text::TrimBlanks(program);
  if (program.empty()) return std::nullopt;
  return program;
}

std::optional<std::wstring> ProgramOfIcon(const std::wstring& displayIcon) {
  std::wstring icon = text::TrimBlanks(displayIcon);
  if (!icon.empty() && icon.front() == L'"') {
    const std::size_t close = icon.find(L'"', 1);
    if (close == std::wstring::npos) return std::nullopt;
    icon = icon.substr(1, close - 1);
  } else {
    const std::size_t comma = icon.rfind(L',');
    if (comma != std::wstring::npos) {
      const std::wstring index = text::TrimBlanks(icon.substr(comma + 1));
      const std::size_t digits = index.find_first_not_of(L"-0123456789");
      if (!index.empty() && digits == std::wstring::npos) icon.resize(comma);
    }
  }
  icon = text::TrimBlanks(icon);
  if (icon.empty()) return std::nullopt;
  return icon;
}

bool IsCandidate(const fileio::FilePath& path) {
  if (!path.is_absolute() || fileio::HasWildcard(path)) return false;
  const std::wstring name = FoldedFileName(path);
  if (name.size() < 4 || name.compare(name.size() - 4, 4, L".EXE") != 0) return false;
  if (name == L"VARNOCK.EXE" || name == L"QUELBY.EXE") return false;
  return fileio::KindOf(path) == fileio::FileKind::kOrdinary;
}

ProgramFinder::ProgramFinder() = default;

bool ProgramFinder::Step(std::optional<FoundProgram>& found) {
  found.reset();
  if (!candidates_.empty()) {
    const Candidate candidate = std::move(candidates_.front());
    candidates_.pop_front();
    found = Take(candidate);
    return true;
  }
  switch (stage_) {
    case Stage::kHandlers:
      FindHandlers();
      stage_ = Stage::kUninstallList;
      return true;
    case Stage::kUninstallList:
      // Other copies are looked for only of the programs that open the files.
      if (fileNames_.empty()) {
        stage_ = Stage::kDone;
        return false;
      }
      for (const Root root : kEveryView) {
        for (std::wstring& name : registry::SubKeys({root, kUninstall}, kMostKeys)) {
          if (IsKeyName(name)) entries_.push_back({root, std::wstring(kUninstall) + L"\\" + name});
        }
      }
      stage_ = Stage::kUninstallEntries;
      return true;
    case Stage::kUninstallEntries:
      if (entries_.empty()) {
        stage_ = Stage::kAppPaths;
        return true;
      }
      LookAtUninstallEntry(entries_.front());
      entries_.pop_front();
      return true;
    case Stage::kAppPaths:
      FindAppPaths();
      stage_ = Stage::kDone;
      return true;
    case Stage::kDone: break;
  }
  return false;
}

void ProgramFinder::FindHandlers() {
  // The open command of a class, the user's before the machine's.
  const auto commandOf = [](const std::wstring& className) -> std::optional<std::wstring> {
    for (const Key& classes : kClasses) {
      if (auto command = registry::ReadText(Below(classes, className + L"\\shell\\open\\command"), L"")) return command;
    }
    return std::nullopt;
  };
  for (const wchar_t* extension : kExtensions) {
    for (const Key& classes : kClasses) {
      const Key key = Below(classes, extension);
      std::vector<std::wstring> progIds;
      if (auto progId = registry::ReadText(key, L"")) progIds.push_back(text::TrimBlanks(*progId));
      for (std::wstring& name : registry::ValueNames(Below(key, L"\\OpenWithProgids"), kMostNames)) {
        progIds.push_back(std::move(name));
      }
      for (const std::wstring& progId : progIds) {
        if (IsKeyName(progId)) AddCommand(commandOf(progId));
      }
      for (const std::wstring& program : registry::SubKeys(Below(key, L"\\OpenWithList"), kMostNames)) {
        if (IsKeyName(program)) AddCommand(commandOf(L"Applications\\" + program));
      }
    }
  }
  for (const Key& classes : kClasses) {
    for (const std::wstring& application : registry::SubKeys(Below(classes, L"Applications"), kMostKeys)) {
      if (!IsKeyName(application)) continue;
      const Key types = Below(classes, L"Applications\\" + application + L"\\SupportedTypes");
      for (const std::wstring& type : registry::ValueNames(types, kMostNames)) {
        const std::wstring folded = text::UpperCaseLatin(type);
        if (folded == L".EPS" || folded == L".AI") {
          AddCommand(commandOf(L"Applications\\" + application));
          break;
        }
      }
    }
  }
}

void ProgramFinder::AddCommand(const std::optional<std::wstring>& command) {
  if (!command) return;
  if (auto program = ProgramOfCommand(*command)) candidates_.push_back({std::move(*program), {}});
}

void ProgramFinder::LookAtUninstallEntry(const UninstallEntry& entry) {
  const std::vector<std::optional<std::wstring>> values =
      registry::ReadTexts({entry.root, entry.key}, {L"DisplayIcon", L"InstallLocation", L"DisplayName"});
  const std::wstring displayName = values[2] ? text::TrimBlanks(*values[2]) : std::wstring();
  if (values[0]) {
    const std::optional<std::wstring> icon = ProgramOfIcon(*values[0]);
    if (icon && fileNames_.count(FoldedFileName(*icon))) candidates_.push_back({*icon, displayName});
  }
  if (values[1]) {
    const fileio::FilePath location(Unquoted(*values[1]));
    if (location.is_absolute()) SearchFolder(location, displayName);
  }
}

void ProgramFinder::SearchFolder(const fileio::FilePath& location, const std::wstring& displayName) {
  namespace fs = std::filesystem;
  std::size_t looked = 0;
  std::deque<std::pair<fs::path, int>> folders{{location, 0}};
  while (!folders.empty() && looked < kMostFolderEntries) {
    const auto [folder, depth] = folders.front();
    folders.pop_front();
    std::error_code error;
    fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && entries != fs::directory_iterator() && looked < kMostFolderEntries; entries.increment(error)) {
      ++looked;
      const fs::directory_entry& entry = *entries;
      std::error_code kindError;
      // Links and junctions are not followed: they may lead anywhere, or round in a circle.
      if (entry.is_symlink(kindError)) continue;
      if (entry.is_directory(kindError)) {
        if (depth < kDeepestFolder) folders.emplace_back(entry.path(), depth + 1);
      } else if (fileNames_.count(FoldedFileName(entry.path()))) {
        candidates_.push_back({entry.path().wstring(), displayName});
      }
    }
  }
}

void ProgramFinder::FindAppPaths() {
  for (const std::wstring& name : fileNames_) {
    for (const Root root : kEveryView) {
      const std::optional<std::wstring> path = registry::ReadText({root, kAppPaths + name}, L"");
      if (path) candidates_.push_back({Unquoted(*path), {}});
    }
  }
}

std::optional<FoundProgram> ProgramFinder::Take(const Candidate& candidate) {
  const fileio::FilePath path(candidate.path);
  if (!IsCandidate(path) || !found_.insert(fileio::IdentityKey(path)).second) return std::nullopt;
  // Only the programs that open the files name the files whose copies are looked for.
  if (stage_ == Stage::kUninstallList) fileNames_.insert(FoldedFileName(path));
  return FoundProgram{path, versioninfo::Read(path), candidate.displayName};
}

}  // namespace finder
