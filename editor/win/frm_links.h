// The window of remembered choices: the rows of link.ini in a list view, and the buttons that
// change, forget and test them; the list editor's core decides what they do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link_list_editor.h"
#include "program_checks.h"
#include "win_form.h"

class frmLinks : private winform::Dialog, private editor::LinksHost {
 public:
  explicit frmLinks(HWND owner);

  // Shows the window modally over its owner and returns when it has closed.
  void Show();

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnClose() override { cmdCancel_Click(); }
  void OnLayout() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void cmdChange_Click() { mEditor.cmdChange_Click(); }
  void cmdForget_Click() { mEditor.cmdForget_Click(); }
  void cmdTest_Click() { mEditor.cmdTest_Click(); }
  void cmdOk_Click();
  void cmdCancel_Click() { Close(); }
  void lvwLinks_DblClick() { mEditor.lvwLinks_DblClick(); }

  fileio::FilePath ProgramFolder() override;
  void InsertRow(int row, const editor::LinkRowTexts& texts) override;
  void SetRow(int row, const editor::LinkRowTexts& texts) override;
  void RemoveRow(int row) override;
  void SelectRow(int row) override;
  int SelectedRow() override;
  void EnableRowButtons(bool enabled) override;
  bool ShowLinkEdit(std::wstring& rstrCreator, std::wstring& rstrCreatorVersion,
                    const std::vector<std::wstring>& vstrPrograms, std::int32_t& rlngProgram, const LinkTable& vRows,
                    std::int32_t vlngRow) override;
  void CheckProgram(unsigned ticket, const std::wstring& path) override;
  std::wstring ChooseFile() override;
  void Message(const std::wstring& text, int style) override;
  void ShowError(std::int32_t number) override;

  HWND lvwLinks() const;

  HWND owner_;
  winform::ProgramChecks mChecks{*this, [this](unsigned ticket, bool gone) { mEditor.ProgramChecked(ticket, gone); }};
  editor::LinkListEditor mEditor{*this};
};
