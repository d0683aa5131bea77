#include "win_text.h"

#include "error.h"

namespace wintext {

std::wstring Wide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide, UINT codePage, DWORD flags, bool* defaulted) {
  if (defaulted) *defaulted = false;
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      defaulted ? &usedDefault : nullptr);
  if (defaulted) *defaulted = usedDefault != FALSE;
  return text;
}

std::string ToAnsi(std::wstring_view wide, bool* exact) {
  bool defaulted = false;
  std::string ansi = Narrow(wide, CP_ACP, WC_NO_BEST_FIT_CHARS, &defaulted);
  if (exact) *exact = !defaulted;
  return ansi;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::filesystem::path ProgramFile() {
  const std::wstring path =
      BufferText([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
  if (path.empty()) throw err::AppError(err::FromSystemError(GetLastError()));
  return path;
}

std::filesystem::path ProgramFolder() { return ProgramFile().parent_path(); }

}  // namespace wintext
