// Writing the test prefix's registry, in the machine's views and the user's, and removing what a
// test wrote. The driver is a 64-bit program: KEY_WOW64_32KEY reaches what 32-bit programs see.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace drive {

// A key of the prefix's registry: the machine's (in one of its views) or the user's.
struct Place {
  HKEY root;
  REGSAM view;  // KEY_WOW64_64KEY, KEY_WOW64_32KEY, or 0 for the user's
};
inline const Place kMachine{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};
inline const Place kMachine32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
inline const Place kUser{HKEY_CURRENT_USER, 0};

inline void SetValue(Place place, const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                     DWORD bytes) {
  HKEY opened = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(place.root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | place.view, nullptr, &opened, nullptr),
      ERROR_SUCCESS)
      << key;
  EXPECT_EQ(RegSetValueExW(opened, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
  RegCloseKey(opened);
}

inline void SetText(Place place, const std::wstring& key, const std::wstring& name, const std::wstring& text,
                    DWORD type = REG_SZ) {
  SetValue(place, key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline void DeleteKey(Place place, const std::wstring& key) {
  const std::size_t split = key.rfind(L'\\');
  HKEY parent = nullptr;
  if (RegOpenKeyExW(place.root, key.substr(0, split).c_str(), 0, KEY_ALL_ACCESS | place.view, &parent) !=
      ERROR_SUCCESS) {
    return;
  }
  RegDeleteTreeW(parent, key.substr(split + 1).c_str());
  RegCloseKey(parent);
}

// The same without a view: the driver's own, the 64-bit one.
inline void SetText(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  SetText(Place{root, 0}, key, name, text);
}

}  // namespace drive
