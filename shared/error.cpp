#include "error.h"

#include <new>

namespace err {
namespace {

constexpr std::uint32_t kWin32Facility = 0x80070000u;

const wchar_t* KnownDescription(std::int32_t number) {
  switch (number) {
    case kInvalidArgument: return L"プロシージャの呼び出し、または引数が不正です。";
    case kOutOfMemory: return L"メモリが不足しています。";
    case kSubscriptOutOfRange: return L"インデックスが有効範囲にありません。";
    case kInternalError: return L"内部エラーです。";
    case kFileNotFound: return L"ファイルが見つかりません。";
    case kValueHasLineBreak: return L"設定ファイルに書き込む値に改行が含まれているため、書き込めません。";
    case kNoApplications: return L"起動するソフトが登録されていません。Quelby で起動リストにソフトを追加してください。";
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
  return L"アプリケーション定義またはオブジェクト定義のエラーです。";
}

std::wstring UnknownSystemErrorText(std::uint32_t code) {
  return L"システム エラー " + std::to_wstring(code) + L" が発生しました。";
}

std::wstring ReportText(std::int32_t number) {
  return Description(number) + L" (エラー番号:" + NumberText(number) + L")";
}

}  // namespace err
