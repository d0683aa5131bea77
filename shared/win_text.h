// Conversions at the edges of the Windows programs: the INI files and EPS headers are in the ANSI
// code page, windows and paths are wide; and the window geometry, given in twips.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace wintext {

// From the ANSI code page to wide text.
std::wstring FromAnsi(const std::string& ansi);

// To the ANSI code page. `exact` becomes false when a character has no ANSI form (it would come
// back as a different character).
std::string ToAnsi(const std::wstring& wide, bool* exact = nullptr);

// The text of a window or control.
std::wstring WindowText(HWND window);

// The folder that holds the running program's file, where its INI files lie. Throws
// err::AppError when the system cannot tell.
std::filesystem::path ProgramFolder();

}  // namespace wintext

// The program's title: the title of its message boxes and part of its captions.
extern const wchar_t kApplicationTitle[];
