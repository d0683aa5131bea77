// Which program the shell starts for a kind of file, as a double-click would start it.
#pragma once

#include <optional>
#include <string>

#include "file_io.h"

namespace opener {

// The program that the shell starts by the open verb for files of `extension` (".eps"), resolved
// as the shell resolves it: on Windows 8 and later the user's protected choice comes first. None
// when no program is set for such files.
std::optional<fileio::FilePath> ProgramFor(const std::wstring& extension);

}  // namespace opener
