// The entry dialog: one application's display name and the path of its program.
#pragma once

#include <string>

#include "win_form.h"

class frmEdit : private winform::Dialog {
 public:
  explicit frmEdit(HWND owner);

  // Shows the dialog modally with the name and the path given. True when the user accepted with
  // OK; only then do both strings hold the accepted values, trimmed of blanks at both ends.
  bool ShowEdit(std::wstring& rstrName, std::wstring& rstrPath);

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnClose() override { cmdCancel_Click(); }
  void cmdFile_Click();
  void cmdOk_Click();
  void cmdCancel_Click();
  void TextBox_GotFocus(HWND textBox);

  HWND owner_;
  bool mblnOk = false;
  std::wstring mstrName;
  std::wstring mstrPath;
};
