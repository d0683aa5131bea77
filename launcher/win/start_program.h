// Starting another program the way the launcher does it.
#pragma once

#include <string>

// Starts exactly the file `program` (never a program found by cutting its path at a blank) with the
// command line given, its window shown normally, without waiting for it. False when it could not
// be started; GetLastError() then tells why.
bool StartProgram(const std::wstring& program, const std::wstring& commandLine);
