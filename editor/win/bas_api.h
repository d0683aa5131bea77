// The system's open-file dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace basAPI {

// One entry of the dialog's list of file types: what it shows, and the patterns it lists by.
struct FileFilter {
  std::wstring description;
  std::wstring pattern;  // "*.eps;*.ai"
};

// Shows the open-file dialog "ファイルを開く" owned by `owner`, starting in `initialFolder` (the
// system's default folder when it is empty), for one existing file, offering the file types given
// (the first chosen; every file when there are none). Returns the chosen file's full path, or the
// empty text when the user cancelled or the dialog failed (a path longer than 256 bytes does not
// fit its buffer and fails it).
std::wstring GetOpenFileName(HWND owner, const std::vector<FileFilter>& filters, const std::wstring& initialFolder);

}  // namespace basAPI
