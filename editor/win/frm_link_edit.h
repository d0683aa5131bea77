// The change dialog of a remembered choice: its creator text, its creator version and the program
// that opens such files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link_list_editor.h"
#include "win_form.h"

class frmLinkEdit : private winform::Dialog {
 public:
  explicit frmLinkEdit(HWND owner);

  // Shows the dialog modally with the texts given and the programs to choose from, item
  // `rlngProgram` chosen, for row `vlngRow` of the rows `vRows`. OK closes it only when the texts
  // pass editor::CheckLinkEdit against the other rows, and shows the problem's message otherwise. True when the user
  // accepted with OK; only then do the texts hold the accepted ones (trimmed) and `rlngProgram` the chosen item.
  bool ShowEdit(std::wstring& rstrCreator, std::wstring& rstrCreatorVersion,
                const std::vector<std::wstring>& vstrPrograms, std::int32_t& rlngProgram, const LinkTable& vRows,
                std::int32_t vlngRow);

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnClose() override { cmdCancel_Click(); }
  void cmdOk_Click();
  void cmdCancel_Click() { Close(); }

  HWND owner_;
  const LinkTable* mRows = nullptr;  // during ShowEdit
  std::int32_t mlngRow = -1;
  bool mblnOk = false;
  std::wstring mstrCreator;
  std::wstring mstrCreatorVersion;
  std::int32_t mlngProgram = 0;
};
