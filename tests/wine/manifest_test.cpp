// What the built programs carry in their resources: one application manifest each, with the
// entries that make them look and scale like current Windows software, and the version numbers of
// the build.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver.h"
#include "version.h"
#include "win_handle.h"

namespace {

using namespace drive;

std::vector<ULONG_PTR> ManifestIds(HMODULE module) {
  std::vector<ULONG_PTR> ids;
  EnumResourceNamesW(
      module, RT_MANIFEST,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

std::string Resource(HMODULE module, const wchar_t* type, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  const void* bytes = LockResource(LoadResource(module, found));
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void ExpectProgramResources(const wchar_t* program, const std::string& version) {
  SCOPED_TRACE(ToUtf8(program));
  const winhandle::Module module(LoadLibraryExW((BinFolder() / program).c_str(), nullptr,
                                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module.get());
  EXPECT_EQ(ManifestIds(module.get()), std::vector<ULONG_PTR>{1}) << "exactly one manifest, for the process";
  const std::string manifest = Resource(module.get(), RT_MANIFEST, 1);
  EXPECT_TRUE(Has(manifest, "version=\"" + version + ".0\""));
  EXPECT_TRUE(Has(manifest, "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
  for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_TRUE(Has(manifest, std::string("<supportedOS Id=\"") + windows + "\"/>")) << windows;
  }
  EXPECT_TRUE(Has(manifest, ">true/pm</dpiAware>"));
  EXPECT_TRUE(Has(manifest, ">PerMonitorV2</dpiAwareness>"));
  EXPECT_TRUE(Has(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
  // The programs keep the system's ANSI code page, which the INI files and the headers are in.
  EXPECT_FALSE(Has(manifest, "activeCodePage"));

  const std::string info = Resource(module.get(), RT_VERSION, 1);
  ASSERT_GE(info.size(), 40u + sizeof(VS_FIXEDFILEINFO));
  // The fixed part follows the block's header and its key "VS_VERSION_INFO", aligned.
  const std::size_t at = info.find("\xBD\x04\xEF\xFE", 0, 4);
  ASSERT_NE(at, std::string::npos);
  VS_FIXEDFILEINFO fixed{};
  memcpy(&fixed, info.data() + at, sizeof fixed);
  const std::string numbers = std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed.dwFileVersionLS));
  EXPECT_EQ(numbers, version);
  EXPECT_EQ(HIWORD(fixed.dwFileVersionLS), 0);
}

TEST(WindowManifest, EachProgramCarriesOneManifestAndTheVersionOfTheBuild) {
  ExpectProgramResources(L"Varnock.exe", VARNOCK_VERSION_TEXT);
  ExpectProgramResources(L"Quelby.exe", QUELBY_VERSION_TEXT);
}

}  // namespace

namespace {

// The names of the libraries a program imports, read from its file as the loader would.
std::vector<std::string> ImportedLibraries(const fs::path& program) {
  std::ifstream file(program, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> names;
  const auto at = [&](std::size_t offset, std::size_t size) -> const char* {
    return offset + size <= bytes.size() ? bytes.data() + offset : nullptr;
  };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
  if (!dos) return names;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
  if (!nt) return names;
  const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
      at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
         nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
  // From an address in the loaded image to its place in the file.
  const auto offsetOf = [&](DWORD address) -> std::size_t {
    for (WORD i = 0; sections && i < nt->FileHeader.NumberOfSections; ++i) {
      if (address >= sections[i].VirtualAddress && address < sections[i].VirtualAddress + sections[i].SizeOfRawData) {
        return address - sections[i].VirtualAddress + sections[i].PointerToRawData;
      }
    }
    return bytes.size();
  };
  const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t entry = offsetOf(imports);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (!descriptor || descriptor->Name == 0) break;
    const char* name = at(offsetOf(descriptor->Name), 1);
    if (name) names.emplace_back(name);
  }
  return names;
}

// The launcher starts for every file the user opens: whatever it imports is loaded before it does
// anything. Everything else (user32 for its windows, shell32 for icons, version.dll for version
// resources) it loads when it needs it.
TEST(WindowManifest, TheLauncherImportsOnlyKernel32AndTheCRuntime) {
  EXPECT_EQ(ImportedLibraries(BinFolder() / L"Varnock.exe"), (std::vector<std::string>{"KERNEL32.dll", "msvcrt.dll"}));
}

}  // namespace
