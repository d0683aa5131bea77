#include "error.h"

#include <new>

#include "error_texts.h"

namespace err {
namespace {

constexpr std::uint32_t kWin32Facility = 0x80070000u;

const wchar_t* KnownDescription(std::int32_t number) {
  switch (number) {
    case kInvalidArgument: return error_texts::kInvalidArgument;
    case kOutOfMemory: return error_texts::kOutOfMemory;
    case kSubscriptOutOfRange: return error_texts::kSubscriptOutOfRange;
    case kInternalError: return error_texts::kInternalError;
    case kFileNotFound: return error_texts::kFileNotFound;
    case kValueHasLineBreak: return error_texts::kValueHasLineBreak;
    case kNoApplications: return error_texts::kNoApplications;
    default: return nullptr;
  }
}

}  // namespace

std::int32_t FromSystemError(std::uint32_t code) {
  if (code == 0) return kInternalError;
  return static_cast<std::int32_t>((code & 0xFFFFu) | kWin32Facility);
}

std::int32_t CurrentErrorNumber() {
  try {
    throw;
  } catch (const AppError& error) {
    return error.number();
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (...) {
    return kInternalError;
  }
}

std::wstring NumberText(std::int32_t number) {
  if (number >= kObjectErrorBase && number <= kObjectErrorLast) {
    return L"N" + std::to_wstring(static_cast<std::int64_t>(number) - kObjectErrorBase);
  }
  return std::to_wstring(number);
}

std::wstring Description(std::int32_t number) {
  if (const wchar_t* known = KnownDescription(number)) return known;
  const auto bits = static_cast<std::uint32_t>(number);
  if ((bits & 0xFFFF0000u) == kWin32Facility) return SystemErrorDescription(bits & 0xFFFFu);
  return error_texts::kUnknown;
}

std::wstring UnknownSystemErrorText(std::uint32_t code) {
  return error_texts::kSystemErrorBefore + std::to_wstring(code) + error_texts::kSystemErrorAfter;
}

std::wstring ReportText(std::int32_t number) {
  return Description(number) + error_texts::kNumberBefore + NumberText(number) + error_texts::kNumberAfter;
}

}  // namespace err
