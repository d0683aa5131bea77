#include "link_rules.h"

#include <cstddef>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "config.h"
#include "text.h"

namespace {

// How much of an upper-cased text an upper-cased stored value matches: the part before a final '*'
// when the text begins with it, the whole value when it equals the text; no value otherwise.
std::optional<std::size_t> MatchedLength(const std::string& upperValue, const std::string& upperText) {
  if (IsPattern(upperValue)) {
    const std::size_t length = upperValue.size() - 1;
    if (upperText.compare(0, length, upperValue, 0, length) != 0) return std::nullopt;
    return length;
  }
  if (upperValue != upperText) return std::nullopt;
  return upperValue.size();
}

using Pair = std::pair<std::string, std::string>;

Pair UpperPair(const LinkTable& table, std::size_t index) {
  return {text::UpperCaseCp932(table.mstrLinks[index]), text::UpperCaseCp932(table.mstrCreatorVersions[index])};
}

bool SameEntry(const LinkTable& a, std::size_t i, const LinkTable& b, std::size_t j) {
  return a.mstrLinks[i] == b.mstrLinks.at(j) && a.mstrLinkPaths[i] == b.mstrLinkPaths.at(j) &&
         a.mstrCreatorVersions[i] == b.mstrCreatorVersions.at(j);
}

void Append(LinkTable& to, const LinkTable& from, std::size_t i) {
  to.mstrLinks.push_back(from.mstrLinks[i]);
  to.mstrLinkPaths.push_back(from.mstrLinkPaths[i]);
  to.mstrCreatorVersions.push_back(from.mstrCreatorVersions[i]);
}

// The entry number of a link, path or CreatorVersion key as the readers spell it ("link12", in any
// letter case), or 0 for any other key. A number with a leading zero is never read, so such a key
// is no entry's. Numbers beyond any table's end all count as the largest.
long long EntryNumberOfKey(std::string_view key) {
  constexpr std::size_t kMostDigits = 12;
  for (const std::string_view word : {config::kLinkKey, config::kPathKey, config::kCreatorVersionKey}) {
    if (key.size() <= word.size() || text::UpperCaseCp932(key.substr(0, word.size())) != text::UpperCaseCp932(word)) {
      continue;
    }
    const std::string_view digits = key.substr(word.size());
    if (digits.front() == '0' || digits.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    return digits.size() > kMostDigits ? std::stoll(std::string(kMostDigits, '9')) : std::stoll(std::string(digits));
  }
  return 0;
}

}  // namespace

std::int32_t FindLinkWithPatterns(const LinkTable& table, const std::string& creatorText,
                                  const std::string& creatorVersion) {
  if (const std::int32_t exact = FindLink(table, creatorText, creatorVersion)) return exact;
  const std::string text = text::UpperCaseCp932(creatorText);
  const std::string version = text::UpperCaseCp932(creatorVersion);
  std::int32_t best = 0;
  std::size_t bestText = 0;
  std::size_t bestVersion = 0;
  for (std::int32_t number = 1; number <= table.count(); ++number) {
    const auto index = static_cast<std::size_t>(number - 1);
    if (!IsPattern(table.mstrLinks[index]) && !IsPattern(table.mstrCreatorVersions[index])) continue;
    const auto [link, linkVersion] = UpperPair(table, index);
    const std::optional<std::size_t> textLength = MatchedLength(link, text);
    if (!textLength) continue;
    const std::optional<std::size_t> versionLength = MatchedLength(linkVersion, version);
    if (!versionLength) continue;
    // Strictly longer only: of equal entries the first, the lowest number, stays.
    if (best == 0 || *textLength > bestText || (*textLength == bestText && *versionLength > bestVersion)) {
      best = number;
      bestText = *textLength;
      bestVersion = *versionLength;
    }
  }
  return best;
}

void ChangeLink(LinkTable& rows, std::int32_t number, const std::string& creatorText, const std::string& programPath,
                const std::string& creatorVersion) {
  const auto index = static_cast<std::size_t>(number - 1);
  rows.mstrLinks.at(index) = creatorText;
  rows.mstrLinkPaths.at(index) = programPath;
  rows.mstrCreatorVersions.at(index) = creatorVersion;
}

void ForgetLink(LinkTable& rows, std::int32_t number) {
  const auto index = static_cast<std::ptrdiff_t>(number) - 1;
  rows.mstrLinks.erase(rows.mstrLinks.begin() + index);
  rows.mstrLinkPaths.erase(rows.mstrLinkPaths.begin() + index);
  rows.mstrCreatorVersions.erase(rows.mstrCreatorVersions.begin() + index);
}

LinkTable MergedLinks(const LinkTable& rows, const std::vector<std::size_t>& origins, const LinkTable& shown,
                      const LinkTable& current) {
  std::map<Pair, std::vector<std::size_t>> currentOfPair;
  for (std::size_t i = 0; i < current.mstrLinks.size(); ++i) currentOfPair[UpperPair(current, i)].push_back(i);
  // The file's entry for each shown entry: the k-th of its pair for the k-th shown one, since a pair
  // can stand more than once and a launcher overwrites one of them in place.
  std::vector<std::optional<std::size_t>> now(shown.mstrLinks.size());
  std::vector<bool> matched(current.mstrLinks.size(), false);
  std::map<Pair, std::size_t> seen;
  for (std::size_t s = 0; s < shown.mstrLinks.size(); ++s) {
    const Pair pair = UpperPair(shown, s);
    const std::size_t k = seen[pair]++;
    const auto entries = currentOfPair.find(pair);
    if (entries == currentOfPair.end() || k >= entries->second.size()) continue;
    now[s] = entries->second[k];
    matched[entries->second[k]] = true;
  }
  LinkTable merged;
  for (std::size_t i = 0; i < rows.mstrLinks.size(); ++i) {
    const std::size_t origin = origins.at(i);
    if (!SameEntry(rows, i, shown, origin)) {
      Append(merged, rows, i);
    } else if (now.at(origin)) {
      Append(merged, current, *now[origin]);
    }
  }
  for (std::size_t i = 0; i < current.mstrLinks.size(); ++i) {
    if (!matched[i]) Append(merged, current, i);
  }
  return merged;
}

void PutLinks(IniDocument& ini, const LinkTable& links) {
  std::vector<std::pair<std::string, std::string>> writes;
  for (std::int32_t number = 1; number <= links.count(); ++number) {
    const auto index = static_cast<std::size_t>(number - 1);
    for (auto& write : LinkEntryWrites(number, links.mstrLinks[index], links.mstrLinkPaths[index],
                                       links.mstrCreatorVersions[index])) {
      writes.push_back(std::move(write));
    }
  }
  ini.Set(config::kSection, writes);
  // Every line of such a key goes: a second line of one key would be read once the first is gone.
  ini.RemoveKeys(config::kSection, [&](const std::string& key) { return EntryNumberOfKey(key) > links.count(); });
}

std::optional<std::int32_t> SaveLinks(const fileio::FilePath& file, const LinkTable& shown, const LinkTable& rows,
                                      const std::vector<std::size_t>& origins) {
  if (rows.mstrLinks == shown.mstrLinks && rows.mstrLinkPaths == shown.mstrLinkPaths &&
      rows.mstrCreatorVersions == shown.mstrCreatorVersions) {
    return std::nullopt;
  }
  return UpdateLinkIni(file, [&](IniDocument& ini) {
    LinkTable current;
    ReadLinkIni(ini, current);
    PutLinks(ini, MergedLinks(rows, origins, shown, current));
  });
}
