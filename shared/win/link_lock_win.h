// What the Windows programs share about link.ini beyond its lock.
#pragma once

#include <string>

#include "file_io.h"

namespace linklock {

// The file's full path as the file system resolves it (links, short names and the drive's own
// spelling undone where the system can tell), upper-cased as the file system compares names: one
// name per file, from whichever program and spelling of its path. The lock is named after it.
std::wstring CanonicalUpperPath(const fileio::FilePath& linkIni);

}  // namespace linklock
