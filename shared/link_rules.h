// Remembered choices beyond the exact pair: a value that ends in '*' stands for every text that
// begins with what comes before the '*', so that one entry serves every dot release of an
// application. And the link table as the list editor's window shows, changes and writes it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_io.h"
#include "ini.h"
#include "link_table.h"

// The number of the entry that decides which program opens a file of this creator text and version,
// or 0. The exact look-up (FindLink) comes first and decides whenever it finds an entry. Only then
// the entries whose creator text or version ends in '*' are looked at: such a value matches every
// text that begins with what stands before its '*', a value without one matches only its own text,
// letter case ignored in both as in the exact look-up. Of the entries that match, the one with the
// longest creator text before its '*' decides (a value without '*' counts as its whole length),
// then the one with the longest version before its '*', then the lowest number. A '*' anywhere
// else is an ordinary character.
std::int32_t FindLinkWithPatterns(const LinkTable& table, const std::string& creatorText,
                                  const std::string& creatorVersion);

// Entry `number` (from 1) of the rows takes these values; the others keep their places.
void ChangeLink(LinkTable& rows, std::int32_t number, const std::string& creatorText, const std::string& programPath,
                const std::string& creatorVersion);

// Entry `number` (from 1) leaves the rows; the entries after it move one place forward.
void ForgetLink(LinkTable& rows, std::int32_t number);

// link.ini's entries after the window's OK, a three-way merge of what the window showed when it
// opened (`shown`), its rows now (`rows`, row i coming from entry `origins[i]` of `shown`, from 0)
// and link.ini read again (`current`). A shown entry is matched to the file's by its pair, compared
// as the exact look-up compares, the k-th shown entry of a pair to the k-th current one.
// - A row that the window changed (its values differ from the entry it came from) is written as the
//   window has it, whatever the file holds for that entry now; a forgotten entry stays forgotten.
// - A row that the window left as it was takes the file's entry as it stands now, so that a
//   launcher's store or a hand edit made meanwhile is kept; if the file no longer has the entry, the
//   row goes too: the other writer's removal (Quelby's save of the list, a hand edit) wins.
// - Entries of `current` that no shown entry matches (stored meanwhile) follow the rows.
LinkTable MergedLinks(const LinkTable& rows, const std::vector<std::size_t>& origins, const LinkTable& shown,
                      const LinkTable& current);

// Puts the entries into the document numbered 1 to n without gaps, each value quoted as the
// launcher writes it, and removes every link, path and CreatorVersion key numbered above n.
// Other keys (the marker among them) stay.
void PutLinks(IniDocument& ini, const LinkTable& links);

// Writes the window's rows back into link.ini when they differ from `shown`, the rows as the
// window opened: link.ini is read again under the lock that the launchers take to store, merged
// with the rows and the entries shown (MergedLinks, `origins` as there), and the file is replaced in
// one step, in its own encoding. Returns the failure's error number (link.ini then stays as it
// was), or no value when the rows are written or nothing has changed.
std::optional<std::int32_t> SaveLinks(const fileio::FilePath& file, const LinkTable& shown, const LinkTable& rows,
                                      const std::vector<std::size_t>& origins);
