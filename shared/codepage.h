// Conversions between the ANSI code page (932 on the systems the programs serve) and Unicode: the
// programs' wide text against the INI files and header bytes, and INI files that a text editor
// saved as UTF-8 or UTF-16 with a byte-order mark.
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// ANSI text from UTF-8; a character that the ANSI code page lacks becomes the system's stand-in
// ('?'), as the system's own conversion gives it.
std::string AnsiFromUtf8(std::string_view utf8);

// UTF-8 from ANSI text.
std::string Utf8FromAnsi(std::string_view ansi);

// The programs' wide text from ANSI text, as the system converts it.
std::wstring WideFromAnsi(std::string_view ansi);
// ANSI text from wide text; a character that the code page lacks becomes the system's stand-in,
// and `exact` (when given) is then set false.
std::string AnsiFromWide(std::wstring_view wide, bool* exact = nullptr);

// UTF-16 code units (two bytes each, little- or big-endian) to UTF-8 and back. Lossless both ways:
// a lone surrogate is kept as its own three-byte form, so a file goes back exactly as it came.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian);
std::string Utf16FromUtf8(std::string_view utf8, bool bigEndian);

}  // namespace codepage
