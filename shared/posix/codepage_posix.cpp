// The ANSI code page where the portable core is built outside Windows: code page 932 through the
// C library's iconv.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "codepage.h"

namespace codepage {
namespace {

// Converts as far as it can; an input character that cannot be converted becomes `standIn` and is
// skipped, and `exact` (when given) is set false.
std::string Convert(std::string_view text, const char* to, const char* from, const char* standIn,
                    bool* exact = nullptr) {
  std::string out;
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return out;
  struct Closer {
    void operator()(void* open) const { iconv_close(static_cast<iconv_t>(open)); }
  };
  const std::unique_ptr<void, Closer> owner(converter);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPos = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &outPos, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPos - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      if (exact) *exact = false;
      out += standIn;
      // Skip one character of the input: a whole UTF-8 sequence, one wide character, or one ANSI byte.
      std::size_t skip = std::string_view(from) == "WCHAR_T" ? sizeof(wchar_t) : 1;
      if (std::string_view(from) == "UTF-8") {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::string AnsiFromUtf8(std::string_view utf8) { return Convert(utf8, "CP932", "UTF-8", "?"); }

std::string Utf8FromAnsi(std::string_view ansi) { return Convert(ansi, "UTF-8", "CP932", "\xE3\x83\xBB"); }

std::wstring WideFromAnsi(std::string_view ansi) {
  const std::string utf8 = Utf8FromAnsi(ansi);
  const std::string units = Convert(utf8, "WCHAR_T", "UTF-8", "");
  std::wstring wide(units.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), units.data(), wide.size() * sizeof(wchar_t));
  return wide;
}

std::string AnsiFromWide(std::wstring_view wide, bool* exact) {
  if (exact) *exact = true;
  const std::string units(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  const std::string utf8 = Convert(units, "UTF-8", "WCHAR_T", "?", exact);
  return Convert(utf8, "CP932", "UTF-8", "?", exact);
}

}  // namespace codepage
