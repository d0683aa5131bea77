// Every text of the error report that both programs show, in one place, as each program's own
// texts stand in its texts header. The error module, the windows and the tests use these.
#pragma once

namespace error_texts {

// The descriptions of the error numbers the programs give themselves.
inline constexpr wchar_t kInvalidArgument[] = L"プロシージャの呼び出し、または引数が不正です。";
inline constexpr wchar_t kOutOfMemory[] = L"メモリが不足しています。";
inline constexpr wchar_t kSubscriptOutOfRange[] = L"インデックスが有効範囲にありません。";
inline constexpr wchar_t kInternalError[] = L"内部エラーです。";
inline constexpr wchar_t kFileNotFound[] = L"ファイルが見つかりません。";
inline constexpr wchar_t kValueHasLineBreak[] = L"設定ファイルに書き込む値に改行が含まれているため、書き込めません。";
inline constexpr wchar_t kNoApplications[] =
    L"起動するソフトが登録されていません。Quelby で起動リストにソフトを追加してください。";
// Any other number that is not the system's.
inline constexpr wchar_t kUnknown[] = L"アプリケーション定義またはオブジェクト定義のエラーです。";
// A system error that the system has no text for: its code stands between the two parts.
inline constexpr wchar_t kSystemErrorBefore[] = L"システム エラー ";
inline constexpr wchar_t kSystemErrorAfter[] = L" が発生しました。";
// The report: the description, then the number between these two parts.
inline constexpr wchar_t kNumberBefore[] = L" (エラー番号:";
inline constexpr wchar_t kNumberAfter[] = L")";

}  // namespace error_texts
