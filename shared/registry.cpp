#include "registry.h"

namespace registry {
namespace {

std::optional<std::wstring> TextOf(const std::optional<RawValue>& raw) {
  if (!raw || raw->type == ValueType::kOther || raw->data.size() > kLongestText) return std::nullopt;
  std::wstring text = raw->type == ValueType::kExpandText ? ExpandEnvironment(raw->data) : raw->data;
  if (text.size() > kLongestText || text.find_first_not_of(L' ') == std::wstring::npos) return std::nullopt;
  return text;
}

}  // namespace

std::vector<std::optional<std::wstring>> ReadTexts(const Key& key, const std::vector<std::wstring>& names) {
  std::vector<std::optional<std::wstring>> texts;
  for (const std::optional<RawValue>& raw : ReadRaw(key, names)) texts.push_back(TextOf(raw));
  return texts;
}

std::optional<std::wstring> ReadText(const Key& key, const std::wstring& name) { return ReadTexts(key, {name})[0]; }

}  // namespace registry
