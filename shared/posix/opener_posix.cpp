// Linux has no shell associations: a test gives the stand-in its programs.
#include <map>
#include <mutex>

#include "opener.h"
#include "stand_in_opener.h"

namespace opener {
namespace {

std::mutex gMutex;
std::map<std::wstring, fileio::FilePath>& Programs() {
  static std::map<std::wstring, fileio::FilePath> programs;
  return programs;
}

}  // namespace

std::optional<fileio::FilePath> ProgramFor(const std::wstring& extension) {
  const std::lock_guard<std::mutex> lock(gMutex);
  const auto found = Programs().find(extension);
  if (found == Programs().end()) return std::nullopt;
  return found->second;
}

namespace stand_in {

void Put(const std::wstring& extension, const fileio::FilePath& program) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Programs()[extension] = program;
}

void Clear() {
  const std::lock_guard<std::mutex> lock(gMutex);
  Programs().clear();
}

}  // namespace stand_in
}  // namespace opener
