#include "ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>

#include "error.h"
#include "temp_folder.h"
#include "utf16_bytes.h"

namespace {

namespace fs = std::filesystem;

std::string Get(const std::string& content, const char* section, const char* key, std::int32_t size = 1024) {
  return IniDocument(content).Get(section, key, size);
}

std::string AfterSet(const std::string& content, const char* section, const char* key, const char* value) {
  IniDocument document(content);
  document.Set(section, key, value);
  return document.bytes();
}

class IniFileTest : public TempFolderTest {
 protected:
  void Put(const std::string& bytes) { TempFolderTest::Put("link.ini", bytes); }
  std::string Bytes() { return TempFolderTest::Bytes("link.ini"); }
  const fs::path file_ = Path("link.ini");
};

TEST(IniRead, MissingKeySectionOrFileReadsAsEmpty) {
  EXPECT_EQ(Get("[main]\r\na=1\r\n", "main", "b"), "");
  EXPECT_EQ(Get("[main]\r\na=1\r\n", "other", "a"), "");
  EXPECT_EQ(IniDocument::Load("/nonexistent/folder/x.ini").Get("main", "a", 1024), "");
}

TEST(IniRead, BufferOf1024GivesAtMost1023Bytes) {
  const std::string exact(1023, 'x');
  EXPECT_EQ(Get("[main]\r\nk=" + exact + "\r\n", "main", "k"), exact);
  EXPECT_EQ(Get("[main]\r\nk=" + exact + "yz\r\n", "main", "k"), exact);
  EXPECT_EQ(Get("[main]\r\nk=abc\r\n", "main", "k", 3), "ab");
  EXPECT_EQ(Get("[main]\r\nk=abc\r\n", "main", "k", 1), "");
  EXPECT_EQ(Get("[main]\r\nk=abc\r\n", "main", "k", 0), "");
  EXPECT_THROW(Get("[main]\r\nk=abc\r\n", "main", "k", -1), err::AppError);
}

TEST(IniRead, ACutNeverSplitsADoubleByteCharacter) {
  const std::string value = std::string(1022, 'x') + "\x8A\xBF" + "z";
  EXPECT_EQ(Get("[main]\r\nk=" + value + "\r\n", "main", "k"), std::string(1022, 'x'));
}

TEST(IniRead, BlanksAndOnePairOfEnclosingQuotesGo) {
  EXPECT_EQ(Get("[main]\r\nk=\"  abc  \"\r\n", "main", "k"), "  abc  ");
  EXPECT_EQ(Get("[main]\r\nk=  abc  \r\n", "main", "k"), "abc");
  EXPECT_EQ(Get("[main]\r\nk=\t abc \t\r\n", "main", "k"), "abc");
  EXPECT_EQ(Get("[main]\r\nk='x'\r\n", "main", "k"), "x");
  EXPECT_EQ(Get("[main]\r\nk=\"\"x\"\"\r\n", "main", "k"), "\"x\"");
  EXPECT_EQ(Get("[main]\r\nk=\"abc\r\n", "main", "k"), "\"abc");
  EXPECT_EQ(Get("[main]\r\nk=\"abc'\r\n", "main", "k"), "\"abc'");
  EXPECT_EQ(Get("[main]\r\nk=\"\r\n", "main", "k"), "\"");
  EXPECT_EQ(Get("[main]\r\nk=\"\"\r\n", "main", "k"), "");
  EXPECT_EQ(Get("[main]\r\nk=\"   \"\r\n", "main", "k"), "   ");
}

TEST(IniRead, NamesMatchWithoutRegardToCaseAndOuterSpaces) {
  const std::string content = "[Main]\r\nCreatorVersion1=\"8.0\"\r\n";
  EXPECT_EQ(Get(content, "MAIN", "creatorversion1"), "8.0");
  EXPECT_EQ(Get(content, " main ", " CREATORVERSION1 "), "8.0");
  EXPECT_EQ(Get("  [ main ]  \r\n\t key \t= v\r\n", "main", "key"), "v");
}

TEST(IniRead, FirstKeyAndFirstSectionWin) {
  const std::string content = "[main]\r\nk=1\r\nk=2\r\n[other]\r\n[MAIN]\r\nk=3\r\nj=4\r\n";
  EXPECT_EQ(Get(content, "main", "k"), "1");
  EXPECT_EQ(Get(content, "main", "j"), "");
}

// Documents with repeated sections and keys in mixed case, read by name and compared with a
// search from the top of the file; also after values have been set, which changes the lines.
TEST(IniRead, EveryNameReadsAsASearchFromTheTopFindsIt) {
  std::mt19937 random(99);
  const std::vector<std::string> sections = {"main", "MAIN", "Other", "", "ma in"};
  const std::vector<std::string> keys = {"link1", "LINK1", "path1", "Path12", "CreatorVersion999", "k"};
  auto pick = [&](const std::vector<std::string>& names) { return names[random() % names.size()]; };
  auto lower = [](std::string name) {
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  };
  for (int round = 0; round < 200; ++round) {
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> model;
    std::string content = random() % 2 ? "k=before\r\n" : "";
    for (int s = std::uniform_int_distribution<int>(0, 5)(random); s > 0; --s) {
      model.push_back({pick(sections), {}});
      content += "[" + model.back().first + "]\r\n";
      for (int k = std::uniform_int_distribution<int>(0, 6)(random); k > 0; --k) {
        model.back().second.push_back({pick(keys), std::to_string(random() % 1000)});
        content += model.back().second.back().first + "=" + model.back().second.back().second + "\r\n";
      }
    }
    auto expected = [&](const std::string& section, const std::string& key) -> std::string {
      for (const auto& [name, entries] : model) {
        if (lower(name) != lower(section)) continue;
        for (const auto& [entryKey, value] : entries) {
          if (lower(entryKey) == lower(key)) return value;
        }
        return "";
      }
      return "";
    };
    IniDocument document(content);
    for (const auto& section : sections) {
      for (const auto& key : keys) ASSERT_EQ(document.Get(section, key, 1024), expected(section, key)) << content;
    }
    const std::string section = pick(sections), key = pick(keys);
    document.Set(section, key, "set");
    const std::string before = expected(section, key);
    ASSERT_EQ(document.Get(section, key, 1024), "set") << document.bytes();
    ASSERT_EQ(IniDocument(document.bytes()).Get(section, key, 1024), "set");
    if (before.empty()) continue;
    for (const auto& other : keys) {
      if (lower(other) != lower(key)) {
        ASSERT_EQ(document.Get(section, other, 1024), expected(section, other));
      }
    }
  }
}

TEST(IniRead, ACopyReadsItsOwnBytes) {
  IniDocument original("[m]\r\nk=v\r\n");  // short enough to live inside the string itself
  IniDocument copy = original;
  IniDocument moved = std::move(original);
  original = IniDocument("[x]\r\nz=1\r\n");
  EXPECT_EQ(copy.Get("m", "k", 1024), "v");
  EXPECT_EQ(moved.Get("m", "k", 1024), "v");
  copy = moved;
  moved = IniDocument("[y]\r\nq=2\r\n");
  EXPECT_EQ(copy.Get("m", "k", 1024), "v");
  EXPECT_EQ(original.Get("x", "z", 1024), "1");
}

TEST(IniRead, LineEndsOfEveryKind) {
  EXPECT_EQ(Get("[main]\rk=cr\rj=2", "main", "k"), "cr");
  EXPECT_EQ(Get("[main]\nk=lf\nj=2", "main", "j"), "2");
  EXPECT_EQ(Get("[main]\r\n\r\n\r\nk=last", "main", "k"), "last");
}

TEST(IniRead, HeadersCommentsAndStrayLines) {
  EXPECT_EQ(Get("[main] trailing\r\nk=1\r\n", "main", "k"), "1");
  EXPECT_EQ(Get("[main\r\nk=1\r\n", "main", "k"), "1");
  EXPECT_EQ(Get("k=0\r\n[main]\r\nk=1\r\n", "other", "k"), "");
  EXPECT_EQ(Get("[main]\r\n;k=comment\r\nk=1\r\n", "main", "k"), "1");
  EXPECT_EQ(Get("[main]\r\n  ;k=comment\r\n", "main", ";k"), "");
  EXPECT_EQ(Get("[main]\r\n#k=1\r\n", "main", "#k"), "1");
  EXPECT_EQ(Get("[]\r\nk=empty\r\n", "", "k"), "empty");
  EXPECT_EQ(Get("[main]\r\nk=a;b#c\r\n", "main", "k"), "a;b#c");
  // A byte-order mark of UTF-8 makes the rest of the file UTF-8 text.
  EXPECT_EQ(Get("\xEF\xBB\xBF[main]\r\nk=1\r\n", "main", "k"), "1");
}

TEST(IniRead, AValueEndsAtItsFirstNul) {
  EXPECT_EQ(Get(std::string("[main]\r\nk=ab\0cd\r\nj=2\r\n", 19), "main", "k"), "ab");
  EXPECT_EQ(Get(std::string("[main]\r\nk=\"\0x\"\r\n", 15), "main", "k"), "");
}

std::string Utf16(std::u16string_view text, bool bigEndian) { return Utf16Bytes(text, bigEndian); }

const char kLayoutAnsi[] = "\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67";  // レイアウト

TEST(IniUnicode, FilesWithAByteOrderMarkAreReadAsTheirText) {
  const std::string utf8 =
      "\xEF\xBB\xBF[main]\r\nname1=\xE3\x83\xAC\xE3\x82\xA4\xE3\x82\xA2\xE3\x82\xA6\xE3\x83\x88\r\n";
  EXPECT_EQ(Get(utf8, "main", "name1"), kLayoutAnsi);
  for (const bool bigEndian : {false, true}) {
    const IniDocument document(
        Utf16(u"[main]\r\nname1= \"\u30EC\u30A4\u30A2\u30A6\u30C8\" \r\npath1=x\r\n", bigEndian));
    EXPECT_EQ(document.encoding(), bigEndian ? IniDocument::Encoding::kUtf16Be : IniDocument::Encoding::kUtf16Le);
    EXPECT_EQ(document.Get("main", "name1", 1024), kLayoutAnsi);
    EXPECT_EQ(document.Get("MAIN", "PATH1", 1024), "x");
  }
  // A character that the ANSI code page lacks reads as the system's stand-in.
  EXPECT_EQ(IniDocument(Utf16(u"[main]\r\nk=a\u00E9\U0001F600b\r\n", false)).Get("main", "k", 1024).front(), 'a');
  EXPECT_EQ(IniDocument(Utf16(u"[main]\r\nk=a\u00E9b\r\n", false)).Get("main", "k", 1024).size(), 3u);
  // The ANSI cut at the buffer's end applies to the converted value.
  std::u16string many = u"[main]\r\nk=";
  for (int i = 0; i < 600; ++i) many += u'\u6F22';
  EXPECT_EQ(IniDocument(Utf16(many, false)).Get("main", "k", 1024).size(), 1022u);
}

TEST(IniUnicode, AWriteKeepsTheEncodingAndEveryOtherByte) {
  // A comment with characters the ANSI code page lacks, and a stray last byte, survive the write.
  const std::u16string before = u"; \U0001F600 \u00E9\r\n[main]\r\nname1=a\r\n";
  for (const bool bigEndian : {false, true}) {
    IniDocument document(Utf16(before, bigEndian) + "Z");
    document.Set("main", "name1", kLayoutAnsi);
    document.Set("main", "path1", "C:\\x.exe");
    EXPECT_EQ(document.bytes(),
              Utf16(u"; \U0001F600 \u00E9\r\n[main]\r\nname1=\u30EC\u30A4\u30A2\u30A6\u30C8\r\npath1=C:\\x.exe\r\n",
                    bigEndian) +
                  "Z");
    EXPECT_EQ(IniDocument(document.bytes()).Get("main", "name1", 1024), kLayoutAnsi);
  }
  IniDocument utf8("\xEF\xBB\xBF; \xF0\x9F\x98\x80\r\n[main]\r\n");
  utf8.Set("main", "name1", kLayoutAnsi);
  EXPECT_EQ(utf8.bytes(),
            "\xEF\xBB\xBF; "
            "\xF0\x9F\x98\x80\r\n[main]\r\nname1=\xE3\x83\xAC\xE3\x82\xA4\xE3\x82\xA2\xE3\x82\xA6\xE3\x83\x88\r\n");
  // A ']' after a byte that would open a double-byte character in ANSI still closes a header.
  EXPECT_EQ(Get("\xEF\xBB\xBF[\xE3\x81\x82]\r\nk=1\r\n", "\x82\xA0", "k"), "1");
}

TEST(IniUnicode, ACopyOrAMoveKeepsTheEncoding) {
  const std::string file = Utf16(u"[main]\r\nk=v\r\n", false) + "Z";
  const IniDocument original(file);
  IniDocument copy = original;
  IniDocument source = original;
  IniDocument moved = std::move(source);
  IniDocument assigned;
  assigned = moved;
  IniDocument moveAssigned;
  moveAssigned = IniDocument(original);
  for (const IniDocument* document : {&copy, &moved, &assigned, &moveAssigned}) {
    EXPECT_EQ(document->encoding(), IniDocument::Encoding::kUtf16Le);
    EXPECT_EQ(document->bytes(), file);
  }
}

TEST(IniRead, ASectionNameEndsAtABracketThatIsACharacterOfItsOwn) {
  // 0x5D (']') is the second byte of the double-byte character 0x815D.
  EXPECT_EQ(Get("[a\x81\x5D"
                "b]\r\nk=1\r\n",
                "a\x81\x5D"
                "b",
                "k"),
            "1");
}

TEST(IniWrite, ExistingKeyKeepsItsPlaceAndSpelling) {
  EXPECT_EQ(AfterSet("[Main]\r\nKEY=old\r\nz=1\r\n", "main", "key", "new"), "[Main]\r\nKEY=new\r\nz=1\r\n");
  EXPECT_EQ(AfterSet("[main]\r\nk=old", "main", "k", ""), "[main]\r\nk=");
}

TEST(IniWrite, NewKeyFollowsTheLastKeyOfItsSection) {
  EXPECT_EQ(AfterSet("[main]\r\na=1\r\n\r\n; note\r\n[other]\r\nb=2\r\n", "main", "c", "3"),
            "[main]\r\na=1\r\nc=3\r\n\r\n; note\r\n[other]\r\nb=2\r\n");
  EXPECT_EQ(AfterSet("[main]\r\n[other]\r\n", "main", "c", "3"), "[main]\r\nc=3\r\n[other]\r\n");
  EXPECT_EQ(AfterSet("[main]\r\na=1", "main", "c", "3"), "[main]\r\na=1\r\nc=3\r\n");
  EXPECT_EQ(AfterSet("[main]\na=1\n", "main", "c", "3"), "[main]\na=1\nc=3\r\n");
}

TEST(IniWrite, NewSectionIsAppendedWithoutABlankLine) {
  EXPECT_EQ(AfterSet("", "main", "Quelby", "1"), "[main]\r\nQuelby=1\r\n");
  EXPECT_EQ(AfterSet("; c\r\n[x]\r\na=1", "main", "k", "v"), "; c\r\n[x]\r\na=1\r\n[main]\r\nk=v\r\n");
}

TEST(IniWrite, ValuesAreWrittenVerbatim) {
  EXPECT_EQ(AfterSet("", "main", "k", "  \"x\"  "), "[main]\r\nk=  \"x\"  \r\n");
  EXPECT_EQ(Get(AfterSet("", "main", "k", "\"  abc  \""), "main", "k"), "  abc  ");
  EXPECT_EQ(Get(AfterSet("", "main", "k", "  abc  "), "main", "k"), "abc");
}

TEST(IniWrite, ALineBreakInAnyTextIsRefused) {
  for (const char* bad : {"a\rb", "a\nb", "\r\n"}) {
    IniDocument document("[main]\r\nk=1\r\n");
    try {
      document.Set("main", "k", bad);
      ADD_FAILURE() << "no failure for a line break";
    } catch (const err::AppError& error) {
      EXPECT_EQ(error.number(), err::kValueHasLineBreak);
    }
    EXPECT_THROW(document.Set(bad, "k", "v"), err::AppError);
    EXPECT_THROW(document.Set("main", bad, "v"), err::AppError);
    EXPECT_EQ(document.bytes(), "[main]\r\nk=1\r\n");
  }
}

TEST(IniWrite, SeveralKeysAtOnceAsThatManySetsInTurn) {
  using Values = std::vector<std::pair<std::string, std::string>>;
  const struct {
    const char* name;
    std::string before;
    Values values;
    std::string after;
  } cases[] = {
      {"existing keys in place, new ones after the last key in order",
       "[main]\r\nb=1\r\n\r\n[x]\r\n",
       {{"c", "3"}, {"B", "2"}, {"d", "4"}},
       "[main]\r\nb=2\r\nc=3\r\nd=4\r\n\r\n[x]\r\n"},
      {"a key set twice: its first spelling, its last value",
       "[main]\r\n",
       {{"k", "1"}, {"j", "2"}, {" K ", "3"}},
       "[main]\r\nk=3\r\nj=2\r\n"},
      {"a key without '=' and a last line without its end",
       "[main]\r\nflag\r\nz=0",
       {{"z", "9"}, {"flag", "on"}, {"new", "n"}},
       "[main]\r\nflag=on\r\nz=9\r\nnew=n\r\n"},
      {"a new section after a last line without its end",
       "; c",
       {{"a", "1"}, {"b", "2"}},
       "; c\r\n[main]\r\na=1\r\nb=2\r\n"},
      {"nothing to set", "[main]\na=1", {}, "[main]\na=1"},
  };
  for (const auto& c : cases) {
    IniDocument document(c.before);
    document.Set("main", c.values);
    EXPECT_EQ(document.bytes(), c.after) << c.name;
  }
  IniDocument document("[main]\r\nk=1\r\n");
  EXPECT_THROW(document.Set("main", Values{{"k", "2"}, {"j", "a\nb"}}), err::AppError);
  EXPECT_EQ(document.bytes(), "[main]\r\nk=1\r\n") << "a refused value changes nothing, not even the others";
}

TEST(IniWrite, RemovingKeysTakesTheirLinesFromTheSectionThatIsRead) {
  const auto removeA = [](const std::string& key) { return key == "a" || key == "A"; };
  const struct {
    const char* name;
    std::string before, after;
  } cases[] = {
      {"every line of the key, comments and blank lines kept", "[main]\r\na=1\r\n; a=c\r\n\r\nb=2\r\nA=3\r\n",
       "[main]\r\n; a=c\r\n\r\nb=2\r\n"},
      {"only the first section of the name, not keys before any section",
       "a=0\r\n[MAIN]\r\na=1\r\n[x]\r\na=2\r\n[main]\r\na=3\r\n", "a=0\r\n[MAIN]\r\n[x]\r\na=2\r\n[main]\r\na=3\r\n"},
      {"a last line without its end", "[main]\nb=1\na", "[main]\nb=1\n"},
      {"no such key or section", "[other]\r\na=1\r\n", "[other]\r\na=1\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument document(c.before);
    document.RemoveKeys("main", removeA);
    EXPECT_EQ(document.bytes(), c.after) << c.name;
    EXPECT_EQ(document.Get("main", "a", 1024), "") << c.name;
  }
  // In a Unicode file the names come in ANSI, and the file stays Unicode.
  IniDocument unicode(Utf16(u"[main]\r\n\u30EC=1\r\nb=2\r\n", false));
  unicode.RemoveKeys("main", [](const std::string& key) { return key == std::string(kLayoutAnsi, 2); });
  EXPECT_EQ(unicode.bytes(), Utf16(u"[main]\r\nb=2\r\n", false));
}

TEST_F(IniFileTest, WritingCreatesTheFileAndReadsBack) {
  EXPECT_NE(WriteIniString("main", "link1", "\"Adobe Illustrator(R) 8.0\"", file_), 0);
  EXPECT_NE(WriteIniString("main", "CreatorVersion1", "\"\"", file_), 0);
  EXPECT_EQ(Bytes(), "[main]\r\nlink1=\"Adobe Illustrator(R) 8.0\"\r\nCreatorVersion1=\"\"\r\n");
  EXPECT_EQ(IniDocument::Load(file_).Get("main", "LINK1", 1024), "Adobe Illustrator(R) 8.0");
  EXPECT_EQ(IniDocument::Load(file_).Get("main", "creatorversion1", 1024), "");
}

TEST_F(IniFileTest, AnEmptyValueKeepsTheKey) {
  Put("[main]\r\nname1=Draw\r\n");
  EXPECT_NE(WriteIniString("main", "name1", "", file_), 0);
  EXPECT_EQ(Bytes(), "[main]\r\nname1=\r\n");
  EXPECT_EQ(IniDocument::Load(file_).Get("main", "name1", 1024), "");
}

TEST_F(IniFileTest, ARefusedOrFailedWriteLeavesTheFileAsItWas) {
  Put("[main]\r\nk=1\r\n");
  EXPECT_THROW(WriteIniString("main", "k", "a\r\nb", file_), err::AppError);
  EXPECT_EQ(Bytes(), "[main]\r\nk=1\r\n");
  EXPECT_EQ(WriteIniString("main", "k", "v", folder_ / "missing" / "x.ini"), 0);
  EXPECT_EQ(WriteIniString("main", "k", "v", ""), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
      << "no temporary file stays behind";
}

TEST_F(IniFileTest, SeveralValuesReachTheFileTogetherOrNotAtAll) {
  Put("[main]\r\nname1=a\r\n");
  EXPECT_NE(WriteIniStrings("main", {{"name1", "b"}, {"path1", "c"}}, file_), 0);
  EXPECT_EQ(Bytes(), "[main]\r\nname1=b\r\npath1=c\r\n");
  EXPECT_THROW(WriteIniStrings("main", {{"name2", "x"}, {"path2", "bad\n"}}, file_), err::AppError);
  EXPECT_EQ(Bytes(), "[main]\r\nname1=b\r\npath1=c\r\n");
}

TEST_F(IniFileTest, ReplacingKeepsThePermissionsOfTheFile) {
  Put("[main]\r\nk=1\r\n");
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_NE(WriteIniString("main", "k", "2", file_), 0);
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, AReplacementThatFailsLeavesNoTemporaryFile) {
  // A folder in the file's place: the new content is written beside it, and cannot take its place.
  fs::create_directories(file_ / "inside");
  EXPECT_FALSE(fileio::ReplaceContent(file_, "[main]\r\nk=1\r\n"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  EXPECT_TRUE(fs::is_directory(file_ / "inside"));
}

TEST(CutAtNull, CutsBeforeTheFirstNul) {
  EXPECT_EQ(CutAtNull(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(CutAtNull("abc"), "abc");
  EXPECT_EQ(CutAtNull(std::string("\0", 1)), "");
}

}  // namespace
