#include "launcher_main.h"

#include <memory>
#include <optional>
#include <utility>

#include "codepage.h"
#include "config.h"
#include "eps_header.h"
#include "error.h"
#include "ini.h"
#include "link_lock.h"
#include "link_rules.h"
#include "link_table.h"
#include "name_list.h"
#include "text.h"

namespace launcher {
namespace {

// The system's "file not found", for a file that cannot be put on a command line.
constexpr std::uint32_t kSystemFileNotFound = 2;

// The path as a full path, or as it stands when the system cannot tell.
std::wstring FullPath(const std::wstring& path) {
  std::error_code unknown;
  const fileio::FilePath full = std::filesystem::absolute(fileio::FilePath(path), unknown);
  return unknown ? path : full.wstring();
}

struct Run {
  explicit Run(LauncherHost& runHost) : host(runHost) {}

  LauncherHost& host;
  std::wstring filePath;
  fileio::FilePath linkIni;
  fileio::FilePath nameIni;
  LinkTable links;
  AppList apps;
  std::optional<std::string> creatorText;
  std::string creatorVersion;
  // The failure's error number when a ticked "remember" could not be stored.
  std::optional<std::int32_t> storeFailure;
  // The programs' starts: how many were tried, and the files of those that failed with the
  // failure's error number.
  std::size_t startsTried = 0;
  std::vector<std::pair<std::wstring, std::int32_t>> startFailures;

  bool ProgramExists(const std::string& programPath) {
    return fileio::IsOrdinaryFile(fileio::FilePath(codepage::WideFromAnsi(programPath)));
  }

  void ReportProgramNotFound(const std::string& programPath) {
    host.Message(std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + codepage::WideFromAnsi(programPath),
                 messagestyle::kExclamation);
  }

  // Starts the program once for each file, in their order. A start that fails does not keep the
  // others from starting; the failures are told together at the end of the run.
  void Start(const std::string& programPath, const std::vector<std::wstring>& files) {
    const std::wstring program = codepage::WideFromAnsi(programPath);
    for (const std::wstring& file : files) {
      ++startsTried;
      try {
        // A path that cannot exist on Windows never goes on a command line: it could end the
        // quoted argument and add arguments of its own.
        if (!IsQuotablePath(program) || !IsStartableFile(FullPath(file))) {
          throw err::AppError(err::FromSystemError(kSystemFileNotFound));
        }
        host.StartProgram(program, StartCommandLine(program, file));
      } catch (...) {
        startFailures.emplace_back(file, err::CurrentErrorNumber());
      }
    }
  }

  // The program that link.ini remembers for the file's kind in entry `number`, started.
  void OpenRemembered(std::int32_t number) {
    const std::string& programPath = links.mstrLinkPaths[static_cast<std::size_t>(number - 1)];
    if (ProgramExists(programPath)) {
      Start(programPath, {filePath});
    } else {
      ReportProgramNotFound(programPath);
    }
  }

  void Analyse() {
    bool waiting = false;
    creatorText = AnalyzeWithEveryLimit(fileio::FilePath(filePath), creatorVersion, [&] {
      host.ShowWait(filePath);
      waiting = true;
    });
    if (waiting) host.CloseWait();
  }

  // A failure here does not keep the chosen program from starting; the user is told afterwards.
  void StoreAssociation(const std::string& programPath) {
    storeFailure = StoreLink(linkIni, *creatorText, programPath, creatorVersion);
  }

  // What the chooser answered for its files.
  struct Choice {
    bool confirmed = false;
    std::string programPath;  // the chosen program's, when confirmed
    bool opens = false;       // confirmed with a program that is there
    bool always = false;
    // A chooser that fails (an empty list, say) is the answer too: one report for the files, none
    // of them opened.
    std::optional<std::int32_t> failure;
  };

  // A launcher that holds the kind's meeting point reads link.ini again first, and so does one
  // that could not join: a choice remembered while it waited opens the file at once, the meeting
  // let go first. Shift asks to choose again.
  bool OpenRememberedMeanwhile(bool shift, std::unique_ptr<KindMeeting>& held) {
    if (!creatorText || shift) return false;
    ReadLinkIni(linkIni, links);
    const std::int32_t number = FindLinkWithPatterns(links, *creatorText, creatorVersion);
    if (!number || host.ShiftDown()) return false;
    held.reset();
    OpenRemembered(number);
    return true;
  }

  // The chooser over the application list, with the prompt for the files that `group` counts. It
  // suggests the version that made a file of known format only when its kind is not remembered:
  // Shift over a remembered kind asks to choose again.
  Choice Ask(const ChooserGroup& group, bool storable, bool shift) {
    const bool formatKnown = creatorText.has_value();
    std::vector<std::wstring> names;
    for (const auto& name : apps.mstrAppNames) names.push_back(codepage::WideFromAnsi(name));
    std::vector<std::wstring> paths;
    for (const auto& path : apps.mstrAppPaths) paths.push_back(codepage::WideFromAnsi(path));
    Choice choice;
    std::int32_t select = 0;
    try {
      choice.confirmed =
          host.ShowSelect(names, paths, select, storable, formatKnown && !shift,
                          formatKnown ? codepage::WideFromAnsi(*creatorText) : launcher_texts::kUnknownFormat,
                          codepage::WideFromAnsi(creatorVersion), group.Prompt(), choice.always);
      if (choice.confirmed && (select < 1 || select > apps.count())) throw err::AppError(err::kSubscriptOutOfRange);
    } catch (...) {
      choice.failure = err::CurrentErrorNumber();
      choice.confirmed = false;
    }
    if (choice.confirmed) choice.programPath = apps.mstrAppPaths[static_cast<std::size_t>(select - 1)];
    choice.opens = choice.confirmed && ProgramExists(choice.programPath);
    return choice;
  }

  // What the answer needs for the files that the chooser counted: the report, or the program
  // started for each, the choice stored first when the box was ticked.
  void Deliver(const Choice& choice, bool storable, const std::vector<std::wstring>& files) {
    if (choice.failure) {
      host.ShowError(*choice.failure);
    } else if (choice.confirmed && !choice.opens) {
      ReportProgramNotFound(choice.programPath);
    } else if (choice.opens) {
      // Stored before the meeting point goes, so that the next launcher of the kind finds it.
      if (storable && choice.always) StoreAssociation(choice.programPath);
      Start(choice.programPath, files);
    }
  }

  // The chooser for the file and for every file of its kind that other launchers hand over while
  // it is open. Only the launcher that holds the kind's meeting point decides for the kind. After
  // the answer it keeps the meeting a moment longer, so that launchers that come late get the same
  // answer. A launcher that cannot join the meeting asks for its own file alone.
  void ChooseTogether(bool shift) {
    const Meeting meeting{linklock::CanonicalUpperPath(linkIni), KindKey(creatorText, creatorVersion)};
    // Lets the meeting point go, if held, on every way out; before the group goes, declared first.
    std::unique_ptr<KindMeeting> held = host.Meet();
    // Another launcher's chooser may take the file: it goes there with its full path, since that
    // launcher may run in another folder.
    const JoinResult joined = held->Join({meeting, FullPath(filePath)});
    if (joined == JoinResult::kHandedOver) return;
    if (joined == JoinResult::kAlone) held.reset();
    if (OpenRememberedMeanwhile(shift, held)) return;
    // The application list matters only here: a file that the link table decides never reads it.
    ReadNameIni(nameIni, apps);
    // A pair that would not read back as it was written (a lead byte takes the CR or LF after it
    // into the value; a NUL; more than a value read holds), or that would read back as a pattern,
    // is not offered for remembering.
    const bool storable = creatorText && CanStoreLink(*creatorText, creatorVersion);
    ChooserGroup group(meeting, filePath, creatorText.has_value());
    if (held) held->Open(group);
    const Choice choice = Ask(group, storable, shift);
    group.Answer();
    Deliver(choice, storable, group.files());
    if (held) {
      held->Hold(group, [&] {
        const std::vector<std::wstring> late = group.TakeLate();
        if (choice.opens) Start(choice.programPath, late);
      });
    }
  }

  // Several files on the command line (a drop onto the launcher or its shortcut): each is opened
  // as if the launcher had been started for it alone, so that files of one kind share a chooser.
  // Those that do not exist are named together in one message.
  void OpenEach(const std::vector<std::wstring>& arguments) {
    std::vector<std::wstring> found;
    std::wstring missing;
    for (const std::wstring& argument : arguments) {
      if (fileio::IsOrdinaryFile(fileio::FilePath(argument))) {
        found.push_back(argument);
      } else {
        missing += L"\r\n" + argument;
      }
    }
    const bool linkIniFound = fileio::IsOrdinaryFile(host.ProgramFolder() / config::kLinkIniFile);
    if (linkIniFound) {
      const std::wstring self = host.LauncherProgram();
      for (const std::wstring& file : found) host.StartProgram(self, StartCommandLine(self, file));
    }
    if (!missing.empty()) host.Message(launcher_texts::kFileNotFound + missing, messagestyle::kExclamation);
    // Once for all the files, where each launcher would have said it.
    if (!linkIniFound && !found.empty()) host.Message(launcher_texts::kLinkIniMissing, messagestyle::kOkOnly);
  }

  void Go() {
    const std::wstring commandLine = host.CommandLine();
    if (commandLine.empty()) {
      host.ShowAbout();
      return;
    }
    filePath = CleanCommandLine(commandLine);
    // A path that could never go on a command line counts as missing.
    if (!IsStartableFile(FullPath(filePath))) {
      if (const auto arguments = SplitCommandLine(commandLine); arguments.size() >= 2) {
        OpenEach(arguments);
        return;
      }
      host.Message(std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + filePath, messagestyle::kExclamation);
      return;
    }
    const fileio::FilePath folder = host.ProgramFolder();
    linkIni = folder / config::kLinkIniFile;
    if (!fileio::IsOrdinaryFile(linkIni)) {
      host.Message(launcher_texts::kLinkIniMissing, messagestyle::kOkOnly);
      return;
    }
    host.SetMousePointer(kPointerHourglass);
    ReadLinkIni(linkIni, links);
    Analyse();
    host.SetMousePointer(kPointerDefault);
    nameIni = folder / config::kNameIniFile;

    // A file whose kind is remembered opens at once, without meeting any other launcher, unless
    // Shift asks to choose again. Shift is read only where it changes something, after the look-up:
    // a kind that is not remembered is asked for all the same, and a launcher that joins another's
    // chooser then needs nothing of the window system until it hands its file over.
    const std::int32_t number = creatorText ? FindLinkWithPatterns(links, *creatorText, creatorVersion) : 0;
    if (number == 0) return ChooseTogether(false);
    if (host.ShiftDown()) return ChooseTogether(true);
    OpenRemembered(number);
  }
};

}  // namespace

std::wstring CommandTail(std::wstring_view fullCommandLine) {
  std::size_t pos = 0;
  if (!fullCommandLine.empty() && fullCommandLine.front() == L'"') {
    const std::size_t close = fullCommandLine.find(L'"', 1);
    pos = close == std::wstring_view::npos ? fullCommandLine.size() : close + 1;
  } else {
    pos = fullCommandLine.find_first_of(L" \t");
    if (pos == std::wstring_view::npos) pos = fullCommandLine.size();
  }
  if (pos < fullCommandLine.size() && (fullCommandLine[pos] == L' ' || fullCommandLine[pos] == L'\t')) {
    ++pos;
  }
  return std::wstring(fullCommandLine.substr(pos));
}

std::wstring CleanCommandLine(std::wstring_view commandLine) {
  std::wstring path = text::TrimBlanks(commandLine);
  if (!path.empty() && path.front() == L'"') path.erase(0, 1);
  if (!path.empty() && path.back() == L'"') path.pop_back();
  return path;
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  std::vector<std::wstring> arguments;
  std::size_t pos = 0;
  for (;;) {
    while (pos < commandLine.size() && blank(commandLine[pos])) ++pos;
    if (pos == commandLine.size()) return arguments;
    std::wstring argument;
    int quotes = 0;  // 1 inside a quoted part
    std::size_t backslashes = 0;
    while (pos < commandLine.size() && !(quotes == 0 && blank(commandLine[pos]))) {
      const wchar_t c = commandLine[pos++];
      if (c != L'"') {
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        argument += c;
        continue;
      }
      // The backslashes before the quote: half of them stay, and an odd one makes it literal.
      argument.resize(argument.size() - (backslashes + 1) / 2);
      if (backslashes % 2) {
        argument += L'"';
      } else {
        ++quotes;
      }
      backslashes = 0;
      for (; pos < commandLine.size() && commandLine[pos] == L'"'; ++pos) {
        if (++quotes == 3) {
          argument += L'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    }
    arguments.push_back(std::move(argument));
  }
}

std::wstring StartCommandLine(const std::wstring& programPath, const std::wstring& filePath) {
  return L"\"" + programPath + L"\" \"" + filePath + L"\"";
}

namespace {

std::wstring StartFailuresText(const std::vector<std::pair<std::wstring, std::int32_t>>& failures) {
  std::wstring text = launcher_texts::kStartsFailed;
  for (const auto& [file, number] : failures) text += L"\r\n" + file + L"\r\n    " + err::ReportText(number);
  return text;
}

}  // namespace

int Main(LauncherHost& host) {
  Run run(host);
  const auto report = [&](std::int32_t number) {
    host.CloseWait();
    host.SetMousePointer(kPointerDefault);
    host.ShowError(number);
  };
  try {
    run.Go();
  } catch (...) {
    const std::int32_t number = err::CurrentErrorNumber();
    try {
      report(number);
    } catch (...) {
      return kExitUnreported;  // not even the report could be shown (no memory left, say)
    }
  }
  try {
    // One program for one file gets the error report as any failure does; several files, one
    // message that names each file that did not open.
    if (run.startsTried == 1 && run.startFailures.size() == 1) {
      report(run.startFailures.front().second);
    } else if (!run.startFailures.empty()) {
      host.Message(StartFailuresText(run.startFailures), messagestyle::kExclamation);
    }
    if (run.storeFailure) {
      host.Message(std::wstring(launcher_texts::kStoreFailed) + L"\r\n\r\n" + err::ReportText(*run.storeFailure),
                   messagestyle::kExclamation);
    }
  } catch (...) {
    return kExitUnreported;
  }
  return kExitDone;
}

}  // namespace launcher
