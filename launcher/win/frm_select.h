// The application selection dialog: the user picks the program that opens the file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class frmSelect {
 public:
  // Shows the dialog modally. True when confirmed with OK; `rlngSelect` is then the index (from 1)
  // of the chosen name and `rblnAlwayResult` whether the choice is to be remembered. Fails with
  // err::AppError, before any window appears, when there is no name to choose from.
  bool ShowEdit(const std::vector<std::wstring>& rstrNames, std::int32_t& rlngSelect, bool vblnAlway,
                const std::wstring& vstrVersionString, const std::wstring& vstrCreatorVersion,
                const std::wstring& vstrPrompt, bool& rblnAlwayResult);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void FillNameList(const std::vector<std::wstring>& rstrNames);
  void tmrStart_Timer();
  void cmdOk_Click();
  void cmdCancel_Click();
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  // Lets go of what the closed window used.
  void Release();

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  bool mblnCancel = true;
  std::int32_t mlngSelect = 0;
  bool mblnAlwayResult = false;
};
