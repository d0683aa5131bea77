#include "chooser_suggestion.h"

#include "version_suggestion.h"

namespace launcher {

ChooserSuggestion SuggestionOfChooser(bool suggest, std::wstring_view creatorText, std::wstring_view creatorVersion,
                                      const std::vector<std::optional<versioninfo::ProgramVersion>>& versions,
                                      const std::vector<bool>& gone, bool userMoved) {
  if (!suggest) return {};
  const int row = suggestion::SuggestedRow(creatorText, creatorVersion, versions, gone);
  return {row, row >= 0 && !userMoved};
}

bool ChoosesInList(unsigned virtualKey) {
  // VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, as Windows numbers them.
  return virtualKey >= 0x21 && virtualKey <= 0x28;
}

}  // namespace launcher
