#include "text.h"

#include <gtest/gtest.h>

#include "link_lock.h"

namespace {

TEST(TrimBlanks, RemovesOnlySpacesAtBothEnds) {
  EXPECT_EQ(text::TrimBlanks(L"  a b  "), L"a b");
  EXPECT_EQ(text::TrimBlanks(L"\ta\t"), L"\ta\t");
  EXPECT_EQ(text::TrimBlanks(L"   "), L"");
  EXPECT_EQ(text::TrimBlanks(L"\x3000x\x3000"), L"\x3000x\x3000");
}

TEST(TrimBlanksAnsi, KeepsABlankThatIsTheSecondByteOfACharacter) {
  EXPECT_EQ(text::TrimBlanksAnsi("  abc  "), "abc");
  EXPECT_EQ(text::TrimBlanksAnsi("\x82\xA0 "), "\x82\xA0");
  // 0x81 opens a double-byte character, so the blank after it belongs to it.
  EXPECT_EQ(text::TrimBlanksAnsi("x\x81 "), "x\x81 ");
  EXPECT_EQ(text::TrimBlanksAnsi("x\x81  "), "x\x81 ");
}

TEST(UpperCaseCp932, FoldsLettersOfEveryWidthButNothingElse) {
  EXPECT_EQ(text::UpperCaseCp932("Adobe Illustrator(r) 10.0"), "ADOBE ILLUSTRATOR(R) 10.0");
  EXPECT_EQ(text::UpperCaseCp932("\x82\x81\x82\x9A"), "\x82\x60\x82\x79");  // full-width a, z
  EXPECT_EQ(text::UpperCaseCp932("\x83\xBF"), "\x83\x9F");                  // alpha
  EXPECT_EQ(text::UpperCaseCp932("\x84\x70\x84\x80\x84\x91"), "\x84\x40\x84\x4F\x84\x60");
  // Half-width kana and the trail byte 'a' (0x61) of a kanji stay.
  EXPECT_EQ(text::UpperCaseCp932("\xB1\x88\x61"), "\xB1\x88\x61");
  // Width is not folded: a full-width A never equals an ASCII A.
  EXPECT_NE(text::UpperCaseCp932("\x82\x60"), text::UpperCaseCp932("A"));
}

}  // namespace

TEST(LinkLockName, OneNamePerFileWithNoBackslashBeyondTheNamespace) {
  const std::wstring name = linklock::LockName(L"C:\\PROGRAM FILES\\VARNOCK\\LINK.INI");
  EXPECT_EQ(name, linklock::LockName(L"C:\\PROGRAM FILES\\VARNOCK\\LINK.INI"));
  EXPECT_EQ(name.rfind(L"Local\\", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  EXPECT_NE(name, linklock::LockName(L"C:\\PROGRAM FILES\\VARNOCK2\\LINK.INI"));
  EXPECT_NE(name, linklock::LockName(L"D:\\PROGRAM FILES\\VARNOCK\\LINK.INI"));
  EXPECT_NE(linklock::LockName(L"\x4E00"), linklock::LockName(L"\x0001\x004E"));
}
