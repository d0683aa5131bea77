// What the chooser does with the version that made the file, and which keys in its list are a choice.
#include "chooser_suggestion.h"

#include <gtest/gtest.h>

namespace {

using launcher::ChooserSuggestion;
using versioninfo::ProgramVersion;

ProgramVersion Illustrator(unsigned major) {
  ProgramVersion version;
  version.fileDescription = L"Adobe Illustrator " + std::to_wstring(major);
  version.productName = L"Adobe Illustrator";
  version.hasNumbers = true;
  version.major = major;
  return version;
}

TEST(ChooserSuggestion, MarksTheRowThatMadeTheFileAndSelectsItUnlessTheUserHasChosen) {
  const std::vector<std::optional<ProgramVersion>> versions = {std::nullopt, Illustrator(16), Illustrator(23),
                                                               Illustrator(23), Illustrator(10)};
  const std::vector<bool> present(versions.size(), false);
  const std::vector<bool> firstCopyGone = {false, false, true, false, false};
  const struct {
    const char* name;
    bool suggest;
    const wchar_t* creatorText;
    const wchar_t* creatorVersion;
    const std::vector<bool>& gone;
    bool userMoved;
    ChooserSuggestion expected;
  } cases[] = {
      {"the creator version's major", true, L"Adobe Illustrator(R) 17.0", L"23.0.1", present, false, {2, true}},
      {"the creator text's number", true, L"Adobe Illustrator(R) 10.0", L"", present, false, {4, true}},
      {"a copy that has gone is passed over",
       true,
       L"Adobe Illustrator(R) 17.0",
       L"23.0.1",
       firstCopyGone,
       false,
       {3, true}},
      {"the user has chosen: marked, not selected",
       true,
       L"Adobe Illustrator(R) 17.0",
       L"23.0.1",
       present,
       true,
       {2, false}},
      {"another maker", true, L"Example Draw 1.0", L"1.0.2", present, false, {-1, false}},
      {"no version installed", true, L"Adobe Illustrator(R) 24.0", L"24.0", present, false, {-1, false}},
      {"a kind remembered, or an unknown format",
       false,
       L"Adobe Illustrator(R) 17.0",
       L"23.0.1",
       present,
       false,
       {-1, false}},
  };
  for (const auto& c : cases) {
    const ChooserSuggestion got =
        launcher::SuggestionOfChooser(c.suggest, c.creatorText, c.creatorVersion, versions, c.gone, c.userMoved);
    EXPECT_EQ(got.row, c.expected.row) << c.name;
    EXPECT_EQ(got.select, c.expected.select) << c.name;
  }
}

TEST(ChooserSuggestion, TheNavigationKeysAreAChoiceInTheList) {
  const struct {
    unsigned key;
    bool choice;
  } cases[] = {
      {0x26, true},  {0x24, true},  {0x21, true},  {0x28, true},  {0x23, true},  {0x22, true},
      {0x25, true},  {0x27, true},  {0x09, false}, {0x10, false}, {0x11, false}, {0x12, false},
      {0x20, false}, {0x29, false}, {0x0D, false}, {'A', false},  {0x2E, false},
  };
  for (const auto& c : cases) EXPECT_EQ(launcher::ChoosesInList(c.key), c.choice) << std::hex << c.key;
}

}  // namespace
