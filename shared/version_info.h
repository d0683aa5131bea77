// What a program file's version resource says of it, read as data: no code of the program is
// loaded or run.
#pragma once

#include <optional>
#include <string>

#include "file_io.h"

namespace versioninfo {

struct ProgramVersion {
  std::wstring fileDescription;  // empty when the resource has none
  std::wstring productName;
  bool hasNumbers = false;  // the fixed part with the file version is there
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;
};

// The longest text taken from a version resource; a longer one is cut there.
inline constexpr std::size_t kLongestText = 260;

// The version resource of `program`, from the strings of its first language; no value when the
// file has none or cannot be read. Texts are cut at kLongestText and control characters become
// blanks, since they come from any file on the disk.
std::optional<ProgramVersion> Read(const fileio::FilePath& program);

// "major.minor.build", or the empty text without numbers.
std::wstring NumbersText(const ProgramVersion& version);

// A text from a resource made fit to show on one line (see Read).
std::wstring CleanText(std::wstring text);

}  // namespace versioninfo
