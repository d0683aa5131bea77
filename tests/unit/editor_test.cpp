#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini.h"
#include "name_list.h"
#include "name_list_editor.h"

namespace {

using editor::EntryProblem;
using editor::IniWrite;
using Texts = std::vector<std::wstring>;

// What a save leaves in name.ini, for tests whose texts are plain ASCII.
std::string Saved(const std::string& before, const Texts& names, const Texts& paths, std::int32_t loaded) {
  IniDocument ini(before);
  for (const IniWrite& write : editor::NameListWrites(names, paths, loaded)) {
    ini.Set("main", write.key, std::string(write.value.begin(), write.value.end()));
  }
  return ini.bytes();
}

TEST(EditorList, AnEntryAddedAfterAGapLetsTheOldPairBehindItBackIn) {
  const std::string before = "[main]\r\nname1=A\r\nname2=B\r\nname3=C\r\npath1=a\r\npath3=c\r\n";
  ASSERT_EQ(ReadNameEntries(IniDocument(before)).size(), 1u);
  const std::string after = Saved(before, {L"A", L"New"}, {L"a", L"n"}, 1);
  EXPECT_EQ(after, "[main]\r\nname1=A\r\nname2=New\r\nname3=C\r\npath1=a\r\npath3=c\r\npath2=n\r\n");
  EXPECT_EQ(ReadNameEntries(IniDocument(after)).size(), 3u);
}

TEST(EditorList, DeletingMovesTheLaterEntriesForwardAndASaveBlanksUpToTheLoadedCount) {
  Texts names{L"A", L"B", L"C", L"D"};
  Texts paths{L"a", L"b", L"c", L"d"};
  editor::RemoveEntry(names, paths, 2);
  editor::RemoveEntry(names, paths, 3);
  EXPECT_EQ(names, (Texts{L"A", L"C"}));
  EXPECT_EQ(paths, (Texts{L"a", L"c"}));
  EXPECT_EQ(editor::NameListWrites(names, paths, 4), (std::vector<IniWrite>{{"name1", L"A"},
                                                                            {"path1", L"a"},
                                                                            {"name2", L"C"},
                                                                            {"path2", L"c"},
                                                                            {"name3", L""},
                                                                            {"path3", L""},
                                                                            {"name4", L""},
                                                                            {"path4", L""}}));
  // Numbers above the loaded count are not the editor's: they stay as they are.
  EXPECT_EQ(Saved("[main]\r\nname1=A\r\npath1=a\r\nname2=B\r\npath2=b\r\nname5=E\r\npath5=e\r\n", {}, {}, 2),
            "[main]\r\nname1=\r\npath1=\r\nname2=\r\npath2=\r\nname5=E\r\npath5=e\r\n");
}

TEST(EditorList, AHundredthEntryIsWrittenButNotReadBack) {
  const Texts names(100, L"N"), paths(100, L"P");
  const auto writes = editor::NameListWrites(names, paths, 99);
  ASSERT_EQ(writes.size(), 200u);
  EXPECT_EQ(writes.back(), (IniWrite{"path100", L"P"}));
  EXPECT_EQ(ReadNameEntries(IniDocument(Saved("", names, paths, 0))).size(), 99u);
}

class EditorEntryCheck : public ::testing::Test {
 protected:
  EntryProblem Check(const std::wstring& name, const std::wstring& path) {
    const auto check = editor::CheckEntry(
        name, path,
        [this](const std::wstring& p) {
          asked_.push_back(L"file:" + p);
          return p == L"C:\\d.exe" || p == L"C:\\\xD55C.exe";
        },
        [this](const std::wstring& t) {
          asked_.push_back(L"ansi:" + t);
          return t.find(L'\xD55C') == std::wstring::npos;
        });
    accepted_ = check.name + L"|" + check.path;
    return check.problem;
  }
  Texts asked_;
  std::wstring accepted_;
};

TEST_F(EditorEntryCheck, TrimsBlanksOnlyAndAsksInOrder) {
  EXPECT_EQ(Check(L"  Draw\x3000 ", L" C:\\d.exe  "), EntryProblem::kNone);
  EXPECT_EQ(accepted_, L"Draw\x3000|C:\\d.exe");
  EXPECT_EQ(asked_, (Texts{L"file:C:\\d.exe", L"ansi:C:\\d.exe", L"ansi:Draw\x3000"}));
}

TEST_F(EditorEntryCheck, OnlyTheFirstProblemCounts) {
  EXPECT_EQ(Check(L"\xD55C", L"C:\\none.exe"), EntryProblem::kFileMissing);
  EXPECT_EQ(asked_, (Texts{L"file:C:\\none.exe"}));
  EXPECT_EQ(Check(L"   ", L"C:\\\xD55C.exe"), EntryProblem::kNameMissing);
  EXPECT_EQ(Check(L"\xD55C", L"C:\\\xD55C.exe"), EntryProblem::kPathNotAnsi);
  EXPECT_EQ(Check(L"\xD55C", L"C:\\d.exe"), EntryProblem::kNameNotAnsi);
}

}  // namespace
