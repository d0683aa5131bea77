#include "name_list_editor.h"

#include "codepage.h"
#include "file_io.h"

#include <cstddef>

#include "config.h"
#include "editor_texts.h"
#include "text.h"

namespace editor {

std::wstring RowText(const std::wstring& name, const std::wstring& path) { return name + kRowSeparator + path; }

void RemoveEntry(std::vector<std::wstring>& names, std::vector<std::wstring>& paths, std::int32_t number) {
  const auto index = static_cast<std::ptrdiff_t>(number) - 1;
  names.erase(names.begin() + index);
  paths.erase(paths.begin() + index);
}

std::vector<IniWrite> NameListWrites(const std::vector<std::wstring>& names, const std::vector<std::wstring>& paths,
                                     std::int32_t loadedCount) {
  std::vector<IniWrite> writes;
  const auto count = static_cast<std::int32_t>(names.size());
  for (std::int32_t number = 1; number <= count; ++number) {
    writes.push_back({text::NumberedKey(config::kNameKey, number), names[number - 1]});
    writes.push_back({text::NumberedKey(config::kPathKey, number), paths[number - 1]});
  }
  for (std::int32_t number = count + 1; number <= loadedCount; ++number) {
    writes.push_back({text::NumberedKey(config::kNameKey, number), L""});
    writes.push_back({text::NumberedKey(config::kPathKey, number), L""});
  }
  return writes;
}

std::string FreshLinkIni() {
  return std::string("[") + config::kSection + "]\r\n" + config::kMarkerKey + "=" + config::kMarkerValue + "\r\n";
}

namespace {

bool FitsAnsi(const std::wstring& text) {
  bool exact = true;
  codepage::AnsiFromWide(text, &exact);
  return exact;
}

}  // namespace

EntryCheck CheckEntry(const std::wstring& nameText, const std::wstring& pathText) {
  EntryCheck check;
  check.name = text::TrimBlanks(nameText);
  check.path = text::TrimBlanks(pathText);
  if (!fileio::IsOrdinaryFile(fileio::FilePath(check.path))) {
    check.problem = EntryProblem::kFileMissing;
  } else if (check.name.empty()) {
    check.problem = EntryProblem::kNameMissing;
  } else if (!FitsAnsi(check.path)) {
    check.problem = EntryProblem::kPathNotAnsi;
  } else if (!FitsAnsi(check.name)) {
    check.problem = EntryProblem::kNameNotAnsi;
  }
  return check;
}

const wchar_t* ProblemMessage(EntryProblem problem) {
  switch (problem) {
    case EntryProblem::kFileMissing: return editor_texts::kFileMissing;
    case EntryProblem::kNameMissing: return editor_texts::kNameMissing;
    case EntryProblem::kPathNotAnsi: return editor_texts::kPathNotAnsi;
    case EntryProblem::kNameNotAnsi: return editor_texts::kNameNotAnsi;
    case EntryProblem::kNone: break;
  }
  return L"";
}

}  // namespace editor
