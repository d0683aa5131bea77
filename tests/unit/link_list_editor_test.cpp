#include "link_list_editor.h"

#include "codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <optional>

#include "codepage.h"
#include "error.h"
#include "stand_in_system.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using editor::LinkEditProblem;
using editor::LinkRowTexts;
using Texts = std::vector<std::wstring>;

std::wstring Wide(const std::string& ansi) { return std::wstring(ansi.begin(), ansi.end()); }

}  // namespace

namespace editor {
void PrintTo(const LinkRowTexts& row, std::ostream* out) {
  for (const std::wstring* text : {&row.creatorText, &row.creatorVersion, &row.program, &row.state}) {
    *out << "|" << std::string(text->begin(), text->end());
  }
}
}  // namespace editor

namespace {

// Stands in for the window: keeps the rows and the buttons' state, answers the change dialog and
// the open-file dialog from queues, keeps the programs it was asked to look for until the test
// answers, and records what the window was asked to show.
class FakeLinksWindow : public editor::LinksHost {
 public:
  explicit FakeLinksWindow(fs::path folder) : folder_(std::move(folder)) {}

  struct Edit {
    std::wstring creatorText, creatorVersion;
    std::int32_t program;
  };
  std::vector<LinkRowTexts> rows;
  int selected = -1;
  bool rowButtons = true;
  std::deque<Edit> edits;  // typed and OK pressed, in turn, until the dialog takes one; none left: キャンセル
  Texts offered;           // the programs of the last change dialog
  std::int32_t offeredSelection = -1;
  std::deque<std::wstring> files;
  Texts log;
  struct Check {
    unsigned ticket;
    std::wstring path;
  };
  std::vector<Check> checks;  // asked for, in turn

  fs::path ProgramFolder() override { return folder_; }
  void InsertRow(int row, const LinkRowTexts& texts) override { rows.insert(rows.begin() + row, texts); }
  void SetRow(int row, const LinkRowTexts& texts) override { rows.at(static_cast<std::size_t>(row)) = texts; }
  void RemoveRow(int row) override { rows.erase(rows.begin() + row); }
  void SelectRow(int row) override { selected = row; }
  int SelectedRow() override { return selected; }
  void EnableRowButtons(bool enabled) override { rowButtons = enabled; }
  bool ShowLinkEdit(std::wstring& creatorText, std::wstring& creatorVersion, const Texts& programs,
                    std::int32_t& program, const LinkTable& pairs, std::int32_t row) override {
    log.push_back(L"edit " + creatorText + L"|" + creatorVersion);
    offered = programs;
    offeredSelection = program;
    for (; !edits.empty(); edits.pop_front()) {
      const editor::LinkEditCheck checked =
          editor::CheckLinkEdit(edits.front().creatorText, edits.front().creatorVersion, pairs, row);
      if (checked.problem != LinkEditProblem::kNone) {
        log.push_back(L"refused " + checked.message);
        continue;
      }
      creatorText = checked.creatorText;
      creatorVersion = checked.creatorVersion;
      program = edits.front().program;
      edits.pop_front();
      return true;
    }
    return false;
  }
  void CheckProgram(unsigned ticket, const std::wstring& path) override { checks.push_back({ticket, path}); }
  std::wstring ChooseFile() override {
    if (files.empty()) return L"";
    const std::wstring file = files.front();
    files.pop_front();
    return file;
  }
  void Message(const std::wstring& text, int style) override {
    log.push_back(L"message " + std::to_wstring(style) + L" " + text);
  }
  void ShowError(std::int32_t number) override { log.push_back(L"error " + err::NumberText(number)); }

 private:
  fs::path folder_;
};

class LinkListEditorTest : public TempFolderTest {
 protected:
  void SetUp() override {
    draw_ = Put("apps/draw.exe", "MZ").string();
    layout_ = Put("apps/layout.exe", "MZ").string();
    // Draw's path in other letters than link.ini's: the same program.
    Put("name.ini", "[main]\r\nname1=Draw\r\npath1=" + Upper(draw_) + "\r\nname2=Layout\r\npath2=" + layout_ + "\r\n");
    Put("link.ini", "[main]\r\nQuelby=1\r\n" + Entry(1, "Adobe Illustrator(R) 16.0", draw_, "16.0*") +
                        Entry(2, "Adobe Illustrator(R) 16.0", draw_ + ".gone", "16.0.3") +
                        Entry(3, "Layout 2", layout_, ""));
  }
  static std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  }
  static std::string Entry(int number, const std::string& link, const std::string& path, const std::string& version) {
    const std::string n = std::to_string(number);
    return "link" + n + "=\"" + link + "\"\r\npath" + n + "=\"" + path + "\"\r\nCreatorVersion" + n + "=\"" + version +
           "\"\r\n";
  }
  std::string Eps(const std::string& name, const std::string& version) {
    return Put(name,
               "%!PS-Adobe-3.0\r\n%%Creator: Adobe Illustrator(R) 16.0\r\n%%AI8_CreatorVersion: " + version + "\r\n")
        .string();
  }
  std::wstring Test(const std::string& file) {
    window_.files.push_back(Wide(file));
    editor_.cmdTest_Click();
    return window_.log.empty() ? L"" : window_.log.back();
  }

  std::string draw_;
  std::string layout_;
  FakeLinksWindow window_{folder_};
  editor::LinkListEditor editor_{window_};
};

TEST_F(LinkListEditorTest, RowsNameTheApplicationOrThePathAndTellAMissingProgramWhenItsTestAnswers) {
  editor_.Form_Load();
  const std::vector<LinkRowTexts> before{
      {L"Adobe Illustrator(R) 16.0", L"16.0*", L"Draw", L""},
      {L"Adobe Illustrator(R) 16.0", L"16.0.3", Wide(draw_) + L".gone", L""},
      {L"Layout 2", L"", L"Layout", L""},
  };
  EXPECT_EQ(window_.rows, before) << "shown as there until the tests answer";
  EXPECT_EQ(window_.selected, 0);
  EXPECT_TRUE(window_.rowButtons);
  EXPECT_TRUE(window_.log.empty());
  ASSERT_EQ(window_.checks.size(), 3u);
  Texts paths;
  for (const auto& check : window_.checks) paths.push_back(check.path);
  EXPECT_EQ(paths, (Texts{Wide(draw_), Wide(draw_) + L".gone", Wide(layout_)}));

  // Answers come in any order; each changes its own row only.
  std::vector<LinkRowTexts> expected = before;
  const struct {
    std::size_t check;
    bool gone;
    std::size_t row;
  } answers[] = {{2, false, 2}, {1, true, 1}, {0, true, 0}, {0, false, 0}};
  for (const auto& a : answers) {
    editor_.ProgramChecked(window_.checks[a.check].ticket, a.gone);
    expected[a.row].state = a.gone ? editor_texts::kLinksProgramMissing : L"";
    EXPECT_EQ(window_.rows, expected) << "answer for row " << a.row;
  }
  editor_.ProgramChecked(12345, true);
  EXPECT_EQ(window_.rows, expected) << "a ticket that no row holds";
}

TEST_F(LinkListEditorTest, AnAnswerForARowForgottenOrGivenAnotherProgramMeanwhileIsLeftOut) {
  editor_.Form_Load();
  const auto firstChecks = window_.checks;
  window_.selected = 0;
  editor_.cmdForget_Click();
  editor_.ProgramChecked(firstChecks[0].ticket, true);
  EXPECT_EQ(window_.rows[0].state, L"") << "the forgotten row's answer lands on no other row";

  // Row 0 (.gone) to Layout: tested again, the old answer too late.
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0.3", 2}};
  editor_.cmdChange_Click();
  ASSERT_EQ(window_.checks.size(), 4u);
  EXPECT_EQ(window_.checks.back().path, Wide(layout_));
  editor_.ProgramChecked(firstChecks[1].ticket, true);
  EXPECT_EQ(window_.rows[0].state, L"");
  editor_.ProgramChecked(window_.checks.back().ticket, true);
  EXPECT_EQ(window_.rows[0].state, editor_texts::kLinksProgramMissing);

  // Keeping the program keeps what its test said, and asks nothing.
  window_.edits = {{L"Adobe Illustrator(R) 16*", L"*", 1}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.rows[0],
            (LinkRowTexts{L"Adobe Illustrator(R) 16*", L"*", L"Layout", editor_texts::kLinksProgramMissing}));
  EXPECT_EQ(window_.checks.size(), 4u);
  // Another program is shown as there until its own answer.
  window_.edits = {{L"Adobe Illustrator(R) 16*", L"*", 0}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.rows[0].state, L"");
  EXPECT_EQ(window_.checks.size(), 5u);
}

TEST_F(LinkListEditorTest, NoLinkIniGivesAnEmptyListWithoutRowButtonsAndWritesNothing) {
  fs::remove(Path("link.ini"));
  editor_.Form_Load();
  EXPECT_TRUE(window_.rows.empty());
  EXPECT_EQ(window_.selected, -1);
  EXPECT_FALSE(window_.rowButtons);
  editor_.cmdChange_Click();
  editor_.cmdForget_Click();
  EXPECT_TRUE(editor_.cmdOk_Click());
  EXPECT_FALSE(fs::exists(Path("link.ini")));
  EXPECT_TRUE(window_.log.empty());
}

TEST_F(LinkListEditorTest, ChangeOffersTheApplicationsWithTheRowsProgramSelected) {
  editor_.Form_Load();
  window_.selected = 0;
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.offered, (Texts{L"Draw", L"Layout"}));
  EXPECT_EQ(window_.offeredSelection, 0);
  EXPECT_EQ(window_.log.back(), L"edit Adobe Illustrator(R) 16.0|16.0*");
  window_.selected = 1;  // a program that no application has: its path comes first
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.offered, (Texts{Wide(draw_) + L".gone", L"Draw", L"Layout"}));
  EXPECT_EQ(window_.offeredSelection, 0);
  EXPECT_EQ(editor_.rows().mstrLinkPaths[1], draw_ + ".gone") << "cancelled: nothing changes";

  window_.edits = {{L"Adobe Illustrator(R) 17*", L"*", 2}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.rows[1], (LinkRowTexts{L"Adobe Illustrator(R) 17*", L"*", L"Layout", L""}));
  EXPECT_EQ(editor_.rows().mstrLinkPaths[1], layout_);
  EXPECT_EQ(window_.selected, 1);
  // Keeping the program keeps the row's own spelling of its path.
  window_.selected = 0;
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0*", 0}};
  editor_.lvwLinks_DblClick();
  EXPECT_EQ(editor_.rows().mstrLinkPaths[0], draw_);
}

TEST_F(LinkListEditorTest, ForgetSelectsTheRowThatTakesItsPlace) {
  editor_.Form_Load();
  window_.selected = 1;
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, 1);
  EXPECT_EQ(window_.rows.back().creatorText, L"Layout 2");
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, 0);
  EXPECT_TRUE(window_.rowButtons);
  editor_.cmdForget_Click();
  EXPECT_EQ(window_.selected, -1);
  EXPECT_FALSE(window_.rowButtons);
  EXPECT_TRUE(window_.rows.empty());
  EXPECT_EQ(editor_.rows().count(), 0);
}

TEST_F(LinkListEditorTest, TestingAFileTellsWhatTheLauncherWouldDoWithTheRowsAsTheyStand) {
  editor_.Form_Load();
  const std::wstring format = L"message 0 ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: ";
  const struct {
    const char* name;
    std::string file;
    std::wstring expected;
  } cases[] = {
      {"an exact hit", Eps("exact.eps", "16.0.3"),
       format + L"16.0.3\r\n\r\n起動するソフト: " + Wide(draw_) + L".gone (記憶した選択の 2 行目)"},
      {"a '*' hit", Eps("pattern.eps", "16.0.4"),
       format + L"16.0.4\r\n\r\n起動するソフト: Draw (記憶した選択の 1 行目)"},
      {"no hit", Eps("other.eps", "17.0"), format + L"17.0\r\n\r\n" + editor_texts::kTestNotRegistered},
      {"an unknown format", Put("plain.eps", "no header").string(),
       L"message 0 " + std::wstring(editor_texts::kTestUnknownFormat)},
      {"a header past the first scan, as the launcher finds it",
       Put("late.eps", std::string(150 * 1024, '\n') + "%!PS-Adobe-3.0\r\n%%Creator: Layout 2\r\n").string(),
       L"message 0 ファイルの形式: Layout 2\r\n作成ソフトバージョン: \r\n\r\n起動するソフト: Layout (記憶した選択の 3 "
       L"行目)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Test(c.file), c.expected) << c.name;
  window_.selected = 1;
  editor_.cmdForget_Click();
  EXPECT_EQ(Test(cases[0].file), format + L"16.0.3\r\n\r\n起動するソフト: Draw (記憶した選択の 1 行目)")
      << "the forgotten row no longer decides, though link.ini still holds it";
  const std::size_t before = window_.log.size();
  editor_.cmdTest_Click();
  EXPECT_EQ(window_.log.size(), before) << "a cancelled open-file dialog shows nothing";
}

TEST_F(LinkListEditorTest, TestingAFileOfAKindNotRememberedNamesTheVersionThatMadeIt) {
  // Two copies of Illustrator 2019, the first one gone though its version resource still reads.
  std::string names = "[main]\r\n";
  const auto add = [&](const std::string& n, const std::string& name, unsigned major, bool there) {
    const fs::path path = there ? Put(name + "/Illustrator.exe", "MZ") : Path(name + "/Illustrator.exe");
    versioninfo::stand_in::Put(path, {L"", L"Adobe Illustrator", true, major, 0, 0});
    names += "name" + n + "=" + name + "\r\npath" + n + "=" + path.string() + "\r\n";
  };
  add("1", "Old 2019", 23, false);
  add("2", "2019", 23, true);
  add("3", "CS6", 16, true);
  Put("name.ini", names);
  editor_.Form_Load();
  const std::wstring format = L"message 0 ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: ";
  const std::wstring asked = std::wstring(L"\r\n\r\n") + editor_texts::kTestNotRegistered;
  EXPECT_EQ(Test(Eps("23.eps", "23.0.1")), format + L"23.0.1" + asked + L"（作成したバージョン: 2019）");
  EXPECT_EQ(Test(Eps("16.eps", "")), format + asked + L"（作成したバージョン: CS6）") << "the creator text's number";
  versioninfo::stand_in::Clear();
}

TEST_F(LinkListEditorTest, OkWritesOnlyAChangeAndAFailureKeepsTheWindowOpen) {
  const std::string before = Bytes("link.ini");
  editor_.Form_Load();
  window_.selected = 0;
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0*", 0}};
  editor_.cmdChange_Click();
  ReadOnly("link.ini");
  EXPECT_TRUE(editor_.cmdOk_Click()) << "nothing changed";
  editor_.cmdForget_Click();
  EXPECT_FALSE(editor_.cmdOk_Click());
  EXPECT_EQ(window_.log.back(), L"error -2147024883") << "EACCES as a system error";
  EXPECT_EQ(Bytes("link.ini"), before);
  EXPECT_EQ(window_.rows.size(), 2u);
  fs::permissions(Path("link.ini"), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(editor_.cmdOk_Click());
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n" +
                                   Entry(1, "Adobe Illustrator(R) 16.0", draw_ + ".gone", "16.0.3") +
                                   Entry(2, "Layout 2", layout_, ""));
}

TEST(LinkEditCheck, EachProblemIsNamedCreatorTextFirst) {
  const std::wstring kanji511(511, L'\x6F22');
  const struct {
    std::wstring creatorText, creatorVersion;
    LinkEditProblem expected;
  } cases[] = {
      {L"  Draw*  ", L" 16.0* ", LinkEditProblem::kNone},
      {L"   ", L"1", LinkEditProblem::kCreatorEmpty},
      {L"Draw\r\n2", L"1\n", LinkEditProblem::kCreatorLineBreak},
      {L"Draw\n", L"1", LinkEditProblem::kCreatorLineBreak},
      {std::wstring(1024, L'x'), L"1", LinkEditProblem::kCreatorTooLong},
      {kanji511 + L"x", L"", LinkEditProblem::kNone},
      {kanji511 + L"xy", L"", LinkEditProblem::kCreatorTooLong},
      {L"Draw \xD55C", L"\xD55C", LinkEditProblem::kCreatorNotAnsi},
      {L"Draw", L"1\r", LinkEditProblem::kVersionLineBreak},
      {L"Draw", std::wstring(1023, L'9'), LinkEditProblem::kNone},
      {L"Draw", std::wstring(1024, L'9'), LinkEditProblem::kVersionTooLong},
      {L"Draw", L"\x00E9", LinkEditProblem::kVersionNotAnsi},
  };
  for (const auto& c : cases) {
    const editor::LinkEditCheck check = editor::CheckLinkEdit(c.creatorText, c.creatorVersion);
    EXPECT_EQ(check.problem, c.expected) << std::string(c.creatorText.begin(), c.creatorText.begin() + 4);
  }
  const editor::LinkEditCheck trimmed = editor::CheckLinkEdit(L"  Draw*  ", L" 16.0* ");
  EXPECT_EQ(trimmed.creatorText + L"|" + trimmed.creatorVersion, L"Draw*|16.0*");
  EXPECT_STREQ(editor::LinkEditMessage(LinkEditProblem::kVersionTooLong), editor_texts::kVersionTooLong);
}

TEST(LinkEditCheck, APairThatAnotherRowHasIsRefusedNamingThatRow) {
  // The window's rows, as the window holds them: in the ANSI code page.
  LinkTable rows;
  for (const auto& [text, version] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"Foo*", L"1"}, {L"Adobe", L"16"}, {L"\xFF41\xFF42", L""}, {L"Adobe", L"16"}}) {
    rows.mstrLinks.push_back(codepage::AnsiFromWide(text));
    rows.mstrLinkPaths.push_back("C:\\x.exe");
    rows.mstrCreatorVersions.push_back(codepage::AnsiFromWide(version));
  }
  const struct {
    std::wstring creatorText, creatorVersion;
    std::int32_t editedRow;
    LinkEditProblem expected;
    std::int32_t duplicateRow;
  } cases[] = {
      {L"Foo*", L"1", 0, LinkEditProblem::kNone, -1},          // the row's own pair
      {L"Foo*", L"1", 1, LinkEditProblem::kDuplicatePair, 0},  // a '*' is a character like any other
      {L"Foo", L"1", 1, LinkEditProblem::kNone, -1},           // so "Foo" is not "Foo*"
      {L"Foo*", L"1*", 1, LinkEditProblem::kNone, -1},
      {L" aDOBE ", L"16", 0, LinkEditProblem::kDuplicatePair, 1},  // letter case and blanks as stored
      {L"Adobe", L"16", 1, LinkEditProblem::kDuplicatePair, 3},    // another row of the same pair
      {L"Adobe", L"16.0", 0, LinkEditProblem::kNone, -1},
      {L"\xFF21\xFF22", L"", 0, LinkEditProblem::kDuplicatePair, 2},  // full-width letters folded too
      {L"\xFF21\xFF22", L"", 2, LinkEditProblem::kNone, -1},
      {L"Adobe", L"16\n", 0, LinkEditProblem::kVersionLineBreak, -1},  // the texts' own problems first
      {L"  ", L"1", 1, LinkEditProblem::kCreatorEmpty, -1},
  };
  for (const auto& c : cases) {
    const std::string name(c.creatorText.begin(), c.creatorText.end());
    const editor::LinkEditCheck check = editor::CheckLinkEdit(c.creatorText, c.creatorVersion, rows, c.editedRow);
    EXPECT_EQ(check.problem, c.expected) << name << " in row " << c.editedRow;
    EXPECT_EQ(check.duplicateRow, c.duplicateRow) << name << " in row " << c.editedRow;
  }
  EXPECT_EQ(editor::CheckLinkEdit(L"adobe", L"16", rows, 0).message,
            L"同じファイルの形式と作成ソフトバージョンの行がすでにあります。\r\nファイルの形式: Adobe\r\n"
            L"作成ソフトバージョン: 16");
  EXPECT_EQ(editor::CheckLinkEdit(L"", L"", rows, 0).message, editor_texts::kCreatorEmpty);
}

TEST_F(LinkListEditorTest, TheChangeDialogRefusesAPairOfAnotherRowAsTheRowsStandInTheWindow) {
  editor_.Form_Load();
  window_.selected = 2;
  // Row 1's pair (in other letters) is refused and the dialog stays open for the next try.
  window_.edits = {{L"adobe illustrator(r) 16.0", L"16.0.3", 0}, {L"Layout 3", L"", 1}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.log.at(1),
            L"refused 同じファイルの形式と作成ソフトバージョンの行がすでにあります。\r\n"
            L"ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: 16.0.3");
  EXPECT_EQ(window_.rows[2].creatorText, L"Layout 3");
  // Row 2's old pair is free now, though link.ini still holds it; its new one is taken.
  window_.selected = 0;
  window_.edits = {{L"Layout 3", L"", 0}, {L"Layout 2", L"", 0}};
  editor_.cmdChange_Click();
  EXPECT_EQ(window_.log.at(3).substr(0, 8), L"refused ");
  EXPECT_EQ(window_.rows[0].creatorText, L"Layout 2");
}

TEST_F(LinkListEditorTest, OkKeepsWhatOthersWroteOverARowTheWindowLeftAlone) {
  editor_.Form_Load();
  window_.selected = 0;
  editor_.cmdForget_Click();
  // Changed and changed back: the window leaves the row as it was.
  window_.edits = {{L"Adobe Illustrator(R) 17.0", L"17.0", 0}};
  editor_.cmdChange_Click();
  window_.edits = {{L"Adobe Illustrator(R) 16.0", L"16.0.3", 0}};
  editor_.cmdChange_Click();
  window_.selected = 1;
  window_.edits = {{L"Layout 2", L"2.0", 1}};
  editor_.cmdChange_Click();
  // Meanwhile a launcher stores row 0's pair anew and a hand edit gives Layout 2 another program.
  Put("link.ini", "[main]\r\nQuelby=1\r\n" + Entry(1, "Adobe Illustrator(R) 16.0", draw_, "16.0*") +
                      Entry(2, "Adobe Illustrator(R) 16.0", layout_, "16.0.3") + Entry(3, "Layout 2", draw_, "") +
                      Entry(4, "New", draw_, "1"));
  EXPECT_TRUE(editor_.cmdOk_Click());
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n" + Entry(1, "Adobe Illustrator(R) 16.0", layout_, "16.0.3") +
                                   Entry(2, "Layout 2", layout_, "2.0") + Entry(3, "New", draw_, "1"));
  EXPECT_EQ(window_.log.size(), 3u) << "no error";
}

}  // namespace
