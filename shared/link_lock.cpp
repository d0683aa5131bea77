#include "link_lock.h"

namespace linklock {

std::wstring LockName(std::wstring_view upperCaseFullPath) {
  // FNV-1a over the path's UTF-16 code units.
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (const wchar_t c : upperCaseFullPath) {
    for (const unsigned byte : {static_cast<unsigned>(c) & 0xFFu, (static_cast<unsigned>(c) >> 8) & 0xFFu}) {
      hash ^= byte;
      hash *= 0x100000001B3ull;
    }
  }
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring name = L"Local\\Varnock.link.ini.";
  for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(hash >> shift) & 0xF];
  return name;
}

}  // namespace linklock
