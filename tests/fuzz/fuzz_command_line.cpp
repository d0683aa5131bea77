// The command-line cleaning on any text: the tail is what follows the program name and one
// blank; the cleaned path loses only outer blanks and one quote at each end; and the started
// program's command line splits, by the C runtime's rules, into exactly the program and the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "launcher_main.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

// The Microsoft C runtime's splitting of a command line into arguments.
std::vector<std::wstring> Arguments(const std::wstring& line) {
  std::vector<std::wstring> args;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    if (i == line.size()) break;
    std::wstring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
      std::size_t slashes = 0;
      while (i < line.size() && line[i] == L'\\') ++slashes, ++i;
      if (i < line.size() && line[i] == L'"') {
        arg.append(slashes / 2, L'\\');
        if (slashes % 2) {
          arg += L'"';
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, L'\\');
        if (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  std::wstring line;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    line += static_cast<wchar_t>(input[i] | input[i + 1] << 8);
  }
  const std::wstring tail = launcher::CommandTail(line);
  Check(tail.size() <= line.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0, "tail");

  const std::wstring path = launcher::CleanCommandLine(tail);
  std::wstring expected = tail;
  expected.erase(0, std::min(expected.find_first_not_of(L' '), expected.size()));
  expected.erase(expected.find_last_not_of(L' ') + 1);
  if (!expected.empty() && expected.front() == L'"') expected.erase(0, 1);
  if (!expected.empty() && expected.back() == L'"') expected.pop_back();
  Check(path == expected, "cleaned path");

  // Paths on Windows hold no quote, and a file's path does not end in a backslash.
  const std::wstring program = L"C:\\Program Files\\Draw\\draw.exe";
  if (!path.empty() && path.find(L'"') == std::wstring::npos && path.back() != L'\\' &&
      path.find(L'\0') == std::wstring::npos) {
    Check(Arguments(launcher::StartCommandLine(program, path)) == std::vector<std::wstring>{program, path},
          "started command line");
  }
  return 0;
}
