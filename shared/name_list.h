// name.ini, the application list, which the launcher and the list editor share: its reading
// rule, the list as the launcher offers it, and what a save writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "file_io.h"
#include "ini.h"

// One application of the list; texts in the ANSI code page, trimmed of blanks at both ends.
struct NameEntry {
  std::string name;
  std::string path;
};

// Reads name1/path1 up to name99/path99 of section "main"; the list ends at the first number whose
// name or path is empty, whatever follows it.
std::vector<NameEntry> ReadNameEntries(const IniDocument& ini);

// The application list as the launcher offers it. Entry i (from 1) is element i - 1 of each list.
struct AppList {
  std::vector<std::string> mstrAppNames;  // shown in the selection dialog
  std::vector<std::string> mstrAppPaths;
  std::int32_t count() const { return static_cast<std::int32_t>(mstrAppNames.size()); }
};

// Reads name1/path1 up to name99/path99; the list ends at the first empty name or path.
std::int32_t ReadNameIni(const fileio::FilePath& file, AppList& list);

// The index (from 0) of the first application whose program path is `programPath`, letter case
// ignored; -1 when none is.
std::int32_t AppIndexOf(const AppList& apps, const std::string& programPath);

// What names a program: the application's name, else the program path itself.
std::string ProgramLabel(const AppList& apps, const std::string& programPath);
