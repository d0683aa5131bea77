#include "link_table.h"
#include "name_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

class TablesTest : public TempFolderTest {
 protected:
  void Put(const std::string& bytes) { TempFolderTest::Put("link.ini", bytes); }
  const fs::path file_ = Path("link.ini");
};

std::string LinkEntry(int number, const std::string& link, const std::string& path, const std::string& version) {
  const auto n = std::to_string(number);
  return "link" + n + "=" + link + "\r\npath" + n + "=" + path + "\r\nCreatorVersion" + n + "=" + version + "\r\n";
}

TEST_F(TablesTest, LinkTableEndsAtTheFirstGap) {
  Put("[main]\r\nQuelby=1\r\n" + LinkEntry(1, "\"A\"", "\"C:\\a.exe\"", "\"1\"") +
      LinkEntry(2, "\" B \"", "\"C:\\b.exe\"", "") + LinkEntry(3, "\"C\"", "\"C:\\c.exe\"", "\"3\"") +
      LinkEntry(5, "\"E\"", "\"C:\\e.exe\"", "\"5\""));
  LinkTable table;
  EXPECT_EQ(ReadLinkIni(file_, table), 3);
  EXPECT_EQ(table.mstrLinks, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(table.mstrLinkPaths[2], "C:\\c.exe");
  EXPECT_EQ(table.mstrCreatorVersions, (std::vector<std::string>{"1", "", "3"}));
}

TEST_F(TablesTest, AMissingPathEndsTheTableButABlankQuotedValueDoesNot) {
  Put("[main]\r\nlink1=\"   \"\r\npath1=\"C:\\a.exe\"\r\nlink2=\"B\"\r\nlink3=\"C\"\r\npath3=x\r\n");
  LinkTable table;
  EXPECT_EQ(ReadLinkIni(file_, table), 1);
  EXPECT_EQ(table.mstrLinks[0], "");
}

TEST_F(TablesTest, OnlyTheMarkerOrNoFileGivesAnEmptyTable) {
  Put("[main]\r\nQuelby=1\r\n");
  LinkTable table;
  EXPECT_EQ(ReadLinkIni(file_, table), 0);
  AppList list;
  EXPECT_EQ(ReadNameIni(file_.string() + ".missing", list), 0);
}

TEST_F(TablesTest, ReadsUpTo999LinksAnd99Names) {
  std::string links = "[main]\r\n";
  std::string names = "[main]\r\n";
  for (int i = 1; i <= 1000; ++i) {
    links += LinkEntry(i, "\"L" + std::to_string(i) + "\"", "\"P\"", "\"\"");
    names += "name" + std::to_string(i) + "=N\r\npath" + std::to_string(i) + "=P\r\n";
  }
  Put(links);
  LinkTable table;
  EXPECT_EQ(ReadLinkIni(file_, table), 999);
  EXPECT_EQ(table.mstrLinks.back(), "L999");
  Put(names);
  AppList list;
  EXPECT_EQ(ReadNameIni(file_, list), 99);
}

TEST_F(TablesTest, NameListTrimsAndStopsAtAnEmptyName) {
  Put("[main]\r\nname1=  Draw 8  \r\npath1= C:\\d.exe \r\nname2=Layout\r\npath2=C:\\l.exe\r\n"
      "name3=\r\npath3=C:\\x.exe\r\nname4=Late\r\npath4=C:\\late.exe\r\n");
  AppList list;
  EXPECT_EQ(ReadNameIni(file_, list), 2);
  EXPECT_EQ(list.mstrAppNames, (std::vector<std::string>{"Draw 8", "Layout"}));
  EXPECT_EQ(list.mstrAppPaths[0], "C:\\d.exe");
}

TEST(LinkMatching, CaseIsIgnoredNothingElse) {
  LinkTable table;
  table.mstrLinks = {"Adobe Illustrator(R) 8.0", "ADOBE ILLUSTRATOR(R) 8.0", "Adobe  Illustrator(R) 8.0"};
  table.mstrLinkPaths = {"first", "second", "third"};
  table.mstrCreatorVersions = {"8.0.1", "8.0.1", "8.0.1"};
  EXPECT_EQ(FindLink(table, "ADOBE Illustrator(r) 8.0", "8.0.1"), 1);
  // Stored where the look-up decides, so that the stored choice takes effect.
  EXPECT_EQ(LinkNumberToStore(table, "ADOBE Illustrator(r) 8.0", "8.0.1"), 1);
  EXPECT_EQ(LinkNumberToStore(table, "Adobe  Illustrator(R) 8.0", "8.0.1"), 3);
  EXPECT_EQ(FindLink(table, "Adobe Illustrator(R) 8.0", "8.0"), 0);
  EXPECT_EQ(LinkNumberToStore(table, "Adobe Illustrator(R) 8.0", ""), 4);
  EXPECT_EQ(FindLink(table, "Adobe  Illustrator(R) 8.0", "8.0.1"), 3);
  EXPECT_EQ(FindLink(table, "Adobe Illustrator(R) 8.0 ", "8.0.1"), 0);
}

TEST(LinkMatching, StoredValuesAreQuoted) {
  const LinkValues values = QuotedLinkValues(" Draw ", "C:\\Program Files\\d.exe", "");
  EXPECT_EQ(values.link, "\" Draw \"");
  EXPECT_EQ(values.path, "\"C:\\Program Files\\d.exe\"");
  EXPECT_EQ(values.creatorVersion, "\"\"");
}

}  // namespace
