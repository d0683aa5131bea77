// The path of one of the system's special folders.
#pragma once

#include <cstdint>
#include <string>

namespace modSHGetFolderPath {

// The system's program-files folder (CSIDL_PROGRAM_FILES).
inline constexpr std::int32_t kProgramFiles = 38;

// The folder's current path, or the empty text when the system cannot give it.
std::wstring GetSpecialFolder(std::int32_t folder);

}  // namespace modSHGetFolderPath
