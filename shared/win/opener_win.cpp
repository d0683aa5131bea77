// The shell's own resolution of an association, the user's choice included, so that the answer is
// what a double-click in Explorer does and not what the classes alone would say.
#include <windows.h>
// After windows.h:
#include <shlwapi.h>

#include <cwchar>

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

}  // namespace opener
