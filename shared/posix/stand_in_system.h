// What the native stand-ins give in place of the Windows registry and the programs' version
// resources, which Linux does not have: contents that a test puts there, empty otherwise.
#pragma once

#include <string>

#include "file_io.h"
#include "registry.h"
#include "version_info.h"

namespace versioninfo::stand_in {

// From now on Read(program) gives `version` (the texts as Read would clean them).
void Put(const fileio::FilePath& program, const ProgramVersion& version);
void Clear();

}  // namespace versioninfo::stand_in

namespace registry::stand_in {

// The value `name` ("" for the default) of the key at `path` below `root`, made with the keys
// above it; names of keys and values are compared without letter case, as Windows does.
void Put(Root root, const std::wstring& path, const std::wstring& name, const RawValue& value);
// A key without values.
void PutKey(Root root, const std::wstring& path);
void Clear();

}  // namespace registry::stand_in
