// Linux has no shell associations and no registry: a test gives the stand-in what they hold.
#include <map>
#include <mutex>
#include <tuple>

#include "opener.h"
#include "stand_in_opener.h"

namespace opener {
namespace {

using TextKey = std::tuple<Hive, std::wstring, std::wstring>;

struct Contents {
  std::map<std::wstring, fileio::FilePath> programs;
  std::map<TextKey, std::wstring> texts;
};

std::mutex gMutex;
Contents& Held() {
  static Contents contents;
  return contents;
}

}  // namespace

std::optional<fileio::FilePath> ProgramFor(const std::wstring& extension) {
  const std::lock_guard<std::mutex> lock(gMutex);
  const auto found = Held().programs.find(extension);
  if (found == Held().programs.end()) return std::nullopt;
  return found->second;
}

std::optional<std::wstring> RegistryText(Hive hive, const std::wstring& key, const std::wstring& name) {
  const std::lock_guard<std::mutex> lock(gMutex);
  const auto found = Held().texts.find({hive, key, name});
  if (found == Held().texts.end()) return std::nullopt;
  return found->second;
}

namespace stand_in {

void Put(const std::wstring& extension, const fileio::FilePath& program) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Held().programs[extension] = program;
}

void PutText(Hive hive, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Held().texts[{hive, key, name}] = text;
}

void Clear() {
  const std::lock_guard<std::mutex> lock(gMutex);
  Held() = Contents{};
}

}  // namespace stand_in
}  // namespace opener
