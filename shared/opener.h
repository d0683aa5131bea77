// Which program the shell starts for a kind of file, as a double-click would start it, and the
// registry's entries that say which programs Windows knows to open them.
#pragma once

#include <optional>
#include <string>

#include "file_io.h"

namespace opener {

// The program that the shell starts by the open verb for files of `extension` (".eps"), resolved
// as the shell resolves it: on Windows 8 and later the user's protected choice comes first. None
// when no program is set for such files.
std::optional<fileio::FilePath> ProgramFor(const std::wstring& extension);

enum class Hive { kUser, kMachine };  // HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE

// A text value of `key` (a path under the hive) by `name`, empty for the key's default value; an
// expandable text comes with the environment's values in it. None when the key or the value is
// missing or holds no text.
std::optional<std::wstring> RegistryText(Hive hive, const std::wstring& key, const std::wstring& name);

}  // namespace opener
