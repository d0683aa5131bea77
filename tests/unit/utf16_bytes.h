// A file as a text editor saves it as "Unicode": the byte-order mark, then the UTF-16 code units,
// little- or big-endian. Shared by the native tests and the tests under Wine.
#pragma once

#include <string>
#include <string_view>

template <typename Unit>
std::string Utf16Bytes(std::basic_string_view<Unit> text, bool bigEndian) {
  static_assert(sizeof(Unit) == 2, "UTF-16 code units");
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const Unit unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}
