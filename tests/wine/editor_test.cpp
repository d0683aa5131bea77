// The list editor under Wine: its two windows, what it writes on closing, the open-file dialog,
// and the launcher working from the list it saved.
#include <gtest/gtest.h>

#include <memory>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/win/launcher_win.h"
#include "program_test.h"
#include "version.h"

namespace {

using namespace drive;
using namespace editor_ids;
using Rows = std::vector<std::wstring>;

constexpr const wchar_t* kMainCaption = editor_texts::kListCaption;
constexpr const wchar_t* kEntryCaption = editor_texts::kEntryCaption;
const std::wstring kGap = L"        ";
const std::string kLinked = "[main]\r\nQuelby=1\r\nlink1=\"Example Draw 1.0\"\r\npath1=\"C:\\x.exe\"\r\n";

// Presses a button as a click does, without waiting for the windows that it opens.
void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Presses a button and waits for its handler; false when the handler opened a window instead.
bool PressAndReturn(HWND dialog, int id) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 3000, &ignored) != 0;
}

void AltKey(HWND window, UINT letter) {
  HWND target = Focus(window) ? Focus(window) : window;
  PostMessageW(target, WM_SYSKEYDOWN, letter, 0x20000001);
}

std::wstring Field(HWND dialog, int id) {
  std::wstring text(1024, L'\0');
  text.resize(static_cast<std::size_t>(
      SendDlgItemMessageW(dialog, id, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void SetField(HWND dialog, int id, const std::wstring& text) {
  SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The client area is the size given in twips at the screen's DPI.
void ExpectTwips(HWND window, int width, int height) {
  const winhandle::WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, MulDiv(width, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(height, dpi, 1440));
}

// The list editor in a folder of its own, as on its first run: no name.ini, no link.ini.
class EditorTest : public ProgramTest {
 protected:
  void SetUp() override {
    fs::remove(box_.Path(L"name.ini"));
    fs::remove(box_.Path(L"link.ini"));
  }
  std::wstring Row(const std::wstring& name, const fs::path& path) const { return name + kGap + path.wstring(); }

  // name.ini with the entries A (draw), B (layout) and C (draw).
  std::string PutThreeNames() {
    const std::string names = "[main]\r\nname1=A\r\npath1=" + Ansi(draw_) + "\r\nname2=B\r\npath2=" + Ansi(layout_) +
                              "\r\nname3=C\r\npath3=" + Ansi(draw_) + "\r\n";
    box_.Put(L"name.ini", names);
    return names;
  }

  void Start() {
    process_ = std::make_unique<Process>(quelby_, Quoted(quelby_));
    main_ = WaitForCaption(process_->id(), kMainCaption);
    ASSERT_TRUE(main_);
    // A list without programs offers finding them once, by itself: declined here, as the tests of
    // this window start from what the user types.
    if (MainRows().empty()) {
      const HWND finding = WaitForCaption(process_->id(), editor_texts::kFindCaption);
      ASSERT_TRUE(finding);
      ClickId(finding, IDCANCEL);
      ASSERT_TRUE(Closed(finding));
    }
  }

  HWND OpenEntry(int button) {
    Press(main_, button);
    return WaitForCaption(process_->id(), kEntryCaption);
  }

  void Accept(HWND entry, const std::wstring& name, const std::wstring& path) {
    ASSERT_TRUE(entry);
    SetField(entry, kEditName, name);
    SetField(entry, kEditPath, path);
    Press(entry, kEditOk);
    ASSERT_TRUE(Closed(entry));
  }

  Rows MainRows() const { return ListBoxRows(main_, kQuelbyList); }
  LRESULT Selected() const { return SendDlgItemMessageW(main_, kQuelbyList, LB_GETCURSEL, 0, 0); }
  void Select(WPARAM row) const { SendDlgItemMessageW(main_, kQuelbyList, LB_SETCURSEL, row, 0); }

  // Presses 終了 and answers the question with the button given.
  void AnswerClosing(int answer) {
    Press(main_, kQuelbyEnd);
    const auto box = WaitForMessageBox(process_->id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, editor_texts::kSaveQuestion);
    EXPECT_EQ(box->title, kMainCaption);
    EXPECT_TRUE(box->icon);
    EXPECT_EQ(box->buttons.size(), 3u);
    Click(GetDlgItem(box->window, answer));
  }

  // The error report for a file that the system refuses to write, closed with OK.
  void ExpectAccessDeniedReport() {
    const auto report = WaitForMessageBox(process_->id());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->title, L"prjQuelby");
    EXPECT_NE(report->text.find(L" (エラー番号:-2147024891)"), std::wstring::npos) << ToUtf8(report->text);
    Click(GetDlgItem(report->window, IDOK));
  }

  // The message that OK gives; the entry dialog stays open with its texts.
  std::wstring Refusal(HWND entry) {
    const std::wstring name = Field(entry, kEditName), path = Field(entry, kEditPath);
    Press(entry, kEditOk);
    const auto box = WaitForMessageBox(process_->id());
    if (!box) return L"(none)";
    EXPECT_EQ(box->title, kEntryCaption);
    EXPECT_TRUE(box->icon);
    EXPECT_EQ(box->buttons.size(), 1u);
    Click(GetDlgItem(box->window, IDOK));
    EXPECT_TRUE(IsWindowVisible(entry));
    EXPECT_EQ(Field(entry, kEditName) + L"|" + Field(entry, kEditPath), name + L"|" + path);
    return box->text;
  }

  std::unique_ptr<Process> process_;
  HWND main_ = nullptr;
};

using EditorWindow = EditorTest;
using EditorEntry = EditorTest;

TEST_F(EditorWindow, ShowsTheListUpToTheFirstGapTrimmedAndClosesSilentlyWhenUnchanged) {
  const std::string names = "[main]\r\nname1=  Draw 8  \r\npath1=\"  " + Ansi(draw_) +
                            "  \"\r\nname2=\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67\r\npath2=" + Ansi(layout_) +
                            "\r\nname3=Gone\r\nname4=Late\r\npath4=" + Ansi(draw_) + "\r\n";
  box_.Put(L"name.ini", names);
  box_.Put(L"link.ini", kLinked);
  Start();
  EXPECT_EQ(MainRows(), (Rows{Row(L"Draw 8", draw_), Row(L"レイアウト", layout_)}));
  EXPECT_EQ(Selected(), LB_ERR);
  // The list window of old and the status line between its list and its buttons.
  ExpectTwips(main_, 14085, 10530);
  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_SYSMENU);
  EXPECT_EQ(Focus(main_), GetDlgItem(main_, kQuelbyDelete));
  Rows tabOrder;
  for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) tabOrder.push_back(Text(child));
  }
  EXPECT_EQ(tabOrder, (Rows{editor_texts::kListDelete, editor_texts::kListEdit, editor_texts::kListEnd, L"",
                            editor_texts::kListAdd, editor_texts::kListLinks, editor_texts::kListFind,
                            editor_texts::kListDefaultApps}));
  // Neither button finds a row to work on: nothing opens and nothing counts as a change.
  EXPECT_TRUE(PressAndReturn(main_, kQuelbyEdit));
  EXPECT_TRUE(PressAndReturn(main_, kQuelbyDelete));
  EXPECT_EQ(MainRows().size(), 2u);
  Press(main_, kQuelbyEnd);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"), names);
  EXPECT_EQ(box_.Read(L"link.ini"), kLinked);
}

TEST_F(EditorWindow, EditingKeepsTheEntrysPlaceAndSavingForgetsTheAssociations) {
  PutThreeNames();
  box_.Put(L"link.ini", kLinked);
  Start();
  Select(1);
  HWND entry = OpenEntry(kQuelbyEdit);
  ASSERT_TRUE(entry);
  EXPECT_EQ(Field(entry, kEditName) + L"|" + Field(entry, kEditPath), L"B|" + layout_.wstring());
  Accept(entry, L" B 2 ", layout_.wstring());
  EXPECT_EQ(MainRows(), (Rows{Row(L"A", draw_), Row(L"B 2", layout_), Row(L"C", draw_)}));
  EXPECT_EQ(Selected(), 1);
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"), "[main]\r\nname1=A\r\npath1=" + Ansi(draw_) + "\r\nname2=B 2\r\npath2=" +
                                        Ansi(layout_) + "\r\nname3=C\r\npath3=" + Ansi(draw_) + "\r\n");
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(EditorWindow, DeletingTheSelectedRowAndSavingBlanksTheStaleNumbers) {
  PutThreeNames();
  Start();
  Select(0);
  ASSERT_TRUE(PressAndReturn(main_, kQuelbyDelete));
  Select(1);
  ASSERT_TRUE(PressAndReturn(main_, kQuelbyDelete));
  EXPECT_EQ(MainRows(), Rows{Row(L"B", layout_)});
  EXPECT_EQ(Selected(), LB_ERR);
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"),
            "[main]\r\nname1=B\r\npath1=" + Ansi(layout_) + "\r\nname2=\r\npath2=\r\nname3=\r\npath3=\r\n");
}

TEST_F(EditorWindow, CancelKeepsTheChangesAndNoLeavesBothFilesAsTheyWere) {
  const std::string names = PutThreeNames();
  box_.Put(L"link.ini", kLinked);
  Start();
  Select(0);
  ASSERT_TRUE(PressAndReturn(main_, kQuelbyDelete));
  AnswerClosing(IDCANCEL);
  EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(main_); }));
  EXPECT_EQ(MainRows().size(), 2u);
  AnswerClosing(IDNO);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"), names);
  EXPECT_EQ(box_.Read(L"link.ini"), kLinked);
}

TEST_F(EditorWindow, ALinkIniThatCannotBeReplacedIsReportedAndKept) {
  const fs::path link = box_.Put(L"link.ini", kLinked);
  SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_READONLY);
  Start();
  Accept(OpenEntry(kQuelbyAdd), L"Draw", draw_.wstring());
  AnswerClosing(IDYES);
  ExpectAccessDeniedReport();
  ASSERT_TRUE(process_->Ended());
  SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(box_.Read(L"link.ini"), kLinked);
  EXPECT_EQ(box_.Read(L"name.ini"), "[main]\r\nname1=Draw\r\npath1=" + Ansi(draw_) + "\r\n");
}

TEST_F(EditorWindow, ANameIniThatCannotBeWrittenIsReportedAndTheChangesStayOnScreen) {
  const std::string names = PutThreeNames();
  const fs::path file = box_.Path(L"name.ini");
  box_.Put(L"link.ini", kLinked);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  Start();
  Select(0);
  ASSERT_TRUE(PressAndReturn(main_, kQuelbyDelete));
  AnswerClosing(IDYES);
  ExpectAccessDeniedReport();
  EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(main_); }));
  EXPECT_EQ(MainRows().size(), 2u);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(box_.Read(L"name.ini"), names);
  EXPECT_EQ(box_.Read(L"link.ini"), kLinked) << "the associations stay while the list is not saved";
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(EditorWindow, AHiddenLinkIniIsNotReplacedButGetsTheMarker) {
  const std::string old = "[main]\r\nlink1=\"Example Draw 1.0\"\r\npath1=\"C:\\x.exe\"\r\n";
  const fs::path link = box_.Put(L"link.ini", old);
  SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_HIDDEN);
  if (!(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "no hidden files here";
  Start();
  Accept(OpenEntry(kQuelbyAdd), L"Draw", draw_.wstring());
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), old + "Quelby=1\r\n");
  EXPECT_TRUE(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(EditorWindow, AccessKeysOpenTheEntryDialogWhereEnterDoesNothingAndEscCancels) {
  PutThreeNames();
  Start();
  AltKey(main_, 'A');
  HWND entry = WaitForCaption(process_->id(), kEntryCaption);
  ASSERT_TRUE(entry);
  SetField(entry, kEditName, L"New");
  SetField(entry, kEditPath, layout_.wstring());
  PressKey(entry, VK_RETURN);
  PressKey(entry, VK_ESCAPE);
  ASSERT_TRUE(Closed(entry));
  Select(2);
  AltKey(main_, 'E');
  entry = WaitForCaption(process_->id(), kEntryCaption);
  ASSERT_TRUE(entry);
  EXPECT_EQ(Field(entry, kEditName), L"C");
  AltKey(entry, 'C');
  ASSERT_TRUE(Closed(entry));
  EXPECT_EQ(MainRows().size(), 3u);
  Press(main_, kQuelbyEnd);
  EXPECT_TRUE(process_->Ended()) << "a cancelled dialog counted as a change";
}

TEST_F(EditorEntry, ChecksThePathFirstThenTheNameThenTheCodePage) {
  const fs::path korean = box_.Install(L"recorder.exe", L"Apps\\\xD55C.exe");
  Start();
  HWND entry = OpenEntry(kQuelbyAdd);
  ASSERT_TRUE(entry);
  EXPECT_EQ(GetWindow(entry, GW_OWNER), main_);
  EXPECT_FALSE(IsWindowEnabled(main_));
  ExpectTwips(entry, 13680, 3465);
  EXPECT_EQ(Focus(entry), GetDlgItem(entry, kEditName));
  EXPECT_EQ(SendDlgItemMessageW(entry, kEditName, EM_GETLIMITTEXT, 0, 0), 60);
  EXPECT_EQ(SendDlgItemMessageW(entry, kEditPath, EM_GETLIMITTEXT, 0, 0), 254);
  EXPECT_EQ(Text(GetDlgItem(entry, IDCANCEL)), editor_texts::kEntryCancel);
  EXPECT_EQ(Refusal(entry), editor_texts::kFileMissing);
  SetField(entry, kEditPath, box_.folder().wstring());
  EXPECT_EQ(Refusal(entry), editor_texts::kFileMissing);
  SetField(entry, kEditPath, box_.Path(L"Apps\\*.exe").wstring());
  EXPECT_EQ(Refusal(entry), editor_texts::kFileMissing);
  SetField(entry, kEditPath, draw_.wstring());
  SetField(entry, kEditName, L"   ");
  EXPECT_EQ(Refusal(entry), editor_texts::kNameMissing);
  SetField(entry, kEditName, L"\xD55C");
  EXPECT_EQ(Refusal(entry), editor_texts::kNameNotAnsi);
  SetField(entry, kEditPath, korean.wstring());
  EXPECT_EQ(Refusal(entry), editor_texts::kPathNotAnsi);
  Accept(entry, L"  描画\x3000 ", L" " + draw_.wstring() + L" ");
  EXPECT_EQ(MainRows(), Rows{Row(L"描画\x3000", draw_)});
  EXPECT_EQ(Selected(), 0);
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"), "[main]\r\nname1=\x95\x60\x89\xE6\x81\x40\r\npath1=" + Ansi(draw_) + "\r\n");
}

TEST_F(EditorEntry, BrowsingStartsInProgramFilesCancelKeepsThePathAndAChoiceReplacesIt) {
  Start();
  HWND entry = OpenEntry(kQuelbyAdd);
  ASSERT_TRUE(entry);
  SetField(entry, kEditName, L"Name");
  SetField(entry, kEditPath, L"  typed  ");
  // Types into the open-file dialog and closes it; gives the path field as it was meanwhile.
  const auto browse = [&](const std::wstring& typed, int button) {
    Press(entry, kEditFile);
    HWND dialog = WaitForCaption(process_->id(), editor_texts::kOpenFileTitle);
    if (!dialog) return std::wstring(L"(no dialog)");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), entry);
    const std::wstring before = Field(entry, kEditPath);
    HWND name = GetDlgItem(dialog, 0x47C);        // cmb13, the file name box
    if (!name) name = GetDlgItem(dialog, 0x480);  // edt1, its older form
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    Click(GetDlgItem(dialog, button));
    EXPECT_TRUE(Closed(dialog));
    return before;
  };
  EXPECT_EQ(browse(draw_.wstring(), IDCANCEL), L"  typed  ");
  EXPECT_EQ(browse(L"Internet Explorer\\iexplore.exe", IDOK), L"  typed  ");
  EXPECT_EQ(browse(draw_.wstring(), IDOK), L"C:\\Program Files\\Internet Explorer\\iexplore.exe");
  EXPECT_TRUE(Eventually([&] { return Field(entry, kEditPath) == draw_.wstring(); }));
  EXPECT_EQ(Field(entry, kEditName), L"Name");
}

// A user's first day: no INI files, two applications added in the editor, an unregistered file
// chosen once for good, and the next file of that kind opening directly.
TEST_F(EditorTest, StoryFromAFreshFolderToAFileThatOpensDirectly) {
  const fs::path& launcher = launcher_;
  const std::string eps = "%!PS-Adobe-3.0\r\n%%Creator: Example Draw 1.0\r\n";
  const fs::path first = box_.Put(L"work\\first.eps", eps);
  const fs::path second = box_.Put(L"work\\second.eps", eps);
  Start();
  EXPECT_TRUE(MainRows().empty());
  Accept(OpenEntry(kQuelbyAdd), L"  Example Draw ", draw_.wstring());
  Accept(OpenEntry(kQuelbyAdd), L"Layout", layout_.wstring());
  EXPECT_EQ(MainRows(), (Rows{Row(L"Example Draw", draw_), Row(L"Layout", layout_)}));
  EXPECT_EQ(Selected(), 1);
  AnswerClosing(IDYES);
  ASSERT_TRUE(process_->Ended());
  EXPECT_EQ(box_.Read(L"name.ini"), "[main]\r\nname1=Example Draw\r\npath1=" + Ansi(draw_) +
                                        "\r\nname2=Layout\r\npath2=" + Ansi(layout_) + "\r\n");
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");

  {
    Process run(launcher, Quoted(launcher) + L" " + Quoted(first));
    HWND select = WaitForCaption(
        run.id(), L"Varnock " + std::to_wstring(VARNOCK_VERSION_MAJOR) + L"." + std::to_wstring(VARNOCK_VERSION_MINOR));
    ASSERT_TRUE(select);
    EXPECT_EQ(ListBoxRows(select, launcher_ids::kSelectNames), (Rows{L"Example Draw", L"Layout"}));
    SendDlgItemMessageW(select, launcher_ids::kSelectNames, LB_SETCURSEL, 0, 0);
    ClickId(select, launcher_ids::kSelectAlways);
    ClickId(select, IDOK);
    ASSERT_TRUE(run.Ended());
  }
  EXPECT_EQ(Started(draw_), Rows{Quoted(draw_) + L" " + Quoted(first)});

  Process again(launcher, Quoted(launcher) + L" " + Quoted(second));
  ASSERT_TRUE(again.Ended()) << "the launcher asked again";
  EXPECT_EQ(Started(draw_, 2), (Rows{Quoted(draw_) + L" " + Quoted(first), Quoted(draw_) + L" " + Quoted(second)}));
}

}  // namespace
