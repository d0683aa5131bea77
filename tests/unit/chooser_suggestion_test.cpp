// What the chooser does with the version that made the file (which one did: version_suggestion_test).
#include "chooser_suggestion.h"

#include <gtest/gtest.h>

namespace {

using launcher::ChooserSuggestion;

TEST(ChooserSuggestion, MarksTheVersionThatMadeTheFileAndSelectsItUnlessTheUserHasChosen) {
  const versioninfo::ProgramVersion ai23{L"Adobe Illustrator 2019", L"Adobe Illustrator", true, 23, 0, 1};
  const auto of = [&](bool suggest, const wchar_t* creatorText, bool userMoved) {
    return launcher::SuggestionOfChooser(suggest, creatorText, L"", {std::nullopt, ai23}, {false, false}, userMoved);
  };
  EXPECT_TRUE(of(true, L"Adobe Illustrator(R) 23.0", false) == (ChooserSuggestion{1, true}));
  EXPECT_TRUE(of(true, L"Adobe Illustrator(R) 23.0", true) == (ChooserSuggestion{1, false})) << "the user has chosen";
  EXPECT_TRUE(of(false, L"Adobe Illustrator(R) 23.0", false) == ChooserSuggestion{}) << "a kind remembered";
  EXPECT_TRUE(of(true, L"Example Draw 23.0", false) == ChooserSuggestion{});
  for (const unsigned key : {0x21u, 0x24u, 0x28u}) EXPECT_TRUE(launcher::ChoosesInList(key)) << key;
  // Space, Tab and Shift (held from opening the file) leave the choice to the suggestion.
  for (const unsigned key : {0x20u, 0x29u, 0x09u, 0x10u}) EXPECT_FALSE(launcher::ChoosesInList(key)) << key;
}

}  // namespace
