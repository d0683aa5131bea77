#include "link_lock.h"

namespace linklock {
namespace {

// FNV-1a, 64 bits.
class Hash {
 public:
  void Add(unsigned byte) {
    value_ ^= byte & 0xFFu;
    value_ *= 0x100000001B3ull;
  }
  std::wstring Hex() const {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring digits;
    for (int shift = 60; shift >= 0; shift -= 4) digits += kDigits[(value_ >> shift) & 0xF];
    return digits;
  }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325ull;
};

}  // namespace

std::wstring LockName(std::wstring_view upperCaseFullPath) {
  Hash hash;  // over the path's UTF-16 code units
  for (const wchar_t c : upperCaseFullPath) {
    hash.Add(static_cast<unsigned>(c));
    hash.Add(static_cast<unsigned>(c) >> 8);
  }
  return L"Local\\Varnock.link.ini." + hash.Hex();
}

std::wstring LockName(std::wstring_view upperCaseFullPath, std::string_view part) {
  Hash hash;
  for (const char byte : part) hash.Add(static_cast<unsigned char>(byte));
  return LockName(upperCaseFullPath) + L"." + hash.Hex();
}

}  // namespace linklock
