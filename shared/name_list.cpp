#include "name_list.h"

#include <utility>

#include "config.h"
#include "text.h"

std::vector<NameEntry> ReadNameEntries(const IniDocument& ini) {
  std::vector<NameEntry> entries;
  for (std::int32_t number = 1; number <= config::kMaxNameEntries; ++number) {
    const std::string name =
        ini.Get(config::kSection, text::NumberedKey(config::kNameKey, number), config::kValueBufferSize);
    const std::string path =
        ini.Get(config::kSection, text::NumberedKey(config::kPathKey, number), config::kValueBufferSize);
    if (name.empty() || path.empty()) break;
    entries.push_back({text::TrimBlanksAnsi(name), text::TrimBlanksAnsi(path)});
  }
  return entries;
}

std::int32_t ReadNameIni(const fileio::FilePath& file, AppList& list) {
  list = AppList{};
  for (auto& entry : ReadNameEntries(IniDocument::Load(file))) {
    list.mstrAppNames.push_back(std::move(entry.name));
    list.mstrAppPaths.push_back(std::move(entry.path));
  }
  return list.count();
}

std::int32_t AppIndexOf(const AppList& apps, const std::string& programPath) {
  const std::string path = text::UpperCaseCp932(programPath);
  for (std::int32_t i = 0; i < apps.count(); ++i) {
    if (text::UpperCaseCp932(apps.mstrAppPaths[static_cast<std::size_t>(i)]) == path) return i;
  }
  return -1;
}

std::string ProgramLabel(const AppList& apps, const std::string& programPath) {
  const std::int32_t index = AppIndexOf(apps, programPath);
  return index < 0 ? programPath : apps.mstrAppNames[static_cast<std::size_t>(index)];
}
