// Linux has no registry: the stand-in holds what a test puts there, in memory.
#include <cstdlib>
#include <map>
#include <mutex>

#include "stand_in_system.h"
#include "text.h"

namespace registry {
namespace {

struct StoredKey {
  std::wstring name;                                                 // as first given
  std::map<std::wstring, std::pair<std::wstring, RawValue>> values;  // by folded name
};

std::mutex gMutex;
// By root and folded path; a path's keys above it are there too.
std::map<std::pair<Root, std::wstring>, StoredKey>& Keys() {
  static std::map<std::pair<Root, std::wstring>, StoredKey> keys;
  return keys;
}

std::wstring Folded(const std::wstring& path) { return text::UpperCaseLatin(path); }

StoredKey& Make(Root root, const std::wstring& path) {
  for (std::size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
    StoredKey& above = Keys()[{root, Folded(path.substr(0, at))}];
    const std::size_t before = at == 0 ? std::wstring::npos : path.rfind(L'\\', at - 1);
    const std::size_t start = before == std::wstring::npos ? 0 : before + 1;
    if (above.name.empty()) above.name = path.substr(start, at - start);
  }
  StoredKey& key = Keys()[{root, Folded(path)}];
  key.name = path.substr(path.rfind(L'\\') == std::wstring::npos ? 0 : path.rfind(L'\\') + 1);
  return key;
}

}  // namespace

std::vector<std::wstring> SubKeys(const Key& key, std::size_t limit) {
  const std::lock_guard<std::mutex> lock(gMutex);
  const std::wstring prefix = Folded(key.path) + L"\\";
  std::vector<std::wstring> names;
  for (const auto& [where, stored] : Keys()) {
    if (names.size() >= limit) break;
    if (where.first != key.root || where.second.rfind(prefix, 0) != 0) continue;
    if (where.second.find(L'\\', prefix.size()) == std::wstring::npos) names.push_back(stored.name);
  }
  return names;
}

std::vector<std::wstring> ValueNames(const Key& key, std::size_t limit) {
  const std::lock_guard<std::mutex> lock(gMutex);
  std::vector<std::wstring> names;
  const auto found = Keys().find({key.root, Folded(key.path)});
  if (found == Keys().end()) return names;
  for (const auto& [folded, value] : found->second.values) {
    if (names.size() < limit && !value.first.empty()) names.push_back(value.first);
  }
  return names;
}

std::vector<std::optional<RawValue>> ReadRaw(const Key& key, const std::vector<std::wstring>& names) {
  const std::lock_guard<std::mutex> lock(gMutex);
  std::vector<std::optional<RawValue>> values(names.size());
  const auto found = Keys().find({key.root, Folded(key.path)});
  if (found == Keys().end()) return values;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto value = found->second.values.find(Folded(names[i]));
    if (value == found->second.values.end()) continue;
    RawValue raw = value->second.second;
    const std::size_t end = raw.data.find(L'\0');
    if (end != std::wstring::npos) raw.data.resize(end);
    if (raw.data.size() <= kLongestText) values[i] = raw;
  }
  return values;
}

std::wstring ExpandEnvironment(const std::wstring& text) {
  std::wstring expanded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t open = text.find(L'%', at);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      expanded += text.substr(at);
      break;
    }
    const std::wstring name = text.substr(open + 1, close - open - 1);
    const char* value = std::getenv(std::string(name.begin(), name.end()).c_str());
    expanded += text.substr(at, open - at);
    // An unknown name stays as it stands, as Windows leaves it.
    expanded += value ? std::wstring(value, value + std::char_traits<char>::length(value)) : L"%" + name + L"%";
    at = close + 1;
  }
  return expanded;
}

namespace stand_in {

void Put(Root root, const std::wstring& path, const std::wstring& name, const RawValue& value) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Make(root, path).values[Folded(name)] = {name, value};
}

void PutKey(Root root, const std::wstring& path) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Make(root, path);
}

void Clear() {
  const std::lock_guard<std::mutex> lock(gMutex);
  Keys().clear();
}

}  // namespace stand_in
}  // namespace registry
