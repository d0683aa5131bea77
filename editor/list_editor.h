// The list editor's main window apart from Windows: the application list of name.ini held in
// memory, what adding, editing and deleting do to it, and what closing asks and writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor_texts.h"
#include "file_io.h"
#include "found_rows.h"
#include "message_style.h"

namespace editor {

// Answers of the question on closing.
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
inline constexpr int kAnswerCancel = 2;

// What the list editor needs from the system and its windows; the Windows build supplies the
// real thing, the tests a recording stand-in.
class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // The folder that holds the list editor's program file, where both INI files lie.
  virtual fileio::FilePath ProgramFolder() = 0;

  // The rows of the list (from 0): display only.
  virtual void ClearRows() = 0;
  // A row showing `text` for the program at `path` (whose icon the row shows, and which it marks
  // when the program has gone). Throws err::AppError when the row cannot be added.
  virtual void InsertRow(int row, const std::wstring& text, const std::wstring& path) = 0;
  virtual void RemoveRow(int row) = 0;
  // -1 selects no row.
  virtual void SelectRow(int row) = 0;
  // -1 when no row is selected.
  virtual int SelectedRow() = 0;

  // The entry dialog; true when accepted with OK, the texts then replaced by the accepted ones.
  virtual bool ShowEdit(std::wstring& rstrName, std::wstring& rstrPath) = 0;
  // A message box of the style given; returns the answer.
  virtual int Ask(const std::wstring& text, const std::wstring& title, int style) = 0;
  virtual void ShowError(std::int32_t number) = 0;
};

// The data and the handlers of the application list window. Each handler reports its own failures
// through the host and ends; the window goes on.
class ListEditor {
 public:
  explicit ListEditor(EditorHost& host) : host_(host) {}

  void Form_Load();
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdDelete_Click();
  // Runs when the window is about to close; sets `cancel` to keep it open.
  void Form_Unload(bool& cancel);
  // Takes the ticked rows of the window of installed programs, in their order: a new program is
  // appended as a row, a replacement becomes the new path of its list row. A row that the entry
  // dialog would refuse is reported with the entry dialog's message and left out.
  void AddFound(const std::vector<FoundRow>& rows);

  const std::vector<std::wstring>& names() const { return mstrNames; }
  const std::vector<std::wstring>& paths() const { return mstrPaths; }
  bool changed() const { return mblnChanged; }

 private:
  template <typename Step>
  void Handle(Step step);
  std::int32_t LoadNameList(const fileio::FilePath& file);
  void AddEntry();
  void DeleteEntry();
  void SaveNameList();
  // Forgets every remembered association: link.ini holds the marker entry alone afterwards.
  void ResetLinkIni();
  void InsertRow(int row);

  EditorHost& host_;
  std::vector<std::wstring> mstrNames;
  std::vector<std::wstring> mstrPaths;
  bool mblnChanged = false;
  std::int32_t mlngLoadedCount = 0;
};

}  // namespace editor
