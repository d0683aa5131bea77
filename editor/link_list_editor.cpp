#include "link_list_editor.h"

#include <algorithm>

#include "codepage.h"
#include "config.h"
#include "eps_header.h"
#include "error.h"
#include "handler.h"
#include "link_rules.h"
#include "programs_gone.h"
#include "text.h"
#include "version_info.h"
#include "version_suggestion.h"

namespace editor {
namespace {

// A value read back from link.ini holds at most this many bytes.
constexpr std::size_t kMostValueBytes = config::kValueBufferSize - 1;

bool HasLineBreak(const std::wstring& value) { return value.find_first_of(L"\r\n") != std::wstring::npos; }

// The first problem of one text, of the three kinds that a text of either field can have; `ansi`
// gets the text in the ANSI code page.
LinkEditProblem ProblemOf(const std::wstring& value, LinkEditProblem lineBreak, LinkEditProblem tooLong,
                          LinkEditProblem notAnsi, std::string& ansi) {
  if (HasLineBreak(value)) return lineBreak;
  bool exact = true;
  ansi = codepage::AnsiFromWide(value, &exact);
  if (ansi.size() > kMostValueBytes) return tooLong;
  if (!exact) return notAnsi;
  return LinkEditProblem::kNone;
}

// The application of the list that the chooser would suggest for the file, as the test's message
// names it; the empty text when none made it.
std::wstring MadeBy(const AppList& apps, const std::wstring& creatorText, const std::wstring& creatorVersion) {
  std::vector<fileio::FilePath> paths;
  for (const std::string& path : apps.mstrAppPaths) paths.emplace_back(codepage::WideFromAnsi(path));
  const std::vector<bool> gone = programs::Gone(paths);
  std::vector<std::optional<versioninfo::ProgramVersion>> versions;
  for (const fileio::FilePath& path : paths) versions.push_back(versioninfo::Read(path));
  const int row = suggestion::SuggestedRow(creatorText, creatorVersion, versions, gone);
  if (row < 0) return {};
  return editor_texts::kTestMadeBefore + codepage::WideFromAnsi(apps.mstrAppNames[static_cast<std::size_t>(row)]) +
         editor_texts::kTestMadeAfter;
}

}  // namespace

ProgramChoices ChoicesFor(const AppList& apps, const std::string& programPath) {
  ProgramChoices choices{apps.mstrAppNames, apps.mstrAppPaths, AppIndexOf(apps, programPath)};
  if (choices.selected < 0) {
    choices.items.insert(choices.items.begin(), programPath);
    choices.paths.insert(choices.paths.begin(), programPath);
    choices.selected = 0;
  }
  // Keeping the program keeps its path as the row spells it: no change where the user made none.
  choices.paths[static_cast<std::size_t>(choices.selected)] = programPath;
  return choices;
}

LinkEditCheck CheckLinkEdit(const std::wstring& creatorText, const std::wstring& creatorVersion, const LinkTable& rows,
                            std::int32_t editedRow) {
  LinkEditCheck check;
  check.creatorText = text::TrimBlanks(creatorText);
  check.creatorVersion = text::TrimBlanks(creatorVersion);
  if (check.creatorText.empty()) {
    check.problem = LinkEditProblem::kCreatorEmpty;
    check.message = LinkEditMessage(check.problem);
    return check;
  }
  std::string ansiText;
  std::string ansiVersion;
  check.problem = ProblemOf(check.creatorText, LinkEditProblem::kCreatorLineBreak, LinkEditProblem::kCreatorTooLong,
                            LinkEditProblem::kCreatorNotAnsi, ansiText);
  if (check.problem == LinkEditProblem::kNone) {
    check.problem = ProblemOf(check.creatorVersion, LinkEditProblem::kVersionLineBreak,
                              LinkEditProblem::kVersionTooLong, LinkEditProblem::kVersionNotAnsi, ansiVersion);
  }
  if (check.problem != LinkEditProblem::kNone) {
    check.message = LinkEditMessage(check.problem);
    return check;
  }
  for (std::int32_t number = 1; number <= rows.count(); ++number) {
    if (number - 1 == editedRow || !LinkMatches(rows, number, ansiText, ansiVersion)) continue;
    const auto index = static_cast<std::size_t>(number - 1);
    check.problem = LinkEditProblem::kDuplicatePair;
    check.duplicateRow = number - 1;
    check.message = std::wstring(editor_texts::kDuplicatePairBefore) + L"\r\n" + editor_texts::kTestCreator +
                    codepage::WideFromAnsi(rows.mstrLinks[index]) + L"\r\n" + editor_texts::kTestVersion +
                    codepage::WideFromAnsi(rows.mstrCreatorVersions[index]);
    break;
  }
  return check;
}

const wchar_t* LinkEditMessage(LinkEditProblem problem) {
  switch (problem) {
    case LinkEditProblem::kCreatorEmpty: return editor_texts::kCreatorEmpty;
    case LinkEditProblem::kCreatorLineBreak: return editor_texts::kCreatorLineBreak;
    case LinkEditProblem::kCreatorTooLong: return editor_texts::kCreatorTooLong;
    case LinkEditProblem::kCreatorNotAnsi: return editor_texts::kCreatorNotAnsi;
    case LinkEditProblem::kVersionLineBreak: return editor_texts::kVersionLineBreak;
    case LinkEditProblem::kVersionTooLong: return editor_texts::kVersionTooLong;
    case LinkEditProblem::kVersionNotAnsi: return editor_texts::kVersionNotAnsi;
    case LinkEditProblem::kDuplicatePair: return editor_texts::kDuplicatePairBefore;
    case LinkEditProblem::kNone: break;
  }
  return L"";
}

template <typename Step>
void LinkListEditor::Handle(Step step) {
  RunReported(host_, step);
}

LinkRowTexts LinkListEditor::RowTexts(std::size_t index) const {
  const std::string& path = rows_.mstrLinkPaths[index];
  return {codepage::WideFromAnsi(rows_.mstrLinks[index]), codepage::WideFromAnsi(rows_.mstrCreatorVersions[index]),
          codepage::WideFromAnsi(ProgramLabel(apps_, path)),
          states_[index].gone ? editor_texts::kLinksProgramMissing : L""};
}

void LinkListEditor::CheckProgramOf(std::size_t index) {
  states_[index].ticket = nextTicket_++;
  states_[index].gone = false;
  host_.CheckProgram(states_[index].ticket, codepage::WideFromAnsi(rows_.mstrLinkPaths[index]));
}

void LinkListEditor::Form_Load() {
  try {
    const fileio::FilePath folder = host_.ProgramFolder();
    ReadLinkIni(folder / config::kLinkIniFile, shown_);
    rows_ = shown_;
    for (std::size_t i = 0; i < rows_.mstrLinks.size(); ++i) states_.push_back({i, 0, false});
    // The names as the launcher would offer them: name.ini as saved, not the list window's changes.
    ReadNameIni(folder / config::kNameIniFile, apps_);
    for (std::size_t i = 0; i < rows_.mstrLinks.size(); ++i) host_.InsertRow(static_cast<int>(i), RowTexts(i));
    // The rows are there at once; whether each program is there comes later.
    for (std::size_t i = 0; i < rows_.mstrLinks.size(); ++i) CheckProgramOf(i);
    host_.EnableRowButtons(rows_.count() > 0);
    if (rows_.count() > 0) host_.SelectRow(0);
  } catch (...) {
    // The window opens without rows and with nothing to write back.
    const std::int32_t number = err::CurrentErrorNumber();
    shown_ = rows_ = LinkTable{};
    states_.clear();
    host_.EnableRowButtons(false);
    host_.ShowError(number);
  }
}

void LinkListEditor::cmdChange_Click() {
  Handle([&] {
    const int row = host_.SelectedRow();
    if (row < 0 || row >= rows_.count()) return;
    const auto index = static_cast<std::size_t>(row);
    std::wstring creatorText = codepage::WideFromAnsi(rows_.mstrLinks[index]);
    std::wstring creatorVersion = codepage::WideFromAnsi(rows_.mstrCreatorVersions[index]);
    const ProgramChoices choices = ChoicesFor(apps_, rows_.mstrLinkPaths[index]);
    std::vector<std::wstring> programs;
    for (const std::string& item : choices.items) programs.push_back(codepage::WideFromAnsi(item));
    std::int32_t program = choices.selected;
    // Checked against the other rows as they stand in the window, not as link.ini holds them.
    if (!host_.ShowLinkEdit(creatorText, creatorVersion, programs, program, rows_, row)) return;
    const std::string path = choices.paths.at(static_cast<std::size_t>(program));
    const bool otherProgram = path != rows_.mstrLinkPaths[index];
    ChangeLink(rows_, row + 1, codepage::AnsiFromWide(creatorText), path, codepage::AnsiFromWide(creatorVersion));
    if (otherProgram) CheckProgramOf(index);
    host_.SetRow(row, RowTexts(index));
    host_.SelectRow(row);
  });
}

void LinkListEditor::cmdForget_Click() {
  Handle([&] {
    const int row = host_.SelectedRow();
    if (row < 0 || row >= rows_.count()) return;
    ForgetLink(rows_, row + 1);
    states_.erase(states_.begin() + row);
    host_.RemoveRow(row);
    // The row that took its place is selected, so that several rows can be forgotten in turn.
    host_.SelectRow(std::min(row, rows_.count() - 1));
    host_.EnableRowButtons(rows_.count() > 0);
  });
}

std::wstring LinkListEditor::TestReport(const std::wstring& file) {
  std::string creatorVersion;
  const std::optional<std::string> creatorText = AnalyzeWithEveryLimit(fileio::FilePath(file), creatorVersion);
  if (!creatorText) return editor_texts::kTestUnknownFormat;
  const std::wstring wideText = codepage::WideFromAnsi(*creatorText);
  const std::wstring wideVersion = codepage::WideFromAnsi(creatorVersion);
  std::wstring report =
      editor_texts::kTestCreator + wideText + L"\r\n" + editor_texts::kTestVersion + wideVersion + L"\r\n\r\n";
  const std::int32_t number = FindLinkWithPatterns(rows_, *creatorText, creatorVersion);
  if (number == 0) return report + editor_texts::kTestNotRegistered + MadeBy(apps_, wideText, wideVersion);
  const std::string& path = rows_.mstrLinkPaths[static_cast<std::size_t>(number - 1)];
  return report + editor_texts::kTestProgram + codepage::WideFromAnsi(ProgramLabel(apps_, path)) +
         editor_texts::kTestRowBefore + std::to_wstring(number) + editor_texts::kTestRowAfter;
}

void LinkListEditor::cmdTest_Click() {
  Handle([&] {
    const std::wstring file = host_.ChooseFile();
    if (file.empty()) return;
    host_.Message(TestReport(file), messagestyle::kOkOnly);
  });
}

bool LinkListEditor::cmdOk_Click() {
  try {
    std::vector<std::size_t> origins;
    for (const RowState& state : states_) origins.push_back(state.origin);
    const std::optional<std::int32_t> failure =
        SaveLinks(host_.ProgramFolder() / config::kLinkIniFile, shown_, rows_, origins);
    if (!failure) return true;
    host_.ShowError(*failure);
  } catch (...) {
    host_.ShowError(err::CurrentErrorNumber());
  }
  return false;
}

void LinkListEditor::ProgramChecked(unsigned ticket, bool gone) {
  Handle([&] {
    const auto state =
        std::find_if(states_.begin(), states_.end(), [&](const RowState& row) { return row.ticket == ticket; });
    if (state == states_.end()) return;
    state->gone = gone;
    const auto index = static_cast<std::size_t>(state - states_.begin());
    host_.SetRow(static_cast<int>(index), RowTexts(index));
  });
}

}  // namespace editor
