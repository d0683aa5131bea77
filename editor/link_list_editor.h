// The window of remembered choices apart from Windows: the rows of link.ini, changing and
// forgetting them, testing a file against them, and writing them back on OK.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor_texts.h"
#include "file_io.h"
#include "link_table.h"
#include "message_style.h"
#include "name_list.h"

namespace editor {

// What one row of the window shows.
struct LinkRowTexts {
  std::wstring creatorText;
  std::wstring creatorVersion;
  std::wstring program;  // the application's name, else the program path
  std::wstring state;    // empty when the program exists or has not been looked for yet
  bool operator==(const LinkRowTexts& other) const {
    return creatorText == other.creatorText && creatorVersion == other.creatorVersion && program == other.program &&
           state == other.state;
  }
};

enum class LinkEditProblem {
  kNone,
  kCreatorEmpty,
  kCreatorLineBreak,
  kCreatorTooLong,
  kCreatorNotAnsi,
  kVersionLineBreak,
  kVersionTooLong,
  kVersionNotAnsi,
  kDuplicatePair
};

struct LinkEditCheck {
  LinkEditProblem problem = LinkEditProblem::kNone;
  std::wstring creatorText;  // trimmed of blanks at both ends
  std::wstring creatorVersion;
  std::int32_t duplicateRow = -1;  // kDuplicatePair: the other row (from 0) that has the pair
  std::wstring message;            // what the change dialog says about the problem
};

// Checks the change dialog's texts, trimmed, as link.ini must hold them to give them back: the
// creator text first, then the version; each without a line break, at most 1023 bytes in the ANSI
// code page, with no character that the code page lacks; the creator text not empty. Then that no
// row of `rows` but `editedRow` (from 0) has the pair, compared by the exact look-up's own rule
// (LinkMatches: a '*' is a character like any other): a second such row would never be found. Only
// the first problem counts.
LinkEditCheck CheckLinkEdit(const std::wstring& creatorText, const std::wstring& creatorVersion,
                            const LinkTable& rows = {}, std::int32_t editedRow = -1);

// What the change dialog says about a problem; for kDuplicatePair its first line.
const wchar_t* LinkEditMessage(LinkEditProblem problem);

// What the window of remembered choices needs from the system and its windows; the Windows build
// supplies the real thing, the tests a recording stand-in.
class LinksHost {
 public:
  virtual ~LinksHost() = default;
  // The folder that holds the list editor's program file, where both INI files lie.
  virtual fileio::FilePath ProgramFolder() = 0;
  // The rows of the list (from 0). Throws err::AppError when a row cannot be added.
  virtual void InsertRow(int row, const LinkRowTexts& texts) = 0;
  virtual void SetRow(int row, const LinkRowTexts& texts) = 0;
  virtual void RemoveRow(int row) = 0;
  // -1 selects no row.
  virtual void SelectRow(int row) = 0;
  // -1 when no row is selected.
  virtual int SelectedRow() = 0;
  // 変更 and 削除, which need a row to work on.
  virtual void EnableRowButtons(bool enabled) = 0;

  // The change dialog for row `vlngRow` of `vRows` (the rows as the window has them); true
  // when accepted with OK, the texts then replaced by the accepted ones and `rlngProgram` by the
  // index of the chosen item of `vstrPrograms`. Its OK checks the texts (CheckLinkEdit), and on a
  // problem shows the check's message and stays open.
  virtual bool ShowLinkEdit(std::wstring& rstrCreator, std::wstring& rstrCreatorVersion,
                            const std::vector<std::wstring>& vstrPrograms, std::int32_t& rlngProgram,
                            const LinkTable& vRows, std::int32_t vlngRow) = 0;
  // Looks off the window's thread, once the window has been painted, whether the program at `path`
  // is there (a network path can keep the test waiting long), and hands the answer to
  // LinkListEditor::ProgramChecked with `ticket` on the window's thread; never once the window has
  // gone.
  virtual void CheckProgram(unsigned ticket, const std::wstring& path) = 0;
  // The open-file dialog for an EPS file; the empty text when cancelled.
  virtual std::wstring ChooseFile() = 0;
  // A message box of the style given, titled with the window's caption.
  virtual void Message(const std::wstring& text, int style) = 0;
  virtual void ShowError(std::int32_t number) = 0;
};

// The items of the change dialog's program list: the application list's names, preceded by the
// program path itself when no application has it; and which item is the row's program.
struct ProgramChoices {
  std::vector<std::string> items;
  std::vector<std::string> paths;  // the program path of each item
  std::int32_t selected = 0;
};
ProgramChoices ChoicesFor(const AppList& apps, const std::string& programPath);

// The data and the handlers of the window of remembered choices. Each handler reports its own
// failures through the host and ends; the window goes on.
class LinkListEditor {
 public:
  explicit LinkListEditor(LinksHost& host) : host_(host) {}

  void Form_Load();
  void cmdChange_Click();
  void lvwLinks_DblClick() { cmdChange_Click(); }
  void cmdForget_Click();
  void cmdTest_Click();
  // Writes the rows when anything has changed; true when the window may close, false when the
  // write failed (reported) and the window stays open with the rows.
  bool cmdOk_Click();
  // The answer to a CheckProgram: the row that still has the ticket shows whether its program is
  // there; a row forgotten or given another program meanwhile takes no notice.
  void ProgramChecked(unsigned ticket, bool gone);

  const LinkTable& rows() const { return rows_; }

 private:
  template <typename Step>
  void Handle(Step step);
  LinkRowTexts RowTexts(std::size_t index) const;
  // Asks the window to look for the row's program, under a new ticket; until the answer the row
  // shows its program as there.
  void CheckProgramOf(std::size_t index);
  // What the launcher would do with this file given the rows as they stand; for a kind that is not
  // remembered, also the application that its chooser would suggest.
  std::wstring TestReport(const std::wstring& file);

  LinksHost& host_;
  LinkTable shown_;  // as link.ini held them when the window opened
  LinkTable rows_;
  // Beside each row: the entry shown that it comes from, for writing back, and its program's test.
  struct RowState {
    std::size_t origin;
    unsigned ticket;
    bool gone;
  };
  std::vector<RowState> states_;
  unsigned nextTicket_ = 1;
  AppList apps_;
};

}  // namespace editor
