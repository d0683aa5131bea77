// The list editor's main window: the application list of name.ini, edited in memory and saved on
// closing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "file_io.h"

class frmQuelby {
 public:
  // Shows the window and returns when it has closed.
  void Show();

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  void Form_Load();
  std::int32_t LoadNameList(const fileio::FilePath& file);
  void cmdAdd_Click();
  void AddEntry();
  void cmdEdit_Click();
  void cmdDelete_Click();
  void DeleteEntry();
  void cmdEnd_Click();
  void Form_Unload(bool& cancel);
  void SaveNameList();
  void ResetLinkIni();
  HWND List1() const;
  int SelectedRow() const;
  void InsertRow(int row, const std::wstring& name, const std::wstring& path);

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HFONT listFont_ = nullptr;
  std::vector<std::wstring> mstrNames;
  std::vector<std::wstring> mstrPaths;
  bool mblnChanged = false;
  std::int32_t mlngLoadedCount = 0;
};
