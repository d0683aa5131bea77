// The error report on Windows: a message box, and the system's own texts for its error codes.
#include <windows.h>

#include <memory>

#include "error.h"
#include "win_text.h"

namespace err {

std::wstring SystemErrorDescription(std::uint32_t code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(buffer, &LocalFree);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  // The system's texts end with a line break, which the report does not want.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"システム エラー " + std::to_wstring(code) + L" が発生しました。";
  return text;
}

}  // namespace err

void ShowError(std::int32_t number) {
  MessageBoxW(GetActiveWindow(), err::ReportText(number).c_str(), kApplicationTitle,
              MB_OK | MB_ICONEXCLAMATION);
}
