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

// The application list window's status line: which program Windows starts for .eps files, and the
// button that takes the user to Windows' setting of default applications.
inline constexpr wchar_t kOpenerVarnock[] = L"EPS ファイルは Varnock で開きます。";
// Around the other program's name.
inline constexpr wchar_t kOpenerOtherBefore[] = L"EPS ファイルは ";
inline constexpr wchar_t kOpenerOtherAfter[] = L" で開きます。Varnock で開くには [既定のアプリ] で選んでください。";
inline constexpr wchar_t kOpenerNone[] =
    L"EPS ファイルを開くソフトは設定されていません。Varnock で開くには [既定のアプリ] で選んでください。";
// After the line, when Windows does not list this folder's Varnock among its registered applications.
inline constexpr wchar_t kOpenerNotRegistered[] = L"（Varnock は登録されていません。readme.txt の手順で選べます）";
// The second line, only while Varnock opens .ai files too.
inline constexpr wchar_t kOpenerAi[] = L"AI ファイルも Varnock で開きます。";
inline constexpr wchar_t kListDefaultApps[] = L"既定のアプリ(&W)...";

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

// Remembered choices: the button of the application list window, the window that shows them
// (frmLinks), its change dialog (frmLinkEdit) and what testing a file tells.
inline constexpr wchar_t kListLinks[] = L"記憶した選択(&M)...";
inline constexpr wchar_t kLinksCaption[] = L"記憶した選択";
inline constexpr wchar_t kLinksCreatorColumn[] = L"ファイルの形式";
inline constexpr wchar_t kLinksVersionColumn[] = L"作成ソフトバージョン";
inline constexpr wchar_t kLinksProgramColumn[] = L"起動するソフト";
inline constexpr wchar_t kLinksStateColumn[] = L"状態";
inline constexpr wchar_t kLinksProgramMissing[] = L"見つかりません";
inline constexpr wchar_t kLinksChange[] = L"変更(&C)...";
inline constexpr wchar_t kLinksForget[] = L"削除(&D)";
inline constexpr wchar_t kLinksTest[] = L"ファイルで確認(&T)...";
inline constexpr wchar_t kLinksOk[] = L"OK";
inline constexpr wchar_t kLinksCancel[] = L"キャンセル";
inline constexpr wchar_t kLinksEpsFilter[] = L"EPS ファイル (*.eps;*.ai)";
inline constexpr wchar_t kLinksEpsPattern[] = L"*.eps;*.ai";
inline constexpr wchar_t kLinksAllFilter[] = L"すべてのファイル (*.*)";
inline constexpr wchar_t kLinksAllPattern[] = L"*.*";
inline constexpr wchar_t kTestCreator[] = L"ファイルの形式: ";
inline constexpr wchar_t kTestVersion[] = L"作成ソフトバージョン: ";
inline constexpr wchar_t kTestProgram[] = L"起動するソフト: ";
inline constexpr wchar_t kTestRowBefore[] = L" (記憶した選択の ";
inline constexpr wchar_t kTestRowAfter[] = L" 行目)";
inline constexpr wchar_t kTestNotRegistered[] = L"このファイル形式は未登録です。Varnock は起動するソフトを尋ねます。";
inline constexpr wchar_t kTestUnknownFormat[] = L"このファイルの形式は不明です。Varnock は起動するソフトを尋ねます。";
// After kTestNotRegistered: the application of the list that made the file, between the two.
inline constexpr wchar_t kTestMadeBefore[] = L"（作成したバージョン: ";
inline constexpr wchar_t kTestMadeAfter[] = L"）";
inline constexpr wchar_t kLinkEditCaption[] = L"記憶した選択の変更";
inline constexpr wchar_t kLinkEditCreatorLabel[] = L"ファイルの形式:";
inline constexpr wchar_t kLinkEditVersionLabel[] = L"作成ソフトバージョン:";
inline constexpr wchar_t kLinkEditProgramLabel[] = L"起動するソフト:";
inline constexpr wchar_t kLinkEditOk[] = L"OK";
inline constexpr wchar_t kLinkEditCancel[] = L"キャンセル";
// What the change dialog refuses, each naming what is wrong.
inline constexpr wchar_t kCreatorEmpty[] = L"ファイルの形式を入力してください。";
inline constexpr wchar_t kCreatorLineBreak[] = L"ファイルの形式に改行は使用できません。1 行で入力してください。";
inline constexpr wchar_t kCreatorTooLong[] =
    L"ファイルの形式が長すぎます。1023 バイト (全角 511 文字) 以内で入力してください。";
inline constexpr wchar_t kCreatorNotAnsi[] = L"ファイルの形式に使用できない文字が含まれています。";
inline constexpr wchar_t kVersionLineBreak[] = L"作成ソフトバージョンに改行は使用できません。1 行で入力してください。";
inline constexpr wchar_t kVersionTooLong[] =
    L"作成ソフトバージョンが長すぎます。1023 バイト (全角 511 文字) 以内で入力してください。";
inline constexpr wchar_t kVersionNotAnsi[] = L"作成ソフトバージョンに使用できない文字が含まれています。";
// Followed by the other row's creator text and version (kTestCreator, kTestVersion), a line each.
inline constexpr wchar_t kDuplicatePairBefore[] = L"同じファイルの形式と作成ソフトバージョンの行がすでにあります。";

// Finding the installed drawing applications: the button of the application list window and the
// window that shows what was found (frmFindApps).
inline constexpr wchar_t kListFind[] = L"ソフトを検出(&F)...";
inline constexpr wchar_t kFindCaption[] = L"インストールされている描画ソフト";
inline constexpr wchar_t kFindNameColumn[] = L"名前";
inline constexpr wchar_t kFindVersionColumn[] = L"バージョン";
inline constexpr wchar_t kFindProgramColumn[] = L"プログラム";
inline constexpr wchar_t kFindStateColumn[] = L"状態";
inline constexpr wchar_t kFindSearching[] = L"検索しています...";
inline constexpr wchar_t kFindCountAfter[] = L" 個のソフトが見つかりました。";  // after the number
inline constexpr wchar_t kFindNothing[] = L"描画ソフトは見つかりませんでした。";
inline constexpr wchar_t kFindAdd[] = L"一覧に追加(&A)";
inline constexpr wchar_t kFindCancel[] = L"キャンセル";
inline constexpr wchar_t kFoundInList[] = L"一覧にあります";
inline constexpr wchar_t kFoundReplaces[] = L"置き換え: ";  // before the list row's name

}  // namespace editor_texts
