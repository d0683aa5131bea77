// The reading rule of name.ini, the application list, which the launcher and the list editor share.
#pragma once

#include <string>
#include <vector>

#include "ini.h"

// One application of the list; texts in the ANSI code page, trimmed of blanks at both ends.
struct NameEntry {
  std::string name;
  std::string path;
};

// Reads name1/path1 up to name99/path99 of section "main"; the list ends at the first number whose
// name or path is empty, whatever follows it.
std::vector<NameEntry> ReadNameEntries(const IniDocument& ini);
