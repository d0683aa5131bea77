#include "text.h"

namespace text {

const LeadByteTable& Cp932LeadBytes() {
  static const LeadByteTable table = [] {
    LeadByteTable leads{};
    for (int b = 0x81; b <= 0x9F; ++b) leads[b] = true;
    for (int b = 0xE0; b <= 0xFC; ++b) leads[b] = true;
    return leads;
  }();
  return table;
}

std::wstring TrimBlanks(std::wstring_view value) {
  const auto first = value.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const auto last = value.find_last_not_of(L' ');
  return std::wstring(value.substr(first, last - first + 1));
}

std::string TrimBlanksAnsi(std::string_view value, const LeadByteTable& leads) {
  size_t start = 0;
  while (start < value.size() && value[start] == ' ') ++start;
  // Walk the characters so that only a blank standing as a character of its own counts.
  size_t end = start;
  size_t pos = start;
  while (pos < value.size()) {
    const auto byte = static_cast<unsigned char>(value[pos]);
    const size_t width = (leads[byte] && pos + 1 < value.size()) ? 2 : 1;
    if (width == 2 || byte != ' ') end = pos + width;
    pos += width;
  }
  return std::string(value.substr(start, end - start));
}

std::string UpperCaseCp932(std::string_view value) {
  std::string upper(value);
  const auto& leads = Cp932LeadBytes();
  for (size_t pos = 0; pos < upper.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(upper[pos]);
    if (!leads[byte] || pos + 1 >= upper.size()) {
      if (byte >= 'a' && byte <= 'z') upper[pos] = static_cast<char>(byte - 'a' + 'A');
      continue;
    }
    const auto trail = static_cast<unsigned char>(upper[pos + 1]);
    int folded = trail;
    if (byte == 0x82 && trail >= 0x81 && trail <= 0x9A) folded = trail - 0x21;  // ａ-ｚ to Ａ-Ｚ
    if (byte == 0x83 && trail >= 0xBF && trail <= 0xD6) folded = trail - 0x20;  // Greek
    if (byte == 0x84 && trail >= 0x70 && trail <= 0x91 && trail != 0x7F) {      // Cyrillic
      folded = trail - (trail > 0x7F ? 0x31 : 0x30);
    }
    upper[pos + 1] = static_cast<char>(folded);
    ++pos;
  }
  return upper;
}

std::wstring UpperCaseLatin(std::wstring_view value) {
  std::wstring upper(value);
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c >= L'\xFF41' && c <= L'\xFF5A') c = static_cast<wchar_t>(c - 0xFF41 + 0xFF21);  // ａ-ｚ
  }
  return upper;
}

std::string NumberedKey(std::string_view word, long number) { return std::string(word) + std::to_string(number); }

}  // namespace text
