// Which program made a file: the product and major version a file names, against version resources.
#include "version_suggestion.h"

#include <gtest/gtest.h>

namespace {

using versioninfo::ProgramVersion;

TEST(VersionSuggestion, ProductAndMajorOfAFile) {
  const struct {
    const wchar_t* creatorText;
    const wchar_t* creatorVersion;
    const wchar_t* product;
    std::optional<unsigned> major;
  } cases[] = {
      {L"Adobe Illustrator(R) 17.0", L"23.0.1", L"Adobe Illustrator", 23},
      {L"Adobe Illustrator(R) 10.0", L"", L"Adobe Illustrator", 10},
      {L"Adobe Illustrator(R) 17.0", L"21.1.0", L"Adobe Illustrator", 21},
      {L"Adobe Photoshop\u00AE CS6 13", L"", L"Adobe Photoshop CS6", 13},
      {L"CorelDRAW\u2122 X7", L"", L"CorelDRAW X7", std::nullopt},
      {L"Canvas(TM) 12 ", L"", L"Canvas", 12},
      {L"  Affinity Designer  ", L"v1.10", L"Affinity Designer", 1},
      {L"Drawer2000", L"", L"Drawer2000", std::nullopt},      // a number of the name, not a version
      {L"Drawer 99999999999", L"", L"Drawer", std::nullopt},  // too large to be one
      {L"", L"", L"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "creator text [" << c.creatorText << "] version [" << c.creatorVersion << "]");
    EXPECT_EQ(suggestion::ProductOfCreator(c.creatorText), c.product);
    EXPECT_EQ(suggestion::MajorOfFile(c.creatorText, c.creatorVersion), c.major);
  }
}

ProgramVersion Version(const wchar_t* description, const wchar_t* product, unsigned major) {
  ProgramVersion version;
  version.fileDescription = description;
  version.productName = product;
  version.hasNumbers = true;
  version.major = major;
  return version;
}

TEST(VersionSuggestion, TheFirstProgramThatMadeTheFileAndIsThere) {
  const std::vector<std::optional<ProgramVersion>> rows = {
      Version(L"Adobe Illustrator CS6", L"Adobe Illustrator", 16),        // 0
      Version(L"Adobe Illustrator 2019", L"Adobe Illustrator", 23),       // 1
      Version(L"ADOBE ILLUSTRATOR CC 2019 (copy)", L"", 23),              // 2: the description names it
      std::nullopt,                                                       // 3: no version resource
      Version(L"Illustrator", L"ａｄｏｂｅ ｉｌｌｕｓｔｒａｔｏｒ", 10),  // 4: full-width, case folded
      Version(L"Adobe Photoshop", L"Adobe Photoshop", 10),                // 5
  };
  const struct {
    const wchar_t* creatorText;
    const wchar_t* creatorVersion;
    std::vector<bool> gone;
    int row;
  } cases[] = {
      {L"Adobe Illustrator(R) 17.0", L"23.0.1", {false, false, false, false, false, false}, 1},
      {L"Adobe Illustrator(R) 17.0", L"23.0.1", {false, true, false, false, false, false}, 2},  // 1 has gone
      {L"Adobe Illustrator(R) 17.0", L"23.0.1", {false, true, true, false, false, false}, -1},
      {L"Adobe Illustrator(R) 16.0", L"", {false, false, false, false, false, false}, 0},
      {L"Adobe Illustrator(R) 10.0", L"", {false, false, false, false, false, false}, -1},  // full width is not ASCII
      {L"Adobe Photoshop 10.0", L"", {false, false, false, false, false, false}, 5},
      {L"Adobe Photoshop 10.0", L"", {false, false, false, false, false}, -1},  // a row without its test is not there
      {L"Macromedia FreeHand 10", L"", {false, false, false, false, false, false}, -1},
      {L"Adobe Illustrator", L"", {false, false, false, false, false, false}, -1},  // no version at all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "creator text [" << c.creatorText << "] version [" << c.creatorVersion << "]");
    EXPECT_EQ(suggestion::SuggestedRow(c.creatorText, c.creatorVersion, rows, c.gone), c.row);
  }
}

TEST(VersionSuggestion, AnEmptyProductOrAResourceWithoutNumbersMakesNothing) {
  ProgramVersion noNumbers = Version(L"Adobe Illustrator", L"Adobe Illustrator", 23);
  noNumbers.hasNumbers = false;
  EXPECT_FALSE(suggestion::MadeFile(noNumbers, L"Adobe Illustrator", 23));
  EXPECT_FALSE(suggestion::MadeFile(Version(L"Adobe Illustrator", L"", 23), L"", 23));
  EXPECT_TRUE(suggestion::MadeFile(Version(L"", L"adobe illustrator", 23), L"Adobe Illustrator", 23));
}

TEST(VersionInfo, TextsAreCutAndKeptOnOneLine) {
  const struct {
    std::wstring given;
    std::wstring kept;
  } cases[] = {
      {L"  Drawing\tApp\r\n ", L"Drawing App"},
      {std::wstring(L"Name\0hidden", 11), L"Name"},
      {std::wstring(400, L'x'), std::wstring(versioninfo::kLongestText, L'x')},
      {L"\x01\x02", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(versioninfo::CleanText(c.given), c.kept);
  ProgramVersion version = Version(L"A", L"B", 1);
  version.minor = 2;
  version.build = 3;
  EXPECT_EQ(versioninfo::NumbersText(version), L"1.2.3");
  version.hasNumbers = false;
  EXPECT_EQ(versioninfo::NumbersText(version), L"");
}

}  // namespace
