#include "error.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReport, NumberTextInsideAndOutsideTheObjectRange) {
  EXPECT_EQ(err::NumberText(53), L"53");
  EXPECT_EQ(err::NumberText(0), L"0");
  EXPECT_EQ(err::NumberText(-2147220991), L"N513");
  EXPECT_EQ(err::NumberText(static_cast<std::int32_t>(0x80040000u)), L"N0");
  EXPECT_EQ(err::NumberText(static_cast<std::int32_t>(0x8004FFFFu)), L"N65535");
  EXPECT_EQ(err::NumberText(static_cast<std::int32_t>(0x8003FFFFu)), L"-2147221505");
  EXPECT_EQ(err::NumberText(static_cast<std::int32_t>(0x80050000u)), L"-2147155968");
}

TEST(ErrorReport, TextIsDescriptionThenNumberInParentheses) {
  EXPECT_EQ(err::ReportText(53), L"ファイルが見つかりません。 (エラー番号:53)");
  EXPECT_EQ(err::ReportText(err::kObjectErrorBase + 513),
            L"アプリケーション定義またはオブジェクト定義のエラーです。 (エラー番号:N513)");
  EXPECT_EQ(err::ReportText(err::kNoApplications),
            L"起動するソフトが登録されていません。Quelby で起動リストにソフトを追加してください。"
            L" (エラー番号:N1002)");
}

TEST(ErrorReport, SystemErrorsKeepTheirCodeAndTheSystemsDescription) {
  const std::int32_t number = err::FromSystemError(2);
  EXPECT_EQ(static_cast<std::uint32_t>(number), 0x80070002u);
  EXPECT_EQ(err::Description(number), err::SystemErrorDescription(2));
  EXPECT_EQ(err::NumberText(number), L"-2147024894");
}

TEST(ErrorReport, CurrentErrorNumberOfEachKindOfFailure) {
  auto numberOf = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      return err::CurrentErrorNumber();
    }
    return -1;
  };
  EXPECT_EQ(numberOf([] { throw err::AppError(err::kValueHasLineBreak); }), err::kValueHasLineBreak);
  EXPECT_EQ(numberOf([] { throw std::bad_alloc(); }), err::kOutOfMemory);
  EXPECT_EQ(numberOf([] { throw std::runtime_error("x"); }), err::kInternalError);
}

}  // namespace
