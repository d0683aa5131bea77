#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini.h"
#include "name_list.h"
#include "name_list_editor.h"
#include "temp_folder.h"

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

// Real files: the check asks the file system and the code page itself. A path beyond ASCII does
// not convert to this platform's file names, so a path outside the code page is refused in the Wine
// test of the entry dialog.
class EditorEntryCheck : public TempFolderTest {
 protected:
  void SetUp() override { Put("d.exe", "MZ"); }
};

TEST_F(EditorEntryCheck, TrimsBlanksOnlyAndOnlyTheFirstProblemCounts) {
  struct Case {
    std::wstring name, path;
    EntryProblem problem;
  };
  const std::wstring program = Path("d.exe").wstring();
  const Case cases[] = {
      {L"  Draw\x3000 ", L" " + program + L"  ", EntryProblem::kNone},
      {L"\xD55C", Path("none.exe").wstring(), EntryProblem::kFileMissing},
      {L"Draw", folder_.wstring(), EntryProblem::kFileMissing},
      {L"   ", program, EntryProblem::kNameMissing},
      {L"\xD55C", program, EntryProblem::kNameNotAnsi},  // U+D55C: code page 932 lacks it
      {L"Draw\xE9", program, EntryProblem::kNameNotAnsi},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(editor::CheckEntry(c.name, c.path).problem, c.problem)
        << testing::PrintToString(c.name) << " " << testing::PrintToString(c.path);
  }
  const editor::EntryCheck accepted = editor::CheckEntry(L"  Draw\x3000 ", L" " + program + L"  ");
  EXPECT_EQ(accepted.name + L"|" + accepted.path, L"Draw\x3000|" + program);
}

}  // namespace
