// Which installed program made a file: its version resource names the file's product, and its
// major version is the file's. The chooser suggests that program, the window of remembered choices
// names it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "version_info.h"

namespace suggestion {

// The product a file's creator text names: "(R)", "(TM)", "®" and "™" removed, then a version
// number at the end, then blanks at both ends ("Adobe Illustrator(R) 17.0" gives "Adobe
// Illustrator").
std::wstring ProductOfCreator(std::wstring_view creatorText);

// The major version of the program that made the file: the first number of the creator version
// when it has one, else the number that ends the creator text. No value when neither has one.
std::optional<unsigned> MajorOfFile(std::wstring_view creatorText, std::wstring_view creatorVersion);

// Whether a program with this version resource made files of `product` at `major` (letter case
// ignored; an empty product is no product).
bool MadeFile(const versioninfo::ProgramVersion& program, std::wstring_view product, unsigned major);

// The row (from 0) to suggest for a file: the first program that made it and has not gone; -1
// when none did. `versions` and `gone` hold one entry per row (no version: none read).
int SuggestedRow(std::wstring_view creatorText, std::wstring_view creatorVersion,
                 const std::vector<std::optional<versioninfo::ProgramVersion>>& versions,
                 const std::vector<bool>& gone);

}  // namespace suggestion
