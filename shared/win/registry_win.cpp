// The registry through the wide functions, each key opened for reading only.
#include <windows.h>

#include <algorithm>

#include "registry.h"
#include "win_text.h"

namespace registry {
namespace {

class OpenKey {
 public:
  explicit OpenKey(const Key& key) {
    const HKEY root = key.root == Root::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    REGSAM access = KEY_READ;
    if (key.root == Root::kMachine64) access |= KEY_WOW64_64KEY;
    if (key.root == Root::kMachine32) access |= KEY_WOW64_32KEY;
    if (RegOpenKeyExW(root, key.path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// A key's name has at most 255 characters, a value's name at most 16,383.
constexpr DWORD kLongestKeyName = 256;
constexpr DWORD kLongestValueName = 16384;

template <typename Enumerate>
std::vector<std::wstring> Names(const Key& key, std::size_t limit, DWORD longest, Enumerate enumerate) {
  std::vector<std::wstring> names;
  const OpenKey open(key);
  if (!open.get()) return names;
  std::wstring buffer(longest, L'\0');
  for (DWORD index = 0; names.size() < limit; ++index) {
    DWORD length = longest;
    const LSTATUS status = enumerate(open.get(), index, buffer.data(), &length);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;  // a name that changed meanwhile is left out
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

}  // namespace

std::vector<std::wstring> SubKeys(const Key& key, std::size_t limit) {
  return Names(key, limit, kLongestKeyName, [](HKEY open, DWORD index, wchar_t* name, DWORD* length) {
    return RegEnumKeyExW(open, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> ValueNames(const Key& key, std::size_t limit) {
  std::vector<std::wstring> names =
      Names(key, limit, kLongestValueName, [](HKEY open, DWORD index, wchar_t* name, DWORD* length) {
        return RegEnumValueW(open, index, name, length, nullptr, nullptr, nullptr, nullptr);
      });
  names.erase(std::remove(names.begin(), names.end(), std::wstring()), names.end());
  return names;
}

std::vector<std::optional<RawValue>> ReadRaw(const Key& key, const std::vector<std::wstring>& names) {
  std::vector<std::optional<RawValue>> values(names.size());
  const OpenKey open(key);
  if (!open.get()) return values;
  // Read in one call at the longest length taken; a longer value answers ERROR_MORE_DATA.
  std::wstring buffer;
  for (std::size_t i = 0; i < names.size(); ++i) {
    buffer.assign(kLongestText + 2, L'\0');
    DWORD type = REG_NONE;
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(open.get(), names[i].c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &bytes) != ERROR_SUCCESS) {
      continue;
    }
    buffer.resize(bytes / sizeof(wchar_t));
    const std::size_t end = buffer.find(L'\0');
    if (end != std::wstring::npos) buffer.resize(end);
    if (buffer.size() > kLongestText) continue;
    const ValueType kind =
        type == REG_SZ ? ValueType::kText : type == REG_EXPAND_SZ ? ValueType::kExpandText : ValueType::kOther;
    values[i] = RawValue{kind, buffer};
  }
  return values;
}

std::wstring ExpandEnvironment(const std::wstring& text) {
  // The count returned includes the closing null character when the text fits.
  return wintext::BufferText([&](wchar_t* buffer, DWORD size) -> DWORD {
    const DWORD count = ExpandEnvironmentStringsW(text.c_str(), buffer, size);
    return count == 0 || count > size ? count : count - 1;
  });
}

}  // namespace registry
