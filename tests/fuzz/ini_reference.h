// The INI reading rules applied the plain way, for ANSI files: the file split into lines, each
// classified on its own, the first section and the first key of a name taken.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace reference {

struct Key {
  std::string name;
  std::optional<std::string> raw;  // the text after '=', untrimmed; none without '='
};
struct Section {
  std::string name;
  std::vector<Key> keys;
};

inline bool Blank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

inline std::string Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

inline bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

inline std::vector<Section> Parse(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  std::vector<Section> sections;
  const auto& leads = text::Cp932LeadBytes();
  for (const std::string_view line : lines) {
    const std::string content = Trim(line);
    if (content.empty() || content[0] == ';') continue;
    if (content[0] == '[') {
      std::size_t end = 1;
      while (end < content.size() && content[end] != ']')
        end += leads[static_cast<unsigned char>(content[end])] ? 2 : 1;
      sections.push_back({Trim(std::string_view(content).substr(1, std::min(end, content.size()) - 1)), {}});
    } else if (!sections.empty()) {
      const std::size_t equals = content.find('=');
      if (equals == std::string::npos) {
        sections.back().keys.push_back({Trim(content), std::nullopt});
      } else {
        sections.back().keys.push_back({Trim(std::string_view(content).substr(0, equals)), content.substr(equals + 1)});
      }
    }
  }
  return sections;
}

// The value as a read with a buffer of `size` bytes gives it.
inline std::string Get(const std::vector<Section>& sections, std::string_view section, std::string_view key,
                       std::size_t size = 1024) {
  for (const Section& s : sections) {
    if (!Same(s.name, section)) continue;
    for (const Key& k : s.keys) {
      if (!Same(k.name, key)) continue;
      if (!k.raw) return {};
      std::string value = Trim(*k.raw);
      if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
      }
      // A longer value is cut to the whole characters that fit.
      if (value.size() > size - 1) {
        const auto& leads = text::Cp932LeadBytes();
        std::size_t whole = 0;
        while (whole < value.size()) {
          const std::size_t width = leads[static_cast<unsigned char>(value[whole])] ? 2 : 1;
          if (whole + width > size - 1) break;
          whole += width;
        }
        value.resize(whole);
      }
      return value.substr(0, value.find('\0'));
    }
    return {};  // only the first section of a name is searched
  }
  return {};
}

}  // namespace reference
