#include "version_suggestion.h"

#include "text.h"

namespace suggestion {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The number made of the digits from `at` on, as long as it fits.
std::optional<unsigned> NumberAt(std::wstring_view text, std::size_t at) {
  unsigned long value = 0;
  std::size_t end = at;
  for (; end < text.size() && IsDigit(text[end]); ++end) {
    value = value * 10 + static_cast<unsigned>(text[end] - L'0');
    if (value > 0xFFFFFFFFul / 10) return std::nullopt;
  }
  if (end == at) return std::nullopt;
  return static_cast<unsigned>(value);
}

// Where a version number ("17", "17.0", "10.0.1") ends the text, blanks after it allowed, preceded
// by a blank or the start; npos without one.
std::size_t TrailingVersionStart(std::wstring_view text) {
  std::size_t end = text.find_last_not_of(L' ');
  if (end == std::wstring_view::npos || !IsDigit(text[end])) return std::wstring_view::npos;
  std::size_t start = end + 1;
  while (start > 0 && (IsDigit(text[start - 1]) || text[start - 1] == L'.')) --start;
  while (start <= end && text[start] == L'.') ++start;
  if (start > 0 && text[start - 1] != L' ') return std::wstring_view::npos;
  return start;
}

std::wstring Trimmed(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

}  // namespace

std::wstring ProductOfCreator(std::wstring_view creatorText) {
  std::wstring product(creatorText);
  for (const std::wstring_view mark : {L"(R)", L"(r)", L"(TM)", L"(tm)", L"(Tm)", L"\u00AE", L"\u2122"}) {
    for (std::size_t at; (at = product.find(mark)) != std::wstring::npos;) product.erase(at, mark.size());
  }
  const std::size_t version = TrailingVersionStart(product);
  if (version != std::wstring::npos) product.resize(version);
  return Trimmed(product);
}

std::optional<unsigned> MajorOfFile(std::wstring_view creatorText, std::wstring_view creatorVersion) {
  for (std::size_t at = 0; at < creatorVersion.size(); ++at) {
    if (IsDigit(creatorVersion[at])) return NumberAt(creatorVersion, at);
  }
  const std::size_t version = TrailingVersionStart(creatorText);
  if (version == std::wstring_view::npos) return std::nullopt;
  return NumberAt(creatorText, version);
}

bool MadeFile(const versioninfo::ProgramVersion& program, std::wstring_view product, unsigned major) {
  if (product.empty() || !program.hasNumbers || program.major != major) return false;
  const std::wstring wanted = text::UpperCaseLatin(product);
  return text::UpperCaseLatin(program.productName).find(wanted) != std::wstring::npos ||
         text::UpperCaseLatin(program.fileDescription).find(wanted) != std::wstring::npos;
}

int SuggestedRow(std::wstring_view creatorText, std::wstring_view creatorVersion,
                 const std::vector<std::optional<versioninfo::ProgramVersion>>& versions,
                 const std::vector<bool>& gone) {
  const std::optional<unsigned> major = MajorOfFile(creatorText, creatorVersion);
  if (!major) return -1;
  const std::wstring product = ProductOfCreator(creatorText);
  for (std::size_t row = 0; row < versions.size(); ++row) {
    const bool rowGone = row >= gone.size() || gone[row];
    if (!rowGone && versions[row] && MadeFile(*versions[row], product, *major)) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace suggestion
