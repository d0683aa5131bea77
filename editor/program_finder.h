// Finding the drawing applications installed on this PC, from what Windows has registered: the
// programs that open .eps or .ai files, then every other installed copy of the same program file.
// Nothing found is started or loaded; version resources are read as data.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "file_io.h"
#include "registry.h"
#include "version_info.h"

namespace finder {

struct FoundProgram {
  fileio::FilePath path;
  std::optional<versioninfo::ProgramVersion> version;
  std::wstring displayName;  // the uninstall entry's name, when found through one
};

// Bounds of a search below an uninstall entry's InstallLocation.
inline constexpr int kDeepestFolder = 4;               // folders below the location
inline constexpr std::size_t kMostFolderEntries = 5000;  // files and folders looked at per location
// At most so many keys of one list (uninstall entries, applications) are looked at.
inline constexpr std::size_t kMostKeys = 20000;

// The program file a shell command starts: a quoted path, or an unquoted one up to ".exe" (or the
// first blank), arguments after it left out. None for a quote that never closes or no path at all.
std::optional<std::wstring> ProgramOfCommand(const std::wstring& command);
// The file of an uninstall entry's DisplayIcon: quotes and an icon index after a comma removed.
std::optional<std::wstring> ProgramOfIcon(const std::wstring& displayIcon);
// Whether a path can be a drawing application: a full path to a program file (".exe"), neither
// the launcher nor the list editor.
bool IsCandidate(const fileio::FilePath& path);

// Finds the programs one at a time, each call a bounded piece of work, so that a caller can stop
// between any two.
class ProgramFinder {
 public:
  ProgramFinder();

  // Does one bounded piece of the finding and returns false once there is nothing left to do.
  // `found` is the program that the piece found, if any: an existing program file, never found
  // before however it is spelt.
  bool Step(std::optional<FoundProgram>& found);

 private:
  struct Candidate {
    std::wstring path;
    std::wstring displayName;
  };
  struct UninstallEntry {
    registry::Root root;
    std::wstring key;
  };

  void FindHandlers();
  void AddCommand(const std::optional<std::wstring>& command);
  void LookAtUninstallEntry(const UninstallEntry& entry);
  void SearchFolder(const fileio::FilePath& location, const std::wstring& displayName);
  void FindAppPaths();
  // The candidate as a program found, when it is one and not found before.
  std::optional<FoundProgram> Take(const Candidate& candidate);

  enum class Stage { kHandlers, kUninstallList, kUninstallEntries, kAppPaths, kDone };
  Stage stage_ = Stage::kHandlers;  // what comes once the candidates found so far are taken
  std::deque<Candidate> candidates_;
  std::deque<UninstallEntry> entries_;
  std::set<std::wstring> fileNames_;  // folded file names of the handlers' programs
  std::set<std::wstring> found_;      // identity keys of the programs found
};

// Names compared as Windows compares file names here: ASCII letter case ignored.
std::wstring FoldedFileName(const fileio::FilePath& path);

}  // namespace finder
