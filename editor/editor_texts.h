// Every text that the list editor shows, in one place: its messages, window captions and the texts
// of its windows' controls. The windows, the list editor's decisions and the tests all use these.
#pragma once

namespace editor_texts {

// The list editor's title: the title of its message boxes that name no other.
inline constexpr wchar_t kTitle[] = L"prjQuelby";

// The application list window (frmQuelby).
inline constexpr wchar_t kListCaption[] = L"起動リストの編集";
inline constexpr wchar_t kSaveQuestion[] = L"設定を保存して終了します。よろしいですか？";
inline constexpr wchar_t kListEdit[] = L"編集(&E)";
inline constexpr wchar_t kListAdd[] = L"１行追加(&A)";
inline constexpr wchar_t kListDelete[] = L"1行削除(&D)";
inline constexpr wchar_t kListEnd[] = L"終了";

// The application list window's list: drawn after a row whose program file is not there.
inline constexpr wchar_t kMissingMark[] = L"（見つかりません）";

// The entry dialog (frmEdit).
inline constexpr wchar_t kEntryCaption[] = L"項目の編集";
inline constexpr wchar_t kEntryNameLabel[] = L"アプリケーション名称:";
inline constexpr wchar_t kEntryPathLabel[] = L"実行するファイル名:";
inline constexpr wchar_t kEntryBrowse[] = L"参照...";
inline constexpr wchar_t kEntryOk[] = L"&OK";
inline constexpr wchar_t kEntryCancel[] = L"キャンセル(&C)";
inline constexpr wchar_t kFileMissing[] = L"実行するファイルが存在しません";
inline constexpr wchar_t kNameMissing[] = L"アプリケーション名を入力してください";
inline constexpr wchar_t kPathNotAnsi[] = L"実行するファイル名に使用できない文字が含まれています";
inline constexpr wchar_t kNameNotAnsi[] = L"アプリケーション名に使用できない文字が含まれています";

// The open-file dialog.
inline constexpr wchar_t kOpenFileTitle[] = L"ファイルを開く";

}  // namespace editor_texts
