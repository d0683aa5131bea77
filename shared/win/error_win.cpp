// The error report on Windows: a message box, and the system's own texts for its error codes.
#include <windows.h>

#include "error.h"
#include "win_handle.h"
#include "win_text.h"

namespace err {

std::wstring SystemErrorDescription(std::uint32_t code) {
  winhandle::LocalMemory<wchar_t*> buffer;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.receive()), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer.get(), length) : std::wstring();
  // The system's texts end with a line break, which the report does not want.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = UnknownSystemErrorText(code);
  return text;
}

}  // namespace err

void ShowError(std::int32_t number) {
  MessageBoxW(GetActiveWindow(), err::ReportText(number).c_str(), kApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
}
