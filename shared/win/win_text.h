// Text at the edges of the Windows programs: conversions between the programs' wide text and the
// code pages of the files (the INI files and EPS headers are in the ANSI code page), and the texts
// that the system hands back in a buffer of the caller's (window texts, paths, the program's
// file name).
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace wintext {

// Text of a code page (CP_ACP, CP_UTF8) as wide text.
std::wstring Wide(std::string_view text, UINT codePage);

// Wide text in a code page. With `flags` WC_NO_BEST_FIT_CHARS, a character that the code page
// lacks becomes its default character and `defaulted` tells whether that happened; without, the
// system's best fit stands in for it, as the system's own conversions of INI files do.
std::string Narrow(std::wstring_view wide, UINT codePage, DWORD flags = 0, bool* defaulted = nullptr);

// From the ANSI code page to wide text.
inline std::wstring FromAnsi(std::string_view ansi) { return Wide(ansi, CP_ACP); }

// To the ANSI code page. `exact` becomes false when a character has no ANSI form (it would come
// back as a different character).
std::string ToAnsi(std::wstring_view wide, bool* exact = nullptr);

// A text that a system call writes into a buffer: `call(buffer, size)` returns the text's length
// in characters when it fits, or a length of `size` or more when it does not (the size needed, or
// the buffer cut short), or 0 when it fails. Called again with a larger buffer until the text fits;
// empty when the call fails (GetLastError tells why).
template <typename Call>
std::wstring BufferText(Call call) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length + 1 > text.size() * 2 ? length + 1 : text.size() * 2);
  }
}

// The text of a window or control.
std::wstring WindowText(HWND window);

// Upper case as the file system compares names, from kernel32 (not user32's CharUpperBuffW): a
// launcher that hands its file to another's chooser needs nothing of the window system before it
// does. The text as given when the system cannot tell.
inline std::wstring UpperCase(const std::wstring& text) {
  std::wstring upper(text.size(), L'\0');
  const int length = static_cast<int>(text.size());
  if (length == 0 || !LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length, upper.data(), length,
                                    nullptr, nullptr, 0)) {
    return text;
  }
  return upper;
}

// The running program's file, and the folder that holds it, where its INI files lie. Throw
// err::AppError when the system cannot tell.
std::filesystem::path ProgramFile();
std::filesystem::path ProgramFolder();

}  // namespace wintext

// The program's title: the title of its message boxes and part of its captions.
extern const wchar_t* const kApplicationTitle;
