// The launcher's in-memory copies of link.ini (remembered associations) and name.ini (the list of
// applications), and the matching rule between a file's header and a remembered association.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_io.h"
#include "ini.h"

// Entry i (from 1) is element i - 1 of each list. Texts are in the ANSI code page, trimmed.
struct LinkTable {
  std::vector<std::string> mstrLinks;            // creator text
  std::vector<std::string> mstrLinkPaths;        // program that opens such files
  std::vector<std::string> mstrCreatorVersions;  // creator version, may be empty
  std::int32_t count() const { return static_cast<std::int32_t>(mstrLinks.size()); }
};

// Reads link1.. up to link999 (with path and CreatorVersion); the table ends at the first number
// whose link or path is empty. Returns the number of entries.
std::int32_t ReadLinkIni(const fileio::FilePath& file, LinkTable& table);
std::int32_t ReadLinkIni(const IniDocument& ini, LinkTable& table);

// A stored value that ends in this character is a pattern for the look-up: it stands for every
// text that begins with what comes before it.
inline constexpr char kPatternEnd = '*';
inline bool IsPattern(const std::string& value) { return !value.empty() && value.back() == kPatternEnd; }

// Entry `number` matches when its creator text and creator version equal the given ones after
// both sides are upper-cased; nothing else is normalised.
bool LinkMatches(const LinkTable& table, std::int32_t number, const std::string& creatorText,
                 const std::string& creatorVersion);

// The first matching entry's number, or 0: the entry that decides which program opens the file.
std::int32_t FindLink(const LinkTable& table, const std::string& creatorText, const std::string& creatorVersion);

// The number under which to store an association: the entry that decides the look-up for the
// pair (the first matching one), so that the stored choice takes effect; else count + 1.
std::int32_t LinkNumberToStore(const LinkTable& table, const std::string& creatorText,
                               const std::string& creatorVersion);

// The three values of a stored association, each enclosed in double quotes so that blanks at
// their ends survive the reading.
struct LinkValues {
  std::string link;
  std::string path;
  std::string creatorVersion;
};
LinkValues QuotedLinkValues(const std::string& creatorText, const std::string& programPath,
                            const std::string& creatorVersion);

// The keys and values of entry `number`, quoted as above, in the order in which they are written:
// link, path, CreatorVersion.
std::vector<std::pair<std::string, std::string>> LinkEntryWrites(std::int32_t number, const std::string& creatorText,
                                                                 const std::string& programPath,
                                                                 const std::string& creatorVersion);

// A pair that link.ini gives back as it was written and finds again: a creator text that is not
// empty, no line break, no NUL, no more than a value read can hold. Any other pair would be stored
// and then never found again. Nor may either value end in '*': read back, it would be a pattern
// and open every file whose texts begin with it.
bool CanStoreLink(const std::string& creatorText, const std::string& creatorVersion);

// Reads link.ini as it stands, lets `change` set values in it and replaces the file in one step,
// all while holding the lock that every program takes to change link.ini. Returns the failure's
// error number (the file then stays as it was), or no value when the file has been replaced.
std::optional<std::int32_t> UpdateLinkIni(const fileio::FilePath& file,
                                          const std::function<void(IniDocument&)>& change);

// Stores an association in link.ini while holding the lock on it: the number is chosen from the
// file as it stands now (the first matching entry's, else the number after the last entry), and
// the three values reach the file in one replacement of it. Returns the failure's error number,
// or no value when the association is stored.
std::optional<std::int32_t> StoreLink(const fileio::FilePath& file, const std::string& creatorText,
                                      const std::string& programPath, const std::string& creatorVersion);
