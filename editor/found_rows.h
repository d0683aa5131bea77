// The rows of the window of installed programs: what each found program is called, whether the
// list has it already or it replaces a program of the list that has gone, and whether it comes
// ticked.
#pragma once

#include <string>
#include <vector>

#include "file_io.h"
#include "program_finder.h"

namespace editor {

enum class FoundState { kNew, kInList, kReplaces };

struct FoundRow {
  fileio::FilePath path;
  std::wstring name;     // proposed; the list row's for a program the list has or one it replaces
  std::wstring version;  // "major.minor.build", empty without a version resource
  FoundState state = FoundState::kNew;
  int listRow = -1;  // the list row (from 0) the program is, or replaces
  bool ticked = false;
};

// The name a program is proposed under: the file description, else the product name, else the
// uninstall entry's name, else the file name without its extension.
std::wstring BaseName(const finder::FoundProgram& program);

// True when the number stands in the text as a number of its own ("Illustrator 10" holds 10,
// "Illustrator 100" does not).
bool HoldsNumber(const std::wstring& text, unsigned number);

// Decides the row of each program as it is found, against the application list as the window
// had it when finding began.
class FoundRows {
 public:
  // The list's names and paths, whether each of its programs has gone, and each path's identity
  // key (fileio::IdentityKey).
  FoundRows(std::vector<std::wstring> names, std::vector<std::wstring> paths, std::vector<bool> gone,
            std::vector<std::wstring> identityKeys);

  // The row of the next program found.
  FoundRow Add(const finder::FoundProgram& program);

 private:
  std::wstring ProposedName(const finder::FoundProgram& program) const;
  bool NameTaken(const std::wstring& name) const;

  std::vector<std::wstring> names_;
  std::vector<std::wstring> paths_;
  std::vector<bool> gone_;
  std::vector<std::wstring> identityKeys_;
  std::vector<bool> replaced_;           // a gone list row already taken by an earlier found row
  std::vector<std::wstring> newNames_;   // names of the earlier rows that would be added
};

// What a found row's state column says.
std::wstring StateText(const FoundRow& row);

// The status line once finding is over, for `count` rows.
std::wstring FinishedText(std::size_t count);

}  // namespace editor
