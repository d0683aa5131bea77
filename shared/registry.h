// Reading the Windows registry, as the core needs it to find the installed programs: key names,
// value names and text values, each bounded, since any installer of the machine writes there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace registry {

// Where a key lies: the machine's or the user's tree, and for the machine's, which view of a 64-bit
// system (its own or the one that 32-bit programs see; one and the same on a 32-bit system).
enum class Root { kMachine64, kMachine32, kUser };

struct Key {
  Root root;
  std::wstring path;  // below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
};

enum class ValueType { kText, kExpandText, kOther };

struct RawValue {
  ValueType type = ValueType::kOther;
  std::wstring data;  // as stored, up to its first null character
};

// The longest text value taken; Windows caps a path's expansion at this length too.
inline constexpr std::size_t kLongestText = 32767;

// The names of the subkeys of `key`, at most `limit`; none when it cannot be opened.
std::vector<std::wstring> SubKeys(const Key& key, std::size_t limit);
// The names of the values of `key`, at most `limit` (the default value not among them).
std::vector<std::wstring> ValueNames(const Key& key, std::size_t limit);
// The values `names` of `key` ("" for the default value) as stored, the key opened once; none for
// a value that is not there or longer than kLongestText characters.
std::vector<std::optional<RawValue>> ReadRaw(const Key& key, const std::vector<std::wstring>& names);
// Environment variables (%NAME%) replaced as the system does; empty when it cannot.
std::wstring ExpandEnvironment(const std::wstring& text);

// A text value ready to use: of a text type, expansions made, not empty. Values of another type,
// too long, or empty after expanding give none.
std::vector<std::optional<std::wstring>> ReadTexts(const Key& key, const std::vector<std::wstring>& names);
std::optional<std::wstring> ReadText(const Key& key, const std::wstring& name);

}  // namespace registry
