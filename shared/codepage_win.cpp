// The ANSI code page on Windows: the system's own conversions.
#include <windows.h>

#include "codepage.h"

namespace codepage {
namespace {

std::wstring Wide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}

}  // namespace

std::string AnsiFromUtf8(std::string_view utf8) { return Narrow(Wide(utf8, CP_UTF8), CP_ACP); }

std::string Utf8FromAnsi(std::string_view ansi) { return Narrow(Wide(ansi, CP_ACP), CP_UTF8); }

}  // namespace codepage
