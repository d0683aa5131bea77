// Every text that the launcher shows, in one place: its messages, prompts, window captions and the
// texts of its windows' controls. The windows, the launcher's run and the tests all use these.
#pragma once

namespace launcher_texts {

// The launcher's title: the title of its message boxes and part of its captions.
inline constexpr wchar_t kTitle[] = L"Varnock";

// Messages of the run.
inline constexpr wchar_t kFileNotFound[] = L"ファイルが見つかりません ";
inline constexpr wchar_t kLinkIniMissing[] = L"link.iniが見つかりません";
inline constexpr wchar_t kProgramNotFound[] = L"実行プログラムが見つかりません";
// Shown after the program has started when a ticked "remember" could not be stored.
inline constexpr wchar_t kStoreFailed[] =
    L"選択したソフトをこのファイル形式に記憶できませんでした。次にこの形式のファイルを開くときも、"
    L"起動するソフトを選択してください。";

// Shown at the end of a run that started a program for several files when some did not start:
// each such file follows on a line of its own, with the failure's report under it.
inline constexpr wchar_t kStartsFailed[] = L"次のファイルを開くソフトを起動できませんでした。";

// The selection dialog (frmSelect).
inline constexpr wchar_t kUnknownFormat[] = L"(不明)";
inline constexpr wchar_t kPromptUnknownFormat[] = L"このファイルの形式は不明です。起動するソフトを選択してください";
inline constexpr wchar_t kPromptNotRegistered[] = L"このファイル形式は未登録です。起動するソフトを選択してください";
inline constexpr wchar_t kSelectFormatLabel[] = L"ファイルの形式";
inline constexpr wchar_t kSelectVersionLabel[] = L"作成ソフトバージョン";
// The prompt's text until the dialog is filled; never seen.
inline constexpr wchar_t kSelectDesignPrompt[] =
    L"・・・・・・・・・・・のバージョンの判別ができませんでした。起動するバージョンを選択してください。";
inline constexpr wchar_t kSelectAlwaysText[] = L"この種類のファイルは常にこのソフトで開く";
inline constexpr wchar_t kSelectOk[] = L"&OK";
inline constexpr wchar_t kSelectCancel[] = L"キャンセル";

// The selection dialog's list: drawn after the name of a program whose file is not there.
inline constexpr wchar_t kMissingMark[] = L"（見つかりません）";
// Drawn after the name of the program suggested as the version that made the file.
inline constexpr wchar_t kMadeMark[] = L"（作成したバージョン）";

// The selection dialog's prompt when files of one kind from several launchers share it: the
// number of files stands between the two parts, in ASCII digits.
inline constexpr wchar_t kPromptFilesBefore[] = L"これら ";
inline constexpr wchar_t kPromptFilesNotRegistered[] =
    L" 個のファイルの形式は未登録です。起動するソフトを選択してください";
inline constexpr wchar_t kPromptFilesUnknownFormat[] =
    L" 個のファイルの形式は不明です。起動するソフトを選択してください";

// The wait notice (frmWait).
inline constexpr wchar_t kWaitAnalysing[] = L"以下のファイルを分析中...";
inline constexpr wchar_t kWaitDesignFile[] = L"Label2";

// The about window (frmDummy).
inline constexpr wchar_t kAboutCaptionAfterTitle[] = L"のバージョン情報";
inline constexpr wchar_t kAboutVersion[] = L"バージョン ";
inline constexpr wchar_t kAboutBuild[] = L"  (build ";
inline constexpr wchar_t kAboutDesignTitle[] = L"ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ";
inline constexpr wchar_t kAboutDesignVersion[] = L"ﾊﾞｰｼﾞｮﾝ";
inline constexpr wchar_t kAboutDescription[] =
    L".EPS ファイルをダブルクリックした時に起動するソフトを自動的に切り替えるソフトです。";
inline constexpr wchar_t kAboutContact[] =
    L"お問い合わせは\r\n\r\nhttps://support.example.jp/varnock/ \r\n\r\nまでお願いします。\r\n";
inline constexpr wchar_t kAboutOk[] = L"OK";
inline constexpr wchar_t kAboutSysInfo[] = L"ｼｽﾃﾑ情報(&S)...";
inline constexpr wchar_t kSysInfoUnavailable[] = L"現時点ではｼｽﾃﾑ情報を使用できません";

}  // namespace launcher_texts
