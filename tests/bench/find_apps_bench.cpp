// Times finding the installed drawing applications, under Wine or Windows, against the least work
// over the same registry keys:
//   find_apps_bench.exe ROUNDS PROGRAMS
// PROGRAMS is a folder that holds Illustrator 2021\Illustrator.exe (registered for .ai), Illustrator
// CS6\Illustrator.exe and Illustrator 10\Illustrator.exe (found through uninstall entries) and
// FreeHand\FHMX.exe (registered for .eps). The benchmark registers them, with 60 ProgIDs for .eps
// and .ai and 300 uninstall entries in all (the machine's two views and the user's), in the
// current user's and the machine's registry, and removes it all at the end. The least work
// enumerates the same keys and reads each value once, without looking at any file. Prints each
// pair, the medians and "ratio find-apps X" (finding over the least work).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "program_finder.h"
#include "windows_timing.h"

namespace {

constexpr const wchar_t* kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

struct Place {
  HKEY root;
  REGSAM view;
};
const Place kMachine{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};
const Place kMachine32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
const Place kUser{HKEY_CURRENT_USER, 0};
const Place kViews[] = {kMachine, kMachine32, kUser};
const std::wstring kClasses[] = {L"Software\\Classes\\", L"SOFTWARE\\Classes\\"};  // the user's, the machine's
const Place kClassPlaces[] = {kUser, kMachine};

bool SetText(Place place, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(place.root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | place.view, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExW(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(opened);
  return set;
}

void DeleteKey(Place place, const std::wstring& parent, const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(place.root, parent.c_str(), 0, KEY_ALL_ACCESS | place.view, &opened) != ERROR_SUCCESS) return;
  RegDeleteTreeW(opened, key.c_str());
  RegCloseKey(opened);
}

std::wstring UninstallEntry(int number) { return L"Bench.Entry" + std::to_wstring(number); }

void Unregister() {
  for (const Place place : kClassPlaces) {
    const std::wstring& classes = place.root == HKEY_CURRENT_USER ? kClasses[0] : kClasses[1];
    for (const wchar_t* key : {L".eps", L".ai", L"Applications\\FHMX.exe"}) DeleteKey(place, classes, key);
    for (int i = 0; i < 60; ++i) DeleteKey(place, classes, L"Bench.ProgId" + std::to_wstring(i));
  }
  for (const Place place : kViews) {
    for (int i = 0; i < 300; ++i) DeleteKey(place, kUninstall, UninstallEntry(i));
  }
}

// 60 ProgIDs, half for .eps and half for .ai, of the user's and the machine's classes; two open the
// registered programs, the others programs that are not there. 300 uninstall entries, a hundred per
// view, two of them for the other copies.
bool Register(const std::wstring& programs) {
  bool ok = true;
  for (int i = 0; i < 60; ++i) {
    const Place place = kClassPlaces[i % 2];
    const std::wstring& classes = kClasses[i % 2];
    const std::wstring progId = L"Bench.ProgId" + std::to_wstring(i);
    std::wstring program = L"C:\\Bench\\Missing " + std::to_wstring(i) + L"\\app.exe";
    if (i == 0) program = programs + L"\\Illustrator 2021\\Illustrator.exe";
    if (i == 1) program = programs + L"\\FreeHand\\FHMX.exe";
    ok = ok && SetText(place, classes + (i < 30 ? L".ai" : L".eps") + L"\\OpenWithProgids", progId, L"");
    ok = ok && SetText(place, classes + progId + L"\\shell\\open\\command", L"", L"\"" + program + L"\" \"%1\"");
  }
  for (int i = 0; i < 300; ++i) {
    const Place place = kViews[i % 3];
    const std::wstring key = std::wstring(kUninstall) + L"\\" + UninstallEntry(i);
    std::wstring folder = L"C:\\Bench\\App " + std::to_wstring(i);
    if (i == 10) folder = programs + L"\\Illustrator CS6";
    if (i == 11) folder = programs + L"\\Illustrator 10";
    ok = ok && SetText(place, key, L"DisplayName", L"Application " + std::to_wstring(i));
    ok = ok && SetText(place, key, L"DisplayIcon", folder + L"\\app.exe,0");
    ok = ok && SetText(place, key, L"InstallLocation", folder);
  }
  return ok;
}

// The least work over the keys that finding reads: every list enumerated, every value read once.
class Keys {
 public:
  explicit Keys(Place place, const std::wstring& path) {
    if (RegOpenKeyExW(place.root, path.c_str(), 0, KEY_READ | place.view, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Keys() {
    if (key_) RegCloseKey(key_);
  }
  std::vector<std::wstring> SubKeys() const {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0; key_; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
  std::vector<std::wstring> ValueNames() const {
    std::vector<std::wstring> names;
    wchar_t name[16384];
    for (DWORD i = 0; key_; ++i) {
      DWORD length = 16384;
      if (RegEnumValueW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
  std::size_t Read(const wchar_t* name) const {
    wchar_t data[1024];
    DWORD bytes = sizeof data;
    return key_ && RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes) ==
                       ERROR_SUCCESS
               ? bytes
               : 0;
  }

 private:
  HKEY key_ = nullptr;
};

std::size_t LeastWork() {
  std::size_t read = 0;
  for (int c = 0; c < 2; ++c) {
    for (const wchar_t* extension : {L".eps", L".ai"}) {
      const std::wstring key = kClasses[c] + extension;
      read += Keys(kClassPlaces[c], key).Read(L"");
      for (const std::wstring& progId : Keys(kClassPlaces[c], key + L"\\OpenWithProgids").ValueNames()) {
        read += Keys(kClassPlaces[c], kClasses[c] + progId + L"\\shell\\open\\command").Read(L"");
      }
      read += Keys(kClassPlaces[c], key + L"\\OpenWithList").SubKeys().size();
    }
    for (const std::wstring& application : Keys(kClassPlaces[c], kClasses[c] + L"Applications").SubKeys()) {
      read += Keys(kClassPlaces[c], kClasses[c] + L"Applications\\" + application + L"\\SupportedTypes")
                  .ValueNames()
                  .size();
    }
  }
  for (const Place place : kViews) {
    for (const std::wstring& entry : Keys(place, kUninstall).SubKeys()) {
      const Keys values(place, std::wstring(kUninstall) + L"\\" + entry);
      read += values.Read(L"DisplayIcon") + values.Read(L"InstallLocation") + values.Read(L"DisplayName");
    }
    for (const wchar_t* program : {L"ILLUSTRATOR.EXE", L"FHMX.EXE"}) {
      read += Keys(place, kAppPaths + std::wstring(program)).Read(L"");
    }
  }
  return read;
}

std::size_t Find() {
  finder::ProgramFinder finder;
  std::optional<finder::FoundProgram> program;
  std::size_t found = 0;
  while (finder.Step(program)) found += program ? 1 : 0;
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: find_apps_bench ROUNDS PROGRAMS\n");
    return 2;
  }
  const int rounds = _wtoi(argv[1]);
  Unregister();
  if (!Register(argv[2])) {
    std::fprintf(stderr, "find_apps_bench: the registry could not be written\n");
    Unregister();
    return 1;
  }
  // Every program is found, or the comparison says nothing.
  const std::size_t found = Find();
  std::printf("programs found: %zu\n", found);
  bool ok = found == 4;
  std::size_t sink = 0;
  ok = ok && TimePairs(
                 rounds, "find-apps", "finding",
                 [&] {
                   const double start = Now();
                   sink += Find();
                   return Now() - start;
                 },
                 "least work",
                 [&] {
                   const double start = Now();
                   sink += LeastWork();
                   return Now() - start;
                 });
  Unregister();
  if (sink == 0) std::printf("nothing read\n");
  return ok ? 0 : 1;
}
