// The launcher's one run: from the command line to the started program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chooser_group.h"
#include "file_io.h"
#include "launcher_texts.h"
#include "message_style.h"

namespace launcher {

// Mouse pointers as the launcher uses them.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;

// What the launcher needs from the system and its windows; the Windows build supplies the real
// thing, the tests a recording stand-in.
class LauncherHost {
 public:
  virtual ~LauncherHost() = default;
  // The text that follows the program name on the command line, exactly as passed.
  virtual std::wstring CommandLine() = 0;
  // The folder that holds the launcher's program file.
  virtual fileio::FilePath ProgramFolder() = 0;
  virtual void Message(const std::wstring& text, int style) = 0;
  virtual void SetMousePointer(int pointer) = 0;
  virtual bool ShiftDown() = 0;
  // Starts `program` with `commandLine`, normal window, without waiting; throws err::AppError.
  virtual void StartProgram(const std::wstring& program, const std::wstring& commandLine) = 0;
  virtual void ShowAbout() = 0;
  virtual void ShowWait(const std::wstring& file) = 0;
  virtual void CloseWait() = 0;
  // The selection dialog; true when confirmed with OK. `rstrPaths` holds each name's program path,
  // so that the dialog can show the program's icon and mark a program that has gone. With
  // `vblnSuggest` (a kind of file that is not remembered) it suggests the version that made the file.
  virtual bool ShowSelect(const std::vector<std::wstring>& rstrNames, const std::vector<std::wstring>& rstrPaths,
                          std::int32_t& rlngSelect, bool vblnAlway, bool vblnSuggest,
                          const std::wstring& vstrVersionString, const std::wstring& vstrCreatorVersion,
                          const std::wstring& vstrPrompt, bool& rblnAlwayResult) = 0;
  virtual void ShowError(std::int32_t number) = 0;

  // The launcher's own program file: a drop of several files starts it once for each of them.
  virtual std::wstring LauncherProgram() = 0;
  // The meeting of the launchers whose files of one kind need the chooser, not yet joined.
  virtual std::unique_ptr<KindMeeting> Meet() = 0;
};

// The text after the program name in a full command line: the name (quoted or up to the first
// blank) and one separating blank are dropped, everything else stays.
std::wstring CommandTail(std::wstring_view fullCommandLine);

// The file path: blanks at both ends removed, then a leading and a trailing double quote, each at
// most once and independently of the other.
std::wstring CleanCommandLine(std::wstring_view commandLine);

// The arguments of a command line (the part after the program name) as CommandLineToArgvW splits
// them: blanks and tabs outside double quotes separate them; 2n backslashes before a quote give n
// backslashes and the quote opens or closes a quoted part, 2n + 1 give n backslashes and a literal
// quote; other backslashes stay. Of a run of quotes, counting an open quoted part as one more, each
// third gives a literal quote, and a quoted part is open after the run when one is left over.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The started program's command line: the program path and the file path, each in double quotes.
std::wstring StartCommandLine(const std::wstring& programPath, const std::wstring& filePath);

// The launcher's exit codes: the run ended as it should (whatever it told the user), or a failure
// could not even be reported.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUnreported = 1;

// One run of the launcher. Every failure ends in the error report; nothing escapes. Returns the
// exit code.
int Main(LauncherHost& host);

}  // namespace launcher
