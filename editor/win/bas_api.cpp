#include "bas_api.h"

#include <commdlg.h>

#include <cstring>

#include "editor_texts.h"
#include "win_text.h"

// The module's own operation carries the name that commdlg.h takes for a macro.
#undef GetOpenFileName

namespace basAPI {
namespace {

// 256 bytes of path and the closing NUL.
constexpr DWORD kBufferSize = 257;

}  // namespace

std::wstring GetOpenFileName(HWND owner, const std::vector<FileFilter>& filters, const std::wstring& initialFolder) {
  // Each description and its patterns end with a NUL, the list with an empty text; no filters is
  // that end alone.
  std::string filterList;
  for (const FileFilter& filter : filters) {
    for (const std::wstring* text : {&filter.description, &filter.pattern}) {
      filterList += wintext::ToAnsi(*text);
      filterList.push_back('\0');
    }
  }
  filterList.push_back('\0');
  const std::string folder = wintext::ToAnsi(initialFolder);
  const std::string title = wintext::ToAnsi(editor_texts::kOpenFileTitle);
  char file[kBufferSize] = {};
  char fileTitle[kBufferSize] = {};

  // The form without the extension fields, as the system has always accepted it.
  OPENFILENAMEA request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = owner;
  request.hInstance = GetModuleHandleW(nullptr);
  request.lpstrFilter = filterList.c_str();
  request.nFilterIndex = filters.empty() ? 0 : 1;
  request.lpstrFile = file;
  request.nMaxFile = kBufferSize;
  request.lpstrFileTitle = fileTitle;
  request.nMaxFileTitle = kBufferSize;
  request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  request.lpstrTitle = title.c_str();
  request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&request)) return {};
  return wintext::FromAnsi(std::string(file, strnlen(file, kBufferSize)));
}

}  // namespace basAPI
