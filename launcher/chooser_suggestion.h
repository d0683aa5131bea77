// What the chooser does with the version that made the file (suggestion::SuggestedRow): which row
// it marks, and whether it moves the selection there.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "version_info.h"

namespace launcher {

struct ChooserSuggestion {
  int row = -1;         // the row (from 0) marked as the version that made the file; -1 for none
  bool select = false;  // the selection moves to that row
  bool operator==(const ChooserSuggestion& other) const { return row == other.row && select == other.select; }
};

// Decided once the chooser knows every row's version resource and whether its program is there
// (one entry per row in `versions` and `gone`). `suggest`: the chooser asks for a kind of file that
// is not remembered. The selection moves only while the user has not moved it since the dialog
// opened (`userMoved`): a choice already made is never taken away.
ChooserSuggestion SuggestionOfChooser(bool suggest, std::wstring_view creatorText, std::wstring_view creatorVersion,
                                      const std::vector<std::optional<versioninfo::ProgramVersion>>& versions,
                                      const std::vector<bool>& gone, bool userMoved);

// Whether a key pressed in the chooser's list is the user choosing there, even when it leaves the
// selection where it is (Up or Home on the first row): the navigation keys. Tab, the modifiers
// (Shift may still be held from opening the file) and every other key are not.
bool ChoosesInList(unsigned virtualKey);

}  // namespace launcher
