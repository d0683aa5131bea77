// What the native stand-ins give in place of the Windows registry and the programs' version
// resources, which Linux does not have: contents that a test puts there, empty otherwise.
#pragma once

#include <string>

#include "file_io.h"
#include "version_info.h"

namespace versioninfo::stand_in {

// From now on Read(program) gives `version` (the texts as Read would clean them).
void Put(const fileio::FilePath& program, const ProgramVersion& version);
void Clear();

}  // namespace versioninfo::stand_in
