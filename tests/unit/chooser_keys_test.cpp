#include "chooser_keys.h"

#include <gtest/gtest.h>

namespace {

using launcher::ChooserDigit;
using launcher::RowOfDigit;

TEST(ChooserKeys, TheDigitsOfBothKeyboardsWithoutCtrlOrAlt) {
  struct Case {
    unsigned key;
    bool ctrl, alt;
    int digit;
  };
  const Case cases[] = {
      {'1', false, false, 1},  {'5', false, false, 5},  {'9', false, false, 9},      {0x61, false, false, 1},
      {0x65, false, false, 5}, {0x69, false, false, 9}, {'0', false, false, 0},      {0x60, false, false, 0},
      {'A', false, false, 0},  {0x6A, false, false, 0}, {0x30 - 1, false, false, 0}, {'3', true, false, 0},
      {'3', false, true, 0},   {0x63, true, false, 0},  {0x63, false, true, 0},      {0x0D, false, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooserDigit(c.key, c.ctrl, c.alt), c.digit)
        << std::hex << c.key << " ctrl " << c.ctrl << " alt " << c.alt;
  }
}

TEST(ChooserKeys, ADigitPicksItsRowOnlyWhenTheListHasIt) {
  EXPECT_EQ(RowOfDigit(1, 1), 0);
  EXPECT_EQ(RowOfDigit(3, 3), 2);
  EXPECT_EQ(RowOfDigit(9, 99), 8);
  EXPECT_EQ(RowOfDigit(3, 2), -1);
  EXPECT_EQ(RowOfDigit(1, 0), -1);
  EXPECT_EQ(RowOfDigit(0, 5), -1);
}

}  // namespace
