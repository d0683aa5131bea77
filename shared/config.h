// The two INI files that the launcher and the list editor share, and the keys they hold.
#pragma once

#include <cstdint>

namespace config {

inline constexpr wchar_t kNameIniFile[] = L"name.ini";
inline constexpr wchar_t kLinkIniFile[] = L"link.ini";

// Both files hold a single section.
inline constexpr char kSection[] = "main";

// Numbered keys: the word followed by the entry number in decimal, from 1.
inline constexpr char kNameKey[] = "name";
inline constexpr char kPathKey[] = "path";
inline constexpr char kLinkKey[] = "link";
inline constexpr char kCreatorVersionKey[] = "CreatorVersion";

// The list editor empties link.ini to this one entry so that the file stays present and valid.
inline constexpr char kMarkerKey[] = "Quelby";
inline constexpr char kMarkerValue[] = "1";

// Highest entry numbers that the readers look at.
inline constexpr std::int32_t kMaxNameEntries = 99;
inline constexpr std::int32_t kMaxLinkEntries = 999;

// Every value is read into a buffer of this many characters (at most 1023 bytes come back).
inline constexpr std::int32_t kValueBufferSize = 1024;

}  // namespace config
