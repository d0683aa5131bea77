// Text helpers shared by both programs. Values from the INI files and from EPS headers stay in the
// system's ANSI code page (932, Shift-JIS) as byte strings; window texts and paths are wide strings.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace text {

// Which bytes open a double-byte character in the ANSI code page.
using LeadByteTable = std::array<bool, 256>;

// Code page 932: 0x81-0x9F and 0xE0-0xFC open a double-byte character.
const LeadByteTable& Cp932LeadBytes();

// Removes blanks (U+0020 only) at both ends; tabs and other characters stay.
std::wstring TrimBlanks(std::wstring_view value);

// The same for ANSI text: a blank that is the second byte of a double-byte character stays.
std::string TrimBlanksAnsi(std::string_view value, const LeadByteTable& leads = Cp932LeadBytes());

// Upper case as the Japanese system folds it: ASCII letters and the full-width Latin, Greek and
// Cyrillic letters of code page 932. Nothing else changes (width and kana stay as they are).
std::string UpperCaseCp932(std::string_view value);

// The same for wide text, as the programs compare names of their own (products, files, registry
// keys): ASCII and full-width Latin letters only.
std::wstring UpperCaseLatin(std::wstring_view value);

// Decimal text of a number, as the INI keys carry it ("link" + 12 gives "link12").
std::string NumberedKey(std::string_view word, long number);

}  // namespace text
