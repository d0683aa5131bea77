// The system's open-file dialog.
#pragma once

#include <windows.h>

#include <string>

namespace basAPI {

// Shows the open-file dialog "ファイルを開く" owned by `owner`, starting in `initialFolder` (the
// system's default folder when it is empty), for one existing file. Returns the chosen file's full
// path, or the empty text when the user cancelled or the dialog failed (a path longer than 256
// bytes does not fit its buffer and fails it).
std::wstring GetOpenFileName(HWND owner, const std::wstring& filter, const std::wstring& initialFolder);

}  // namespace basAPI
