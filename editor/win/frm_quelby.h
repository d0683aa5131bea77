// The list editor's main window: shows the rows of the application list and hands the clicks to
// the list editor, which decides what they do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "icon_list.h"
#include "list_editor.h"
#include "win_form.h"

class frmQuelby : private winform::Dialog, private editor::EditorHost {
 public:
  frmQuelby();

  // Shows the window and returns when it has closed.
  void Show();

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  // Opens the window of remembered choices; link.ini and name.ini as saved, whatever this window holds.
  void cmdLinks_Click();
  // Opens the window of installed drawing applications and adds what the user ticked there.
  void cmdFind_Click();

  fileio::FilePath ProgramFolder() override;
  void ClearRows() override;
  void InsertRow(int row, const std::wstring& text, const std::wstring& path) override;
  void RemoveRow(int row) override;
  void SelectRow(int row) override;
  int SelectedRow() override;
  bool ShowEdit(std::wstring& rstrName, std::wstring& rstrPath) override;
  int Ask(const std::wstring& text, const std::wstring& title, int style) override;
  void ShowError(std::int32_t number) override;

  // The rows show each program's icon and mark a program that has gone.
  winform::IconList List1;
  editor::ListEditor mEditor{*this};
  std::optional<winform::AfterFirstPaint> mOfferFinding;
};
