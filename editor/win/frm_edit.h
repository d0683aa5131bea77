// The entry dialog: one application's display name and the path of its program.
#pragma once

#include <windows.h>

#include <string>

class frmEdit {
 public:
  explicit frmEdit(HWND owner) : owner_(owner) {}

  // Shows the dialog modally with the name and the path given. True when the user accepted with
  // OK; only then do both strings hold the accepted values, trimmed of blanks at both ends.
  bool ShowEdit(std::wstring& rstrName, std::wstring& rstrPath);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void cmdFile_Click();
  void cmdOk_Click();
  void cmdCancel_Click();
  void TextBox_GotFocus(HWND textBox);

  HWND owner_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HFONT nameFont_ = nullptr;
  HFONT pathFont_ = nullptr;
  bool mblnOk = false;
  std::wstring mstrName;
  std::wstring mstrPath;
};
