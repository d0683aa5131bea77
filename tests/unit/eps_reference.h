// The header rules applied the plain way: the whole scanned text decoded into characters first,
// then each marker searched from the start. The streaming analysis must give the same results.
#pragma once

#include <cstdint>
#include <optional>
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
};

inline ReferenceResult ReferenceAnalysis(std::string_view file, std::int64_t limit) {
  const auto& leads = text::Cp932LeadBytes();
  // The scanned text: where each of its characters starts in the file, plus the end.
  std::vector<std::size_t> starts;
  std::size_t pos = 0;
  while (pos < file.size() && static_cast<std::int64_t>(starts.size()) < limit) {
    starts.push_back(pos);
    pos += (leads[static_cast<unsigned char>(file[pos])] && pos + 1 < file.size()) ? 2 : 1;
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
