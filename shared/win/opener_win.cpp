// The shell's own resolution of an association, the user's choice included, so that the answer is
// what a double-click in Explorer does and not what the classes alone would say.
#include <windows.h>
// After windows.h:
#include <shlwapi.h>

#include <cwchar>
#include <vector>

#include "opener.h"

namespace opener {

std::optional<fileio::FilePath> ProgramFor(const std::wstring& extension) {
  // Without ASSOCF_INIT_IGNOREUNKNOWN a kind of file that nothing opens would give the shell's
  // "Open with" program.
  constexpr ASSOCF kFlags = ASSOCF_INIT_IGNOREUNKNOWN | ASSOCF_NOTRUNCATE;
  DWORD size = 0;
  if (AssocQueryStringW(kFlags, ASSOCSTR_EXECUTABLE, extension.c_str(), L"open", nullptr, &size) != S_FALSE ||
      size == 0) {
    return std::nullopt;
  }
  std::wstring program(size, L'\0');
  if (FAILED(AssocQueryStringW(kFlags, ASSOCSTR_EXECUTABLE, extension.c_str(), L"open", program.data(), &size))) {
    return std::nullopt;
  }
  program.resize(wcsnlen(program.c_str(), program.size()));
  if (program.empty()) return std::nullopt;
  return fileio::FilePath(program);
}

std::optional<std::wstring> RegistryText(Hive hive, const std::wstring& key, const std::wstring& name) {
  const HKEY root = hive == Hive::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const wchar_t* value = name.empty() ? nullptr : name.c_str();
  // RRF_RT_REG_SZ takes an expandable text too, expanded.
  DWORD size = 0;
  if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The value may grow between the two calls: asked again with the size then given.
  for (;;) {
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status = RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text.data(), &size);
    if (status == ERROR_SUCCESS) return std::wstring(text.data(), wcsnlen(text.data(), text.size()));
    if (status != ERROR_MORE_DATA) return std::nullopt;
  }
}

}  // namespace opener
