// What the native stand-in gives in place of the shell's associations, which Linux does not have:
// the programs that a test puts there, none otherwise.
#pragma once

#include <string>

#include "file_io.h"

namespace opener::stand_in {

// From now on ProgramFor(extension) gives `program`.
void Put(const std::wstring& extension, const fileio::FilePath& program);
void Clear();

}  // namespace opener::stand_in
