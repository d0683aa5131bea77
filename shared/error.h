// Error numbers and the error report that both programs show for every unexpected failure.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace err {

// Numbers from 0x80040000 to 0x8004FFFF are the programs' own ("object") errors, shown as N + offset.
inline constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);
inline constexpr std::int32_t kObjectErrorLast = static_cast<std::int32_t>(0x8004FFFFu);

inline constexpr std::int32_t kInvalidArgument = 5;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kInternalError = 51;
inline constexpr std::int32_t kFileNotFound = 53;
// A value for an INI file holds a CR or LF, which would break the file's lines.
inline constexpr std::int32_t kValueHasLineBreak = kObjectErrorBase + 1001;
// The application list is empty, so there is nothing to choose from.
inline constexpr std::int32_t kNoApplications = kObjectErrorBase + 1002;

// A failure carrying its error number.
class AppError : public std::exception {
 public:
  explicit AppError(std::int32_t number) : number_(number) {}
  std::int32_t number() const { return number_; }
  const char* what() const noexcept override { return "application error"; }

 private:
  std::int32_t number_;
};

// The number under which a Windows error code (GetLastError) is reported: HRESULT_FROM_WIN32.
std::int32_t FromSystemError(std::uint32_t code);

// The error number of the exception being handled (call inside a catch block).
std::int32_t CurrentErrorNumber();

// "N513" inside the object error range, plain signed decimal outside it.
std::wstring NumberText(std::int32_t number);

// The standard description of an error number.
std::wstring Description(std::int32_t number);

// The report's text: description, " (エラー番号:", number text, ")".
std::wstring ReportText(std::int32_t number);

// Description of a Windows error code; each platform supplies its own.
std::wstring SystemErrorDescription(std::uint32_t code);

// What describes a system error code that the system has no text for.
std::wstring UnknownSystemErrorText(std::uint32_t code);

}  // namespace err

// Shows the error report: a modal message box (OK, exclamation icon) titled with the program's title.
void ShowError(std::int32_t number);
