#include "mod_shgetfolderpath.h"

#include <windows.h>

#include <shfolder.h>

#include <cstring>

#include "win_text.h"

namespace modSHGetFolderPath {
namespace {

// SHGFP_TYPE_CURRENT: the folder's path as it is now, not its default.
constexpr DWORD kCurrentPath = 0;

}  // namespace

std::wstring GetSpecialFolder(std::int32_t folder) {
  char buffer[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, folder, nullptr, kCurrentPath, buffer) != S_OK) return {};
  return wintext::FromAnsi(std::string(buffer, strnlen(buffer, MAX_PATH)));
}

}  // namespace modSHGetFolderPath
