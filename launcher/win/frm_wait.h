// The notice shown while a long analysis of the file runs.
#pragma once

#include <windows.h>

#include <string>

class frmWait {
 public:
  frmWait() = default;
  frmWait(const frmWait&) = delete;
  frmWait& operator=(const frmWait&) = delete;
  ~frmWait() { Close(); }

  // Shows the window with the file's path and draws it at once; returns without waiting.
  void ShowEdit(const std::wstring& strFile);
  // Closes and destroys the window.
  void Close();

 private:
  void Form_Load();
  void Create();

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
};
