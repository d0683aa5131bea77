// The application selection dialog: the user picks the program that opens the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "icon_list.h"
#include "win_form.h"

class frmSelect : private winform::Dialog {
 public:
  frmSelect();

  // Shows the dialog modally. True when confirmed with OK; `rlngSelect` is then the index (from 1)
  // of the chosen name and `rblnAlwayResult` whether the choice is to be remembered. `rstrPaths`
  // holds the program path of each name, for its icon and to mark a program that has gone. With
  // `vblnSuggest` the row of the version that made the file is marked and selected once the
  // programs' version resources have been read, after the first paint. Fails with err::AppError,
  // before any window appears, when there is no name to choose from.
  bool ShowEdit(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths,
                std::int32_t& rlngSelect, bool vblnAlway, bool vblnSuggest, const std::wstring& vstrVersionString,
                const std::wstring& vstrCreatorVersion, const std::wstring& vstrPrompt, bool& rblnAlwayResult);
  // Puts a new prompt into the open dialog (the number of files that share it has changed).
  void SetPrompt(const std::wstring& vstrPrompt);

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR timer) override;
  void OnClose() override { cmdCancel_Click(); }
  // The digit keys 1 to 9 choose their row and confirm, whichever control has the focus.
  bool PreTranslate(const MSG& message) override;
  void FillNameList(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths);
  void tmrStart_Timer();
  // Every row's program has been looked at: the suggestion, once.
  void lstName_Checked();
  void cmdOk_Click();
  void cmdCancel_Click();

  winform::IconList lstName;
  bool mblnCancel = true;
  std::int32_t mlngSelect = 0;
  bool mblnAlwayResult = false;
  bool mblnSuggest = false;
  std::wstring mstrVersionString;
  std::wstring mstrCreatorVersion;
  bool mblnUserMoved = false;  // the user has chosen in the list since the dialog opened
  bool mblnSuggested = false;
};
