// The about window, shown when the launcher is started without a file.
#pragma once

#include <windows.h>

#include <string>

#include "win_form.h"

class frmDummy : private winform::Dialog {
 public:
  frmDummy();

  // Shows the window modally and returns when it has been closed.
  void ShowModal();

  // Starts the system-information program, or says that it cannot.
  void StartSysInfo();

  // Reads a string value below `KeyRoot` (for reading only); false, with `KeyVal` empty, when the
  // key cannot be opened or the value cannot be read. A value that fills the whole buffer of 1024
  // bytes throws err::AppError.
  static bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

 private:
  void Form_Load() override;
  void OnLayout() override;
  void OnCommand(int id, int code) override;
  void OnClose() override { cmdOk_Click(); }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void cmdOk_Click();
  void cmdSysInfo_Click();
  void PaintLine();
  // Looks the program up and starts it; false when that did not work out, for whatever reason.
  bool TryStartSysInfo();
};
