#include "link_rules.h"
#include "name_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "error.h"
#include "temp_folder.h"
#include "utf16_bytes.h"

namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string link, version, path = "C:\\p.exe";
};

LinkTable Table(const std::vector<Entry>& entries) {
  LinkTable table;
  for (const Entry& e : entries) {
    table.mstrLinks.push_back(e.link);
    table.mstrLinkPaths.push_back(e.path);
    table.mstrCreatorVersions.push_back(e.version);
  }
  return table;
}

struct LookUpCase {
  const char* name;
  std::vector<Entry> entries;
  std::string creatorText, creatorVersion;
  std::int32_t expected;
};

const std::string kAi = "Adobe Illustrator(R) 16.0";
const std::string kKana = "\x83\x43\x83\x89\x83\x58\x83\x67";  // イラスト

const LookUpCase kLookUps[] = {
    {"an exact entry before an earlier '*' entry", {{kAi, "16.0*"}, {kAi, "16.0.3"}}, kAi, "16.0.3", 2},
    {"a '*' version for every dot release", {{kAi, "16.0*"}, {kAi, "16.0.3"}}, kAi, "16.0.4", 1},
    {"'*' alone for every version, the empty one too", {{kAi, "*"}}, kAi, "", 1},
    {"a '*' creator text for every creator, the empty one too", {{"*", "*"}}, "", "", 1},
    {"no entry without '*' in the second step", {{kAi, "16.0.3"}}, kAi, "16.0.4", 0},
    {"a '*' prefix longer than the text", {{kAi, "16.0*"}}, kAi, "16", 0},
    {"a prefix that is not the text's", {{kAi, "16.0*"}}, kAi, "16.1", 0},
    {"a value without '*' matches only its own text", {{kAi, "16.0*"}}, kAi + "1", "16.0.0", 0},
    {"the longest creator text decides before the version",
     {{"Adobe*", "16.0.3"}, {"Adobe Illustrator*", "*"}},
     kAi,
     "16.0.3",
     2},
    {"a creator text without '*' counts as its whole length",
     {{"Adobe Illustrator*", "16.0.3"}, {kAi, "1*"}},
     kAi,
     "16.0.3",
     2},
    {"then the longest version", {{"Adobe*", "1*"}, {"Adobe*", "16.0*"}, {"Adobe*", "16*"}}, kAi, "16.0.3", 2},
    {"then the lowest number", {{"Adobe*", "16*"}, {"ADOBE*", "16*"}, {"adobe*", "16*"}}, kAi, "16.0.3", 1},
    {"letter case ignored", {{"adobe illustrator*", "16.0*"}}, "ADOBE ILLUSTRATOR(R) 16.0", "16.0.4", 1},
    {"full-width letters folded as well",
     {{"\x82\x81\x82\x82*", "*"}},
     "\x82\x60\x82\x61\x82\x62",  // ａｂ* against ＡＢＣ
     "",
     1},
    {"a '*' in the middle is a character of its own", {{"Adobe*Illustrator", "*"}}, "Adobe Illustrator", "1", 0},
    {"which matches itself", {{"Adobe*Illustrator", "*"}}, "adobe*illustrator", "1", 1},
    {"only the last '*' stands for the rest", {{"**", "*"}}, "*x", "", 1},
    {"so '**' wants a text that begins with '*'", {{"**", "*"}}, "x", "", 0},
    {"an empty version without '*' wants an empty version", {{"Adobe*", ""}}, kAi, "1", 0},
    {"and matches one", {{"Adobe*", ""}}, kAi, "", 1},
    {"Japanese creator texts", {{kKana + "*", "*"}}, kKana + "\x83\x8C\x81\x5B\x83\x5E\x81\x5B", "8", 1},
};

TEST(LinkPatterns, TheExactEntryFirstThenTheLongestPrefixesThenTheLowestNumber) {
  for (const LookUpCase& c : kLookUps) {
    EXPECT_EQ(FindLinkWithPatterns(Table(c.entries), c.creatorText, c.creatorVersion), c.expected) << c.name;
  }
}

TEST(LinkPatterns, AFullTableWithTheMatchAtItsEnd) {
  std::vector<Entry> entries;
  for (int i = 1; i <= 899; ++i) entries.push_back({"Draw " + std::to_string(i), std::to_string(i) + ".0"});
  for (int i = 900; i <= 999; ++i) entries.push_back({"Draw " + std::to_string(i) + "*", "*"});
  EXPECT_EQ(FindLinkWithPatterns(Table(entries), "Draw 999 Pro", "1"), 999);
  EXPECT_EQ(FindLinkWithPatterns(Table(entries), "Draw 12", "12.0"), 12);
  EXPECT_EQ(FindLinkWithPatterns(Table(entries), "Draw 1", "2"), 0);
}

TEST(LinkRows, TheProgramIsNamedByTheFirstApplicationWithItsPathInAnyCase) {
  AppList apps;
  apps.mstrAppNames = {"Layout", "Draw", "Draw again"};
  apps.mstrAppPaths = {"C:\\Apps\\Layout.exe", "C:\\Apps\\Draw.exe", "c:\\apps\\draw.exe"};
  EXPECT_EQ(ProgramLabel(apps, "C:\\APPS\\DRAW.EXE"), "Draw");
  EXPECT_EQ(ProgramLabel(apps, "C:\\Apps\\Draw.ex"), "C:\\Apps\\Draw.ex");
  EXPECT_EQ(AppIndexOf(apps, "c:\\apps\\layout.exe"), 0);
  EXPECT_EQ(AppIndexOf(AppList{}, "C:\\x.exe"), -1);
}

class LinkFileTest : public TempFolderTest {
 protected:
  const fs::path file_ = Path("link.ini");
};

std::string Entries(const std::vector<Entry>& entries, int first = 1) {
  std::string bytes;
  for (const Entry& e : entries) {
    const std::string n = std::to_string(first++);
    bytes += "link" + n + "=\"" + e.link + "\"\r\npath" + n + "=\"" + e.path + "\"\r\nCreatorVersion" + n + "=\"" +
             e.version + "\"\r\n";
  }
  return bytes;
}

const Entry kA{"A", "1", "C:\\a.exe"}, kB{"B", "2", "C:\\b.exe"}, kC{"C", "3", "C:\\c.exe"};
const Entry kStored{"New", "9", "C:\\n.exe"};

struct SaveCase {
  const char* name;
  std::string before;                // link.ini when the window opens
  std::vector<Entry> rows;           // the window's rows at OK
  std::vector<std::size_t> origins;  // the entry shown that each row comes from
  std::string meanwhile;             // link.ini at OK, when another writer has been at it meanwhile
  std::string after;
};

const std::string kFresh = "[main]\r\nQuelby=1\r\n";
const Entry kC2{"C*", "*", "C:\\c2.exe"};
const Entry kAOther{"A", "1", "C:\\other.exe"};

const SaveCase kSaves[] = {
    {"forgotten and changed rows, numbered without gaps",
     kFresh + Entries({kA, kB, kC}),
     {kA, kC2},
     {0, 2},
     "",
     kFresh + Entries({kA, kC2})},
    {"the marker, comments, unknown keys and other sections kept",
     "; mine\r\n[main]\r\nQuelby=1\r\n" + Entries({kA, kB}) + "Note=x\r\nlink01=\"old\"\r\n[other]\r\nlink3=y\r\n",
     {kB},
     {1},
     "",
     "; mine\r\n[main]\r\nQuelby=1\r\n" + Entries({kB}) + "Note=x\r\nlink01=\"old\"\r\n[other]\r\nlink3=y\r\n"},
    {"every key above the end dropped, in any case and each line of it",
     kFresh + Entries({kA, kB}) + Entries({kC}, 4) + "LINK7=\"x\"\r\npath2=\"second\"\r\npath1000=\"z\"\r\n",
     {kA},
     {0},
     "",
     kFresh + Entries({kA})},
    {"entries a launcher stored meanwhile kept after the rows",
     kFresh + Entries({kA, kB}),
     {kB},
     {1},
     kFresh + Entries({kA, kB, kStored}),
     kFresh + Entries({kB, kStored})},
    {"a forgotten entry stays forgotten, whatever a launcher overwrote",
     kFresh + Entries({kA, kB}),
     {kB},
     {1},
     kFresh + Entries({{"a", "1", "C:\\other.exe"}, kB, kStored}),
     kFresh + Entries({kB, kStored})},
    {"an unchanged row takes a launcher's store or a hand edit over its pair, in its place",
     kFresh + Entries({kA, kB, kC}),
     {kA, kC},
     {0, 2},
     kFresh + Entries({kAOther, kB, kC}),
     kFresh + Entries({kAOther, kC})},
    {"a changed row is written as changed, whatever the file holds for it now",
     kFresh + Entries({kA, kB}),
     {kA, kC2},
     {0, 1},
     kFresh + Entries({kA, {"B", "2", "C:\\other.exe"}}),
     kFresh + Entries({kA, kC2})},
    {"the k-th entry shown of a pair is the k-th entry of that pair now",
     kFresh + Entries({kA, kB, {"a", "1", "C:\\second.exe"}}),
     {kA, {"a", "1", "C:\\second.exe"}},
     {0, 2},
     kFresh + Entries({kA, kB, kAOther}),
     kFresh + Entries({kA, kAOther})},
    {"an entry of a shown pair beyond those shown follows the rows",
     kFresh + Entries({kA, kB}),
     {kA},
     {0},
     kFresh + Entries({kA, kB, kAOther}),
     kFresh + Entries({kA, kAOther})},
    {"an unchanged row whose entry has left the file goes, a changed one stays",
     kFresh + Entries({kA, kB, kC}),
     {kA, kC2},
     {0, 2},
     kFresh + "Note=emptied\r\n",
     kFresh + "Note=emptied\r\n" + Entries({kC2})},
    {"all rows forgotten", kFresh + Entries({kA}), {}, {}, "", kFresh},
};

TEST_F(LinkFileTest, OkMergesTheRowsWithWhatOthersWroteMeanwhile) {
  for (const SaveCase& c : kSaves) {
    SCOPED_TRACE(c.name);
    Put("link.ini", c.before);
    LinkTable shown;
    ReadLinkIni(file_, shown);
    if (!c.meanwhile.empty()) Put("link.ini", c.meanwhile);
    EXPECT_EQ(SaveLinks(file_, shown, Table(c.rows), c.origins), std::nullopt);
    EXPECT_EQ(Bytes("link.ini"), c.after);
  }
}

std::vector<std::size_t> Origins(std::size_t first, std::size_t end) {
  std::vector<std::size_t> origins;
  for (std::size_t i = first; i < end; ++i) origins.push_back(i);
  return origins;
}

TEST_F(LinkFileTest, NothingChangedWritesNothing) {
  const std::string loose = "[main]\r\nQuelby=1\r\nlink1= \" A \" \r\npath1=C:\\a.exe\r\n";
  Put("link.ini", loose);
  LinkTable shown;
  ReadLinkIni(file_, shown);
  ReadOnly("link.ini");
  EXPECT_EQ(SaveLinks(file_, shown, shown, Origins(0, 1)), std::nullopt);
  EXPECT_EQ(SaveLinks(Path("missing.ini"), LinkTable{}, LinkTable{}, {}), std::nullopt);
  EXPECT_FALSE(fs::exists(Path("missing.ini")));
  EXPECT_EQ(Bytes("link.ini"), loose);
}

TEST_F(LinkFileTest, AFailedWriteLeavesTheFileAndGivesTheErrorNumber) {
  const std::string before = kFresh + Entries({kA, kB});
  Put("link.ini", before);
  LinkTable shown;
  ReadLinkIni(file_, shown);
  ReadOnly("link.ini");
  EXPECT_EQ(SaveLinks(file_, shown, Table({kB}), {1}), err::FromSystemError(EACCES));
  EXPECT_EQ(Bytes("link.ini"), before);
}

TEST_F(LinkFileTest, AUnicodeFileStaysUnicode) {
  Put("link.ini", Utf16Bytes(std::u16string_view(
                                 u"[main]\r\nQuelby=1\r\nlink1=\"\u30A4\u30E9\u30B9\u30C8\"\r\npath1=\"C:\\a.exe\"\r\n"
                                 u"link2=\"B\"\r\npath2=\"C:\\b.exe\"\r\n"),
                             false));
  LinkTable shown;
  ReadLinkIni(file_, shown);
  ASSERT_EQ(shown.mstrLinks[0], kKana);
  LinkTable rows = shown;
  ForgetLink(rows, 2);
  ChangeLink(rows, 1, kKana + "*", "C:\\a.exe", "*");
  EXPECT_EQ(SaveLinks(file_, shown, rows, {0}), std::nullopt);
  EXPECT_EQ(Bytes("link.ini"),
            Utf16Bytes(std::u16string_view(u"[main]\r\nQuelby=1\r\nlink1=\"\u30A4\u30E9\u30B9\u30C8*\"\r\n"
                                           u"path1=\"C:\\a.exe\"\r\nCreatorVersion1=\"*\"\r\n"),
                       false));
}

TEST_F(LinkFileTest, AFullTableIsWrittenBackAtOnce) {
  std::vector<Entry> entries;
  for (int i = 1; i <= 999; ++i) entries.push_back({"Draw " + std::to_string(i), std::to_string(i)});
  Put("link.ini", kFresh + Entries(entries));
  LinkTable shown;
  ReadLinkIni(file_, shown);
  LinkTable rows = shown;
  ForgetLink(rows, 1);
  EXPECT_EQ(SaveLinks(file_, shown, rows, Origins(1, 999)), std::nullopt);
  entries.erase(entries.begin());
  EXPECT_EQ(Bytes("link.ini"), kFresh + Entries(entries));
}

}  // namespace
