#include "launcher_main.h"

#include <optional>

#include "config.h"
#include "eps_header.h"
#include "error.h"
#include "ini.h"
#include "link_rules.h"
#include "tables.h"
#include "text.h"

namespace launcher {
namespace {

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

  bool ProgramExists(const std::string& programPath) {
    if (fileio::IsOrdinaryFile(fileio::FilePath(host.FromAnsi(programPath)))) return true;
    host.Message(std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + host.FromAnsi(programPath),
                 kStyleExclamation);
    return false;
  }

  void Analyse() {
    EpsFileAnalysis analysis{fileio::FilePath(filePath)};
    creatorText = analysis.AnalyzeEpsFile(kScanLimits[0], creatorVersion);
    if (creatorText) return;
    host.ShowWait(filePath);
    for (std::size_t scan = 1; scan < std::size(kScanLimits) && !creatorText; ++scan) {
      creatorText = analysis.AnalyzeEpsFile(kScanLimits[scan], creatorVersion);
    }
    host.CloseWait();
  }

  // A failure here does not keep the chosen program from starting; the user is told afterwards.
  void StoreAssociation(const std::string& programPath) {
    storeFailure = StoreLink(linkIni, *creatorText, programPath, creatorVersion);
  }

  // Lets the user pick the program; no value when the run ends here.
  std::optional<std::string> Choose() {
    // The application list matters only here: a file that the link table decides never reads it.
    ReadNameIni(nameIni, apps);
    const bool formatKnown = creatorText.has_value();
    // A pair that would not read back as it was written (a lead byte takes the CR or LF after it
    // into the value; a NUL; more than a value read holds) is not offered for remembering.
    const bool storable = formatKnown && CanStoreLink(*creatorText, creatorVersion);
    std::vector<std::wstring> names;
    for (const auto& name : apps.mstrAppNames) names.push_back(host.FromAnsi(name));
    std::vector<std::wstring> paths;
    for (const auto& path : apps.mstrAppPaths) paths.push_back(host.FromAnsi(path));
    std::int32_t select = 0;
    bool always = false;
    const bool confirmed = host.ShowSelect(
        names, paths, select, storable, formatKnown ? host.FromAnsi(*creatorText) : launcher_texts::kUnknownFormat,
        host.FromAnsi(creatorVersion),
        formatKnown ? launcher_texts::kPromptNotRegistered : launcher_texts::kPromptUnknownFormat, always);
    if (!confirmed) return std::nullopt;
    if (select < 1 || select > apps.count()) throw err::AppError(err::kSubscriptOutOfRange);
    const std::string programPath = apps.mstrAppPaths[static_cast<std::size_t>(select - 1)];
    if (!ProgramExists(programPath)) return std::nullopt;
    if (storable && always) StoreAssociation(programPath);
    return programPath;
  }

  void Go() {
    const std::wstring commandLine = host.CommandLine();
    if (commandLine.empty()) {
      host.ShowAbout();
      return;
    }
    filePath = CleanCommandLine(commandLine);
    if (!fileio::IsOrdinaryFile(fileio::FilePath(filePath))) {
      host.Message(std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + filePath, kStyleExclamation);
      return;
    }
    const fileio::FilePath folder = host.ProgramFolder();
    linkIni = folder / config::kLinkIniFile;
    if (!fileio::IsOrdinaryFile(linkIni)) {
      host.Message(launcher_texts::kLinkIniMissing, kStyleOkOnly);
      return;
    }
    host.SetMousePointer(kPointerHourglass);
    ReadLinkIni(linkIni, links);
    Analyse();
    host.SetMousePointer(kPointerDefault);
    nameIni = folder / config::kNameIniFile;

    std::optional<std::string> programPath;
    if (!creatorText || host.ShiftDown()) {
      programPath = Choose();
    } else if (const std::int32_t number = FindLinkWithPatterns(links, *creatorText, creatorVersion)) {
      programPath = links.mstrLinkPaths[static_cast<std::size_t>(number - 1)];
      if (!ProgramExists(*programPath)) return;
    } else {
      programPath = Choose();
    }
    if (!programPath) return;
    const std::wstring program = host.FromAnsi(*programPath);
    host.StartProgram(program, StartCommandLine(program, filePath));
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

std::wstring StartCommandLine(const std::wstring& programPath, const std::wstring& filePath) {
  return L"\"" + programPath + L"\" \"" + filePath + L"\"";
}

int Main(LauncherHost& host) {
  Run run(host);
  try {
    run.Go();
  } catch (...) {
    const std::int32_t number = err::CurrentErrorNumber();
    try {
      host.CloseWait();
      host.SetMousePointer(kPointerDefault);
      host.ShowError(number);
    } catch (...) {
      return kExitUnreported;  // not even the report could be shown (no memory left, say)
    }
  }
  if (!run.storeFailure) return kExitDone;
  try {
    host.Message(std::wstring(launcher_texts::kStoreFailed) + L"\r\n\r\n" + err::ReportText(*run.storeFailure),
                 kStyleExclamation);
  } catch (...) {
    return kExitUnreported;
  }
  return kExitDone;
}

}  // namespace launcher
