#include "list_editor.h"

#include <utility>

#include "codepage.h"
#include "config.h"
#include "error.h"
#include "handler.h"
#include "ini.h"
#include "link_lock.h"
#include "name_list.h"
#include "name_list_editor.h"

namespace editor {

template <typename Step>
void ListEditor::Handle(Step step) {
  RunReported(host_, step);
}

void ListEditor::Form_Load() {
  try {
    mblnChanged = false;
    host_.ClearRows();
    const std::int32_t count = LoadNameList(host_.ProgramFolder() / config::kNameIniFile);
    for (int row = 0; row < count; ++row) InsertRow(row);
  } catch (...) {
    // The window opens without rows, and holds no entries that it does not show: a later save
    // then writes only what the user added, and blanks nothing that was never shown.
    const std::int32_t number = err::CurrentErrorNumber();
    mstrNames.clear();
    mstrPaths.clear();
    mlngLoadedCount = 0;
    host_.ClearRows();
    host_.ShowError(number);
  }
}

std::int32_t ListEditor::LoadNameList(const fileio::FilePath& file) {
  // Built apart and kept whole, so that a failure leaves no part of a list behind.
  std::vector<std::wstring> names;
  std::vector<std::wstring> paths;
  for (const NameEntry& entry : ReadNameEntries(IniDocument::Load(file))) {
    names.push_back(codepage::WideFromAnsi(entry.name));
    paths.push_back(codepage::WideFromAnsi(entry.path));
  }
  mstrNames = std::move(names);
  mstrPaths = std::move(paths);
  mlngLoadedCount = static_cast<std::int32_t>(mstrNames.size());
  return mlngLoadedCount;
}

void ListEditor::InsertRow(int row) { host_.InsertRow(row, RowText(mstrNames[row], mstrPaths[row]), mstrPaths[row]); }

void ListEditor::cmdAdd_Click() {
  Handle([&] { AddEntry(); });
}

void ListEditor::AddEntry() {
  std::wstring name;
  std::wstring path;
  if (!host_.ShowEdit(name, path)) return;
  const int row = static_cast<int>(mstrNames.size());
  host_.InsertRow(row, RowText(name, path), path);
  mstrNames.push_back(name);
  mstrPaths.push_back(path);
  host_.SelectRow(row);
  mblnChanged = true;
}

void ListEditor::cmdEdit_Click() {
  Handle([&] {
    const int row = host_.SelectedRow();
    if (row < 0 || row >= static_cast<int>(mstrNames.size())) return;
    std::wstring name = mstrNames[row];
    std::wstring path = mstrPaths[row];
    if (!host_.ShowEdit(name, path)) return;
    host_.RemoveRow(row);
    host_.InsertRow(row, RowText(name, path), path);
    mstrNames[row] = name;
    mstrPaths[row] = path;
    host_.SelectRow(row);
    mblnChanged = true;
  });
}

void ListEditor::cmdDelete_Click() {
  Handle([&] { DeleteEntry(); });
}

void ListEditor::DeleteEntry() {
  const int row = host_.SelectedRow();
  if (row < 0 || row >= static_cast<int>(mstrNames.size())) return;
  RemoveEntry(mstrNames, mstrPaths, row + 1);
  host_.RemoveRow(row);
  // No row stays selected, whatever the list makes of losing the selected one.
  host_.SelectRow(-1);
  mblnChanged = true;
}

void ListEditor::AddFound(const std::vector<FoundRow>& rows) {
  Handle([&] {
    for (const FoundRow& row : rows) {
      const bool replaces = row.state == FoundState::kReplaces;
      if (!row.ticked || row.state == FoundState::kInList) continue;
      if (replaces && (row.listRow < 0 || row.listRow >= static_cast<int>(mstrNames.size()))) continue;
      const EntryCheck check = CheckEntry(replaces ? mstrNames[row.listRow] : row.name, row.path.wstring());
      if (check.problem != EntryProblem::kNone) {
        // Which program it was, since nobody typed it.
        host_.Ask(std::wstring(ProblemMessage(check.problem)) + L"\r\n\r\n" + row.path.wstring(),
                  editor_texts::kEntryCaption, messagestyle::kExclamation);
        continue;
      }
      const int at = replaces ? row.listRow : static_cast<int>(mstrNames.size());
      if (replaces) host_.RemoveRow(at);
      host_.InsertRow(at, RowText(check.name, check.path), check.path);
      if (replaces) {
        mstrPaths[at] = check.path;
      } else {
        mstrNames.push_back(check.name);
        mstrPaths.push_back(check.path);
      }
      mblnChanged = true;
      host_.SelectRow(at);
    }
  });
}

void ListEditor::Form_Unload(bool& cancel) {
  Handle([&] {
    if (!mblnChanged) return;
    const int answer =
        host_.Ask(editor_texts::kSaveQuestion, editor_texts::kListCaption, messagestyle::kYesNoCancelQuestion);
    if (answer == kAnswerCancel) {
      cancel = true;
    } else if (answer == kAnswerYes) {
      // When name.ini cannot be written nothing is saved: the window stays open with the changes
      // and the associations in link.ini stay too.
      cancel = true;
      SaveNameList();
      cancel = false;
      // A failure from here on is reported and the window closes: name.ini holds the list.
      ResetLinkIni();
    }
  });
}

void ListEditor::SaveNameList() {
  std::vector<std::pair<std::string, std::string>> values;
  for (const IniWrite& write : NameListWrites(mstrNames, mstrPaths, mlngLoadedCount)) {
    values.emplace_back(write.key, codepage::AnsiFromWide(write.value));
  }
  // The whole list reaches the file in one step, or none of it does and the user is told.
  if (!WriteIniStrings(config::kSection, values, host_.ProgramFolder() / config::kNameIniFile)) {
    throw err::AppError(err::FromSystemError(fileio::LastError()));
  }
}

void ListEditor::ResetLinkIni() {
  const fileio::FilePath file = host_.ProgramFolder() / config::kLinkIniFile;
  // The launchers store their choices under the same lock, so none is lost in the replacement.
  const linklock::LinkIniLock lock(file);
  if (!lock.held()) throw err::AppError(err::FromSystemError(lock.error()));
  if (fileio::KindOf(file) == fileio::FileKind::kOther) {
    // A hidden or system link.ini (or anything else there that is no ordinary file) is not taken
    // for a file to replace: it stays, and the marker entry is only added to it.
    WriteIniString(config::kSection, config::kMarkerKey, config::kMarkerValue, file);
    return;
  }
  // Replaced in one step, so that the launcher never finds link.ini missing or half written.
  if (!fileio::ReplaceContent(file, FreshLinkIni())) throw err::AppError(err::FromSystemError(fileio::LastError()));
}

}  // namespace editor
