// The code page conversions of INI files on Windows: the system's own, as its private-profile
// functions use them.
#include "codepage.h"
#include "win_text.h"

namespace codepage {

std::string AnsiFromUtf8(std::string_view utf8) { return wintext::Narrow(wintext::Wide(utf8, CP_UTF8), CP_ACP); }

std::string Utf8FromAnsi(std::string_view ansi) { return wintext::Narrow(wintext::FromAnsi(ansi), CP_UTF8); }

std::wstring WideFromAnsi(std::string_view ansi) { return wintext::FromAnsi(ansi); }

std::string AnsiFromWide(std::wstring_view wide, bool* exact) { return wintext::ToAnsi(wide, exact); }

}  // namespace codepage
