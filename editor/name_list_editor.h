// The list editor's decisions, kept apart from its windows: what a row shows, what deleting does to
// the list, what a save writes, and what the entry dialog accepts. Texts are the windows' own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

// Only spaces the two values apart on screen; a row's text is never split again.
inline constexpr wchar_t kRowSeparator[] = L"        ";

std::wstring RowText(const std::wstring& name, const std::wstring& path);

// Removes entry `number` (from 1) from both lists; the entries after it move one place forward.
void RemoveEntry(std::vector<std::wstring>& names, std::vector<std::wstring>& paths, std::int32_t number);

// One value that a save writes into section "main" of name.ini.
struct IniWrite {
  std::string key;
  std::wstring value;
  bool operator==(const IniWrite& other) const { return key == other.key && value == other.value; }
};

// The writes of a save, in order: name and path of each entry from 1 on, then empty values for
// both keys of each number after the list up to `loadedCount`, so that no stale entry follows it.
std::vector<IniWrite> NameListWrites(const std::vector<std::wstring>& names, const std::vector<std::wstring>& paths,
                                     std::int32_t loadedCount);

// The whole of link.ini after a save: the section with the marker entry alone.
std::string FreshLinkIni();

enum class EntryProblem { kNone, kFileMissing, kNameMissing, kPathNotAnsi, kNameNotAnsi };

struct EntryCheck {
  EntryProblem problem = EntryProblem::kNone;
  std::wstring name;  // trimmed of blanks at both ends
  std::wstring path;
};

// Checks the entry dialog's texts, trimmed, in this order: the path names an existing program
// file, the name is not empty, then the path and the name survive the ANSI code page (name.ini
// holds ANSI text, so anything else would be saved as a different text). Only the first problem
// counts; a later test is not made.
EntryCheck CheckEntry(const std::wstring& nameText, const std::wstring& pathText);

// What the entry dialog says about a problem.
const wchar_t* ProblemMessage(EntryProblem problem);

}  // namespace editor
