#include "name_list.h"

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
