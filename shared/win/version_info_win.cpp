// Version resources through version.dll, which maps the file as data: no code of it is run.
#include <windows.h>

#include <cwchar>
#include <iterator>
#include <vector>

#include "version_info.h"
#include "win_form.h"

namespace versioninfo {
namespace {

using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct VersionFunctions {
  SizeFunction size;
  InfoFunction info;
  QueryFunction query;
};

// version.dll is loaded by the first reading, which the windows make off their thread after their
// first paint: a launcher that opens a registered file never loads it. It is never unloaded, since
// a reading that is still going on when the program ends must keep its code.
const VersionFunctions& Functions() {
  static const VersionFunctions functions = [] {
    const HMODULE module = LoadLibraryW(L"version.dll");
    return VersionFunctions{winform::SystemFunction<SizeFunction>(module, "GetFileVersionInfoSizeW"),
                            winform::SystemFunction<InfoFunction>(module, "GetFileVersionInfoW"),
                            winform::SystemFunction<QueryFunction>(module, "VerQueryValueW")};
  }();
  return functions;
}

// A version resource is a few KiB; anything beyond this is not one worth reading.
constexpr DWORD kLargestResource = 1 << 20;

std::wstring StringOf(const std::vector<unsigned char>& data, const wchar_t* language, const wchar_t* name) {
  wchar_t key[96];
  swprintf(key, std::size(key), L"\\StringFileInfo\\%ls\\%ls", language, name);
  void* value = nullptr;
  UINT length = 0;
  if (!Functions().query(data.data(), key, &value, &length) || !value || length == 0) return {};
  const auto* text = static_cast<const wchar_t*>(value);
  // `length` counts characters here; it is never trusted beyond the resource's own size.
  const auto* end = reinterpret_cast<const wchar_t*>(data.data() + data.size());
  const std::size_t most = static_cast<std::size_t>(end - text);
  return CleanText(std::wstring(text, std::min<std::size_t>(length, most)));
}

}  // namespace

std::optional<ProgramVersion> Read(const fileio::FilePath& program) {
  const VersionFunctions& functions = Functions();
  if (!functions.size || !functions.info || !functions.query) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = functions.size(program.c_str(), &ignored);
  if (size == 0 || size > kLargestResource) return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!functions.info(program.c_str(), 0, size, data.data())) return std::nullopt;

  ProgramVersion version;
  void* fixed = nullptr;
  UINT fixedLength = 0;
  if (functions.query(data.data(), L"\\", &fixed, &fixedLength) && fixed && fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
    const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
    if (info.dwSignature == VS_FFI_SIGNATURE) {
      version.hasNumbers = true;
      version.major = HIWORD(info.dwFileVersionMS);
      version.minor = LOWORD(info.dwFileVersionMS);
      version.build = HIWORD(info.dwFileVersionLS);
    }
  }
  // The strings of the first language the resource lists, else of the usual ones.
  std::vector<std::wstring> languages;
  void* translations = nullptr;
  UINT translationsLength = 0;
  if (functions.query(data.data(), L"\\VarFileInfo\\Translation", &translations, &translationsLength) && translations &&
      translationsLength >= 2 * sizeof(WORD)) {
    const auto* pair = static_cast<const WORD*>(translations);
    wchar_t language[16];
    swprintf(language, std::size(language), L"%04x%04x", pair[0], pair[1]);
    languages.emplace_back(language);
  }
  for (const wchar_t* usual : {L"041104b0", L"040904b0", L"040904e4", L"000004b0"}) languages.emplace_back(usual);
  for (const std::wstring& language : languages) {
    version.fileDescription = StringOf(data, language.c_str(), L"FileDescription");
    version.productName = StringOf(data, language.c_str(), L"ProductName");
    if (!version.fileDescription.empty() || !version.productName.empty()) break;
  }
  return version;
}

}  // namespace versioninfo
