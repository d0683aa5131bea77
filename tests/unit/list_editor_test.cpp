#include "list_editor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

#include "error.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using editor::ListEditor;
using Texts = std::vector<std::wstring>;

std::wstring Wide(const std::string& ansi) { return std::wstring(ansi.begin(), ansi.end()); }
std::wstring Row(const std::wstring& name, const std::wstring& path) { return name + L"        " + path; }

// The report of a file that may not be written, as the platform's error gives it.
const std::wstring kDeniedReport = L"error " + err::NumberText(err::FromSystemError(EACCES));
const std::string kLinked = "[main]\r\nQuelby=1\r\nlink1=\"Example Draw 1.0\"\r\npath1=\"C:\\x.exe\"\r\n";
const std::string kFresh = "[main]\r\nQuelby=1\r\n";

// Stands in for the window: keeps the rows, answers the entry dialog and the question from
// queues, and records what the window was asked to do.
class FakeWindow : public editor::EditorHost {
 public:
  explicit FakeWindow(fs::path folder) : folder_(std::move(folder)) {}

  Texts rows;
  Texts rowPaths;  // the program path given with each row
  int selected = -1;
  std::deque<std::pair<std::wstring, std::wstring>> entries;  // accepted with OK, in turn
  int answer = editor::kAnswerYes;
  bool insertFails = false;
  Texts log;

  fs::path ProgramFolder() override { return folder_; }
  void ClearRows() override {
    rows.clear();
    rowPaths.clear();
  }
  void InsertRow(int row, const std::wstring& text, const std::wstring& path) override {
    if (insertFails) throw err::AppError(err::kOutOfMemory);
    rows.insert(rows.begin() + row, text);
    rowPaths.insert(rowPaths.begin() + row, path);
  }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    rowPaths.erase(rowPaths.begin() + row);
  }
  void SelectRow(int row) override { selected = row; }
  int SelectedRow() override { return selected; }
  bool ShowEdit(std::wstring& name, std::wstring& path) override {
    log.push_back(L"edit " + name + L"|" + path);
    if (entries.empty()) return false;
    std::tie(name, path) = entries.front();
    entries.pop_front();
    return true;
  }
  int Ask(const std::wstring& text, const std::wstring& title, int style) override {
    log.push_back(L"ask " + std::to_wstring(style) + L" " + title + L": " + text);
    return answer;
  }
  void ShowError(std::int32_t number) override { log.push_back(L"error " + err::NumberText(number)); }

 private:
  fs::path folder_;
};

class ListEditorTest : public TempFolderTest {
 protected:
  void SetUp() override {
    Put("name.ini", kThree);
    Put("link.ini", kLinked);
  }

  // Closes the window; true when it closes.
  bool Close() {
    bool cancel = false;
    editor_.Form_Unload(cancel);
    return !cancel;
  }

  static constexpr char kThree[] = "[main]\r\nname1=A\r\npath1=a\r\nname2=B\r\npath2=b\r\nname3=C\r\npath3=c\r\n";
  const std::wstring kQuestion =
      L"ask 35 " + std::wstring(editor_texts::kListCaption) + L": " + editor_texts::kSaveQuestion;
  FakeWindow window_{folder_};
  ListEditor editor_{window_};
};

TEST_F(ListEditorTest, LoadsTheListUpToTheFirstGapTrimmedAndClosesSilentlyWhenUnchanged) {
  Put("name.ini",
      "[main]\r\nname1=  Draw 8  \r\npath1=\"  d.exe  \"\r\nname2=B\r\npath2=b\r\nname3=Gone\r\n"
      "name4=Late\r\npath4=l\r\n");
  window_.rows = {L"left over"};
  editor_.Form_Load();
  EXPECT_EQ(window_.rows, (Texts{Row(L"Draw 8", L"d.exe"), Row(L"B", L"b")}));
  EXPECT_EQ(editor_.names(), (Texts{L"Draw 8", L"B"}));
  EXPECT_EQ(window_.selected, -1);
  // Neither edit nor delete finds a row to work on.
  editor_.cmdEdit_Click();
  editor_.cmdDelete_Click();
  EXPECT_FALSE(editor_.changed());
  EXPECT_TRUE(Close());
  EXPECT_TRUE(window_.log.empty());
  EXPECT_EQ(Bytes("link.ini"), kLinked);
}

TEST_F(ListEditorTest, AddEditAndDeleteChangeTheRowsAndTheirSelection) {
  editor_.Form_Load();
  window_.entries = {{L"D", L"d"}, {L"B 2", L"b2"}};
  editor_.cmdAdd_Click();
  EXPECT_EQ(window_.rows.back(), Row(L"D", L"d"));
  EXPECT_EQ(window_.selected, 3);
  window_.selected = 1;
  editor_.cmdEdit_Click();
  EXPECT_EQ(window_.log, (Texts{L"edit |", L"edit B|b"}));
  EXPECT_EQ(window_.rows, (Texts{Row(L"A", L"a"), Row(L"B 2", L"b2"), Row(L"C", L"c"), Row(L"D", L"d")}));
  EXPECT_EQ(window_.rowPaths, (Texts{L"a", L"b2", L"c", L"d"}));
  EXPECT_EQ(window_.selected, 1);
  window_.selected = 0;
  editor_.cmdDelete_Click();
  EXPECT_EQ(window_.rows, (Texts{Row(L"B 2", L"b2"), Row(L"C", L"c"), Row(L"D", L"d")}));
  EXPECT_EQ(editor_.paths(), (Texts{L"b2", L"c", L"d"}));
  EXPECT_EQ(window_.selected, -1);
  EXPECT_TRUE(editor_.changed());
}

TEST_F(ListEditorTest, ACancelledEntryDialogIsNoChange) {
  editor_.Form_Load();
  editor_.cmdAdd_Click();
  window_.selected = 2;
  editor_.cmdEdit_Click();
  EXPECT_EQ(window_.rows.size(), 3u);
  EXPECT_TRUE(Close()) << "nothing changed, nothing asked";
  EXPECT_EQ(window_.log, (Texts{L"edit |", L"edit C|c"}));
}

TEST_F(ListEditorTest, TheThreeAnswersOnClosing) {
  editor_.Form_Load();
  window_.selected = 0;
  editor_.cmdDelete_Click();
  window_.answer = editor::kAnswerCancel;
  EXPECT_FALSE(Close());
  EXPECT_TRUE(editor_.changed());
  EXPECT_EQ(window_.rows.size(), 2u);
  window_.answer = editor::kAnswerNo;
  EXPECT_TRUE(Close());
  EXPECT_EQ(window_.log, (Texts{kQuestion, kQuestion}));
  EXPECT_EQ(Bytes("name.ini"), kThree);
  EXPECT_EQ(Bytes("link.ini"), kLinked);

  window_.answer = editor::kAnswerYes;
  EXPECT_TRUE(Close());
  EXPECT_EQ(Bytes("name.ini"), "[main]\r\nname1=B\r\npath1=b\r\nname2=C\r\npath2=c\r\nname3=\r\npath3=\r\n");
  EXPECT_EQ(Bytes("link.ini"), kFresh);
}

TEST_F(ListEditorTest, ANameIniThatCannotBeWrittenKeepsTheWindowOpenAndLinkIniAsItWas) {
  ReadOnly("name.ini");
  editor_.Form_Load();
  window_.selected = 0;
  editor_.cmdDelete_Click();
  EXPECT_FALSE(Close());
  EXPECT_EQ(window_.log, (Texts{kQuestion, kDeniedReport}));
  EXPECT_TRUE(editor_.changed());
  EXPECT_EQ(window_.rows.size(), 2u);
  EXPECT_EQ(Bytes("name.ini"), kThree);
  EXPECT_EQ(Bytes("link.ini"), kLinked);
  ::chmod((folder_ / "name.ini").c_str(), 0644);
  EXPECT_TRUE(Close());
  EXPECT_EQ(Bytes("link.ini"), kFresh);
}

TEST_F(ListEditorTest, ALinkIniThatCannotBeReplacedIsReportedAndTheWindowCloses) {
  ReadOnly("link.ini");
  editor_.Form_Load();
  window_.entries = {{L"D", L"d"}};
  editor_.cmdAdd_Click();
  EXPECT_TRUE(Close());
  EXPECT_EQ(window_.log.back(), kDeniedReport);
  EXPECT_EQ(Bytes("link.ini"), kLinked);
  EXPECT_EQ(Bytes("name.ini"), std::string(kThree) + "name4=D\r\npath4=d\r\n");
}

TEST_F(ListEditorTest, AMissingLinkIniIsCreatedAndOneThatIsNoOrdinaryFileIsNotReplaced) {
  fs::remove(folder_ / "link.ini");
  editor_.Form_Load();
  window_.entries = {{L"D", L"d"}, {L"E", L"e"}};
  editor_.cmdAdd_Click();
  EXPECT_TRUE(Close());
  EXPECT_EQ(Bytes("link.ini"), kFresh);

  // Here a folder; on Windows a hidden or system file too, which keeps its content and gets the
  // marker (the Wine test of the list window).
  fs::remove(folder_ / "link.ini");
  Put("link.ini/inside", "kept");
  editor_.cmdAdd_Click();
  EXPECT_TRUE(Close());
  EXPECT_EQ(Bytes("link.ini/inside"), "kept");
  for (const std::wstring& line : window_.log) EXPECT_NE(line.rfind(L"error", 0), 0u) << "a failure reported";
}

TEST_F(ListEditorTest, AListThatFailsToLoadLeavesNoRowsAndASaveBlanksNothingUnseen) {
  window_.insertFails = true;
  editor_.Form_Load();
  EXPECT_EQ(window_.log, Texts{L"error 7"});
  EXPECT_TRUE(window_.rows.empty());
  EXPECT_TRUE(editor_.names().empty());
  window_.insertFails = false;
  window_.entries = {{L"D", L"d"}};
  editor_.cmdAdd_Click();
  EXPECT_TRUE(Close());
  EXPECT_EQ(Bytes("name.ini"), "[main]\r\nname1=D\r\npath1=d\r\nname2=B\r\npath2=b\r\nname3=C\r\npath3=c\r\n");
}

}  // namespace

namespace {

TEST_F(ListEditorTest, FoundProgramsAreAppendedOrReplaceTheirRowUnlessTheEntryDialogWouldRefuseThem) {
  editor_.Form_Load();
  const std::wstring draw = Put("draw.exe", "MZ").wstring();
  const std::wstring paint = Put("paint.exe", "MZ").wstring();
  const std::wstring missing = Path("gone.exe").wstring();
  using editor::FoundState;
  const std::vector<editor::FoundRow> rows = {
      {draw, L"Draw", L"1.0.0", FoundState::kNew, -1, true},
      {paint, L"Paint", L"", FoundState::kNew, -1, false},     // not ticked
      {paint, L"B", L"", FoundState::kReplaces, 1, true},      // the list row keeps its name
      {L"a", L"A", L"", FoundState::kInList, 0, true},          // already there
      {missing, L"Gone", L"", FoundState::kNew, -1, true},     // refused: no such file
      {paint, L"  ", L"", FoundState::kNew, -1, true},         // refused: no name
      {paint, L"Paint ✓", L"", FoundState::kNew, -1, true},    // refused: not ANSI
      {paint, L"C2", L"", FoundState::kReplaces, 9, true},     // no such row
  };
  editor_.AddFound(rows);
  EXPECT_EQ(window_.rows, (Texts{Row(L"A", L"a"), Row(L"B", paint), Row(L"C", L"c"), Row(L"Draw", draw)}));
  EXPECT_EQ(editor_.paths(), (Texts{L"a", paint, L"c", draw}));
  const std::wstring refused = L"ask 48 " + std::wstring(editor_texts::kEntryCaption) + L": ";
  EXPECT_EQ(window_.log, (Texts{refused + editor_texts::kFileMissing + L"\r\n\r\n" + missing,
                                refused + editor_texts::kNameMissing + L"\r\n\r\n" + paint,
                                refused + editor_texts::kNameNotAnsi + L"\r\n\r\n" + paint}));
  EXPECT_TRUE(editor_.changed());
  window_.answer = editor::kAnswerCancel;
  EXPECT_FALSE(Close());
}

TEST_F(ListEditorTest, NothingTickedIsNoChange) {
  editor_.Form_Load();
  editor_.AddFound({{Put("draw.exe", "MZ"), L"Draw", L"", editor::FoundState::kNew, -1, false}});
  EXPECT_FALSE(editor_.changed());
  EXPECT_EQ(window_.rows.size(), 3u);
}

}  // namespace
