#include "link_table.h"

#include <utility>

#include "config.h"
#include "error.h"
#include "link_lock.h"
#include "text.h"

namespace {

std::string Read(const IniDocument& ini, const char* word, std::int32_t number) {
  return ini.Get(config::kSection, text::NumberedKey(word, number), config::kValueBufferSize);
}

std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

}  // namespace

std::int32_t ReadLinkIni(const fileio::FilePath& file, LinkTable& table) {
  return ReadLinkIni(IniDocument::Load(file), table);
}

std::int32_t ReadLinkIni(const IniDocument& ini, LinkTable& table) {
  table = LinkTable{};
  for (std::int32_t number = 1; number <= config::kMaxLinkEntries; ++number) {
    const std::string link = Read(ini, config::kLinkKey, number);
    const std::string path = Read(ini, config::kPathKey, number);
    const std::string version = Read(ini, config::kCreatorVersionKey, number);
    if (link.empty() || path.empty()) break;
    table.mstrLinks.push_back(text::TrimBlanksAnsi(link));
    table.mstrLinkPaths.push_back(text::TrimBlanksAnsi(path));
    table.mstrCreatorVersions.push_back(text::TrimBlanksAnsi(version));
  }
  return table.count();
}

bool LinkMatches(const LinkTable& table, std::int32_t number, const std::string& creatorText,
                 const std::string& creatorVersion) {
  const auto index = static_cast<std::size_t>(number - 1);
  return text::UpperCaseCp932(table.mstrLinks[index]) == text::UpperCaseCp932(creatorText) &&
         text::UpperCaseCp932(table.mstrCreatorVersions[index]) == text::UpperCaseCp932(creatorVersion);
}

std::int32_t FindLink(const LinkTable& table, const std::string& creatorText, const std::string& creatorVersion) {
  for (std::int32_t number = 1; number <= table.count(); ++number) {
    if (LinkMatches(table, number, creatorText, creatorVersion)) return number;
  }
  return 0;
}

std::int32_t LinkNumberToStore(const LinkTable& table, const std::string& creatorText,
                               const std::string& creatorVersion) {
  const std::int32_t deciding = FindLink(table, creatorText, creatorVersion);
  return deciding ? deciding : table.count() + 1;
}

LinkValues QuotedLinkValues(const std::string& creatorText, const std::string& programPath,
                            const std::string& creatorVersion) {
  return {Quoted(creatorText), Quoted(programPath), Quoted(creatorVersion)};
}

std::vector<std::pair<std::string, std::string>> LinkEntryWrites(std::int32_t number, const std::string& creatorText,
                                                                 const std::string& programPath,
                                                                 const std::string& creatorVersion) {
  const LinkValues values = QuotedLinkValues(creatorText, programPath, creatorVersion);
  return {{text::NumberedKey(config::kLinkKey, number), values.link},
          {text::NumberedKey(config::kPathKey, number), values.path},
          {text::NumberedKey(config::kCreatorVersionKey, number), values.creatorVersion}};
}

bool CanStoreLink(const std::string& creatorText, const std::string& creatorVersion) {
  // An entry whose link is empty ends the table for every reader: it would never be found.
  if (creatorText.empty()) return false;
  for (const std::string* value : {&creatorText, &creatorVersion}) {
    if (value->find_first_of("\r\n") != std::string::npos) return false;
    if (IsPattern(*value)) return false;
    IniDocument trial;
    trial.Set(config::kSection, config::kLinkKey, Quoted(*value));
    if (text::TrimBlanksAnsi(trial.Get(config::kSection, config::kLinkKey, config::kValueBufferSize)) != *value) {
      return false;
    }
  }
  return true;
}

std::optional<std::int32_t> UpdateLinkIni(const fileio::FilePath& file,
                                          const std::function<void(IniDocument&)>& change) {
  const linklock::LinkIniLock lock(file);
  if (!lock.held()) return err::FromSystemError(lock.error());
  if (!UpdateIniFile(file, change)) return err::FromSystemError(fileio::LastError());
  return std::nullopt;
}

std::optional<std::int32_t> StoreLink(const fileio::FilePath& file, const std::string& creatorText,
                                      const std::string& programPath, const std::string& creatorVersion) {
  return UpdateLinkIni(file, [&](IniDocument& ini) {
    LinkTable table;
    ReadLinkIni(ini, table);
    ini.Set(config::kSection, LinkEntryWrites(LinkNumberToStore(table, creatorText, creatorVersion), creatorText,
                                              programPath, creatorVersion));
  });
}
