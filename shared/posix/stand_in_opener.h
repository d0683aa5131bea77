// What the native stand-in gives in place of the shell's associations and the registry, which
// Linux does not have: what a test puts there, nothing otherwise.
#pragma once

#include <string>

#include "file_io.h"
#include "opener.h"

namespace opener::stand_in {

// From now on ProgramFor(extension) gives `program`.
void Put(const std::wstring& extension, const fileio::FilePath& program);
// From now on RegistryText(hive, key, name) gives `text` (the key's letter case as given).
void PutText(Hive hive, const std::wstring& key, const std::wstring& name, const std::wstring& text);
// Both.
void Clear();

}  // namespace opener::stand_in
