// The list editor on Windows: it reads no command line and ends when its window has closed.
#include <windows.h>

#include "editor_texts.h"
#include "error.h"
#include "frm_quelby.h"

extern const wchar_t* const kApplicationTitle = editor_texts::kTitle;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    frmQuelby().Show();
  } catch (...) {
    ShowError(err::CurrentErrorNumber());
  }
  return 0;
}
