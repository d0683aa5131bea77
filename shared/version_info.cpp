#include "version_info.h"

namespace versioninfo {

std::wstring NumbersText(const ProgramVersion& version) {
  if (!version.hasNumbers) return {};
  return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." + std::to_wstring(version.build);
}

std::wstring CleanText(std::wstring text) {
  const std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  if (text.size() > kLongestText) text.resize(kLongestText);
  for (wchar_t& c : text) {
    if (c < 0x20 || c == 0x7F) c = L' ';
  }
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace versioninfo
