// The header rules applied the plain way: the whole file decoded into characters first, then each
// marker searched from the start. The streaming analysis must give the same results.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

struct ReferenceResult {
  std::optional<std::string> creatorText;
  std::string creatorVersion;
  bool operator==(const ReferenceResult& other) const {
    return creatorText == other.creatorText && creatorVersion == other.creatorVersion;
  }
  // How a test shows a result that differs.
  friend void PrintTo(const ReferenceResult& result, std::ostream* out) {
    *out << "{creator " << (result.creatorText ? '"' + *result.creatorText + '"' : "<none>") << ", version \""
         << result.creatorVersion << "\"}";
  }
};

// `file` is the whole file.
inline ReferenceResult ReferenceAnalysis(std::string_view file, std::int64_t limit) {
  const auto& leads = text::Cp932LeadBytes();
  // A DOS EPS binary file starts with C5 D0 D3 C6 and the offset of its PostScript section
  // (little-endian, at byte 4). When that section starts in the file after the 30-byte header,
  // the bytes before it are binary: one character each, paired with nothing.
  std::size_t binary = 0;
  if (file.size() >= 12 && file.substr(0, 4) == "\xC5\xD0\xD3\xC6") {
    std::uint64_t offset = 0;
    for (std::size_t i = 8; i-- > 4;) offset = offset * 256 + static_cast<unsigned char>(file[i]);
    if (offset >= 30 && offset < file.size()) binary = static_cast<std::size_t>(offset);
  }
  // The scanned text: where each of its characters starts in the file, plus the end.
  std::vector<std::size_t> starts;
  std::size_t pos = 0;
  while (pos < file.size() && static_cast<std::int64_t>(starts.size()) < limit) {
    starts.push_back(pos);
    pos += (pos >= binary && leads[static_cast<unsigned char>(file[pos])] && pos + 1 < file.size()) ? 2 : 1;
  }
  const std::size_t count = starts.size();
  starts.push_back(pos);
  auto single = [&](std::size_t i) { return starts[i + 1] - starts[i] == 1 ? file[starts[i]] : '\0'; };
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  auto find = [&](std::string_view marker) -> std::optional<std::size_t> {
    for (std::size_t at = 0; at + marker.size() <= count; ++at) {
      std::size_t i = 0;
      while (i < marker.size() && single(at + i) != '\0' && lower(single(at + i)) == lower(marker[i])) ++i;
      if (i == marker.size()) return at + marker.size();
    }
    return std::nullopt;
  };
  auto lineFrom = [&](std::size_t first) -> std::optional<std::string> {
    for (std::size_t i = first; i < count; ++i) {
      if (single(i) == '\r' || single(i) == '\n') {
        if (i == first) return std::nullopt;
        return text::TrimBlanksAnsi(file.substr(starts[first], starts[i] - starts[first]));
      }
    }
    return std::nullopt;
  };
  ReferenceResult result;
  if (!find("%!PS-Adobe")) return result;
  if (const auto first = find("%%AI8_CreatorVersion:")) result.creatorVersion = lineFrom(*first).value_or("");
  if (const auto first = find("%%Creator:")) result.creatorText = lineFrom(*first);
  return result;
}
