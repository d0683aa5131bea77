#include "opener_status.h"

#include "editor_texts.h"
#include "opener.h"
#include "program_finder.h"
#include "registry.h"
#include "version_info.h"

namespace editor {
namespace {

// The launcher's file, beside the list editor's.
constexpr wchar_t kLauncherFile[] = L"Varnock.exe";
// The name under which the installer lists the launcher among Windows' registered applications.
constexpr wchar_t kRegisteredName[] = L"Varnock";

// One file, whichever spelling of its path.
bool SameFile(const fileio::FilePath& a, const fileio::FilePath& b) {
  return fileio::IdentityKey(a) == fileio::IdentityKey(b);
}

// How the line names a program: its version resource's file description, else its file name.
std::wstring ProgramName(const fileio::FilePath& program, const std::optional<versioninfo::ProgramVersion>& version) {
  if (version && !version->fileDescription.empty()) return version->fileDescription;
  return program.filename().wstring();
}

// Whether an open command of the registry starts `program`.
bool CommandStarts(const std::wstring& command, const fileio::FilePath& program) {
  const std::optional<std::wstring> started = finder::ProgramOfCommand(command);
  return started && SameFile(*started, program);
}

// The registered application's .eps type, followed from its entry in RegisteredApplications (the
// user's or the machine's) to the open command of its ProgID, names `launcher`.
bool Registered(const fileio::FilePath& launcher) {
  using registry::Root;
  for (const Root root : {Root::kUser, Root::kMachine64}) {
    const auto capabilities = registry::ReadText({root, L"Software\\RegisteredApplications"}, kRegisteredName);
    if (!capabilities) continue;
    const auto progId = registry::ReadText({root, *capabilities + L"\\FileAssociations"}, L".eps");
    if (!progId) continue;
    // The classes as the shell merges them: the user's before the machine's.
    const std::wstring command = L"Software\\Classes\\" + *progId + L"\\shell\\open\\command";
    auto open = registry::ReadText({Root::kUser, command}, L"");
    if (!open) open = registry::ReadText({Root::kMachine64, command}, L"");
    if (open && CommandStarts(*open, launcher)) return true;
  }
  return false;
}

}  // namespace

OpenerState ReadOpenerState(const fileio::FilePath& folder) {
  const fileio::FilePath launcher = folder / kLauncherFile;
  OpenerState state;
  if (const auto eps = opener::ProgramFor(L".eps")) {
    if (SameFile(*eps, launcher)) {
      state.eps = OpenerState::Eps::kVarnock;
    } else {
      state.eps = OpenerState::Eps::kOther;
      state.otherName = ProgramName(*eps, versioninfo::Read(*eps));
    }
  }
  const auto ai = opener::ProgramFor(L".ai");
  state.aiByVarnock = ai && SameFile(*ai, launcher);
  state.registered = Registered(launcher);
  return state;
}

StatusLine StatusOf(const OpenerState& state) {
  StatusLine line;
  switch (state.eps) {
    case OpenerState::Eps::kVarnock: line.text = editor_texts::kOpenerVarnock; break;
    case OpenerState::Eps::kOther:
      line.text = editor_texts::kOpenerOtherBefore + state.otherName + editor_texts::kOpenerOtherAfter;
      break;
    case OpenerState::Eps::kNone: line.text = editor_texts::kOpenerNone; break;
  }
  line.warning = state.eps != OpenerState::Eps::kVarnock;
  if (!state.registered) line.text += editor_texts::kOpenerNotRegistered;
  if (state.aiByVarnock) line.text += std::wstring(L"\r\n") + editor_texts::kOpenerAi;
  return line;
}

DefaultAppsPage DefaultAppsFor(unsigned windowsMajor) {
  if (windowsMajor >= 10) return {false, std::wstring(L"ms-settings:defaultapps?registeredAppUser=") + kRegisteredName};
  return {true,
          std::wstring(L"/name Microsoft.DefaultPrograms /page pageDefaultProgram\\pageAdvancedSettings?pszAppName=") +
              kRegisteredName};
}

}  // namespace editor
