// The notice shown while a long analysis of the file runs.
#pragma once

#include <string>

#include "win_form.h"

class frmWait : private winform::Dialog {
 public:
  frmWait();

  // Shows the window with the file's path and draws it at once; returns without waiting. The
  // window goes with the object.
  void ShowEdit(const std::wstring& strFile);

 private:
  void Form_Load() override;
};
