// Linux files have no version resource: a test gives them one through the stand-in.
#include <map>
#include <mutex>

#include "stand_in_system.h"

namespace versioninfo {
namespace {

std::mutex gMutex;
std::map<fileio::FilePath, ProgramVersion>& Versions() {
  static std::map<fileio::FilePath, ProgramVersion> versions;
  return versions;
}

}  // namespace

std::optional<ProgramVersion> Read(const fileio::FilePath& program) {
  const std::lock_guard<std::mutex> lock(gMutex);
  const auto found = Versions().find(program.lexically_normal());
  if (found == Versions().end()) return std::nullopt;
  return found->second;
}

namespace stand_in {

void Put(const fileio::FilePath& program, const ProgramVersion& version) {
  ProgramVersion cleaned = version;
  cleaned.fileDescription = CleanText(cleaned.fileDescription);
  cleaned.productName = CleanText(cleaned.productName);
  const std::lock_guard<std::mutex> lock(gMutex);
  Versions()[program.lexically_normal()] = cleaned;
}

void Clear() {
  const std::lock_guard<std::mutex> lock(gMutex);
  Versions().clear();
}

}  // namespace stand_in
}  // namespace versioninfo
