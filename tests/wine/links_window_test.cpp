// The remembered choices under Wine: the window that the list editor opens for them, its change
// dialog, testing a file, what OK writes into link.ini (read back by the system), and the launcher
// finding an entry that ends in '*'.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/win/launcher_win.h"
#include "list_view.h"
#include "program_test.h"

namespace {

using namespace drive;
using namespace editor_ids;
using Texts = std::vector<std::wstring>;
using Entry = std::array<std::string, 3>;  // link, path, CreatorVersion

// The rows once they read as expected, or as they stand when the time is up: the state column
// fills in when the window's tests of the programs answer.
Texts SettledRows(HWND list, const Texts& expected) {
  const ULONGLONG end = GetTickCount64() + 15000;
  Texts rows = RowTexts(list);
  while (rows != expected && GetTickCount64() < end) {
    Sleep(20);
    rows = RowTexts(list);
  }
  return rows;
}

struct ColumnView {
  std::wstring text;
  int width;
  bool operator==(const ColumnView& other) const { return text == other.text && width == other.width; }
};

std::vector<ColumnView> Columns(HWND list) {
  std::vector<ColumnView> columns;
  const auto count = static_cast<int>(
      SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RemoteMemory memory(list, sizeof(LVCOLUMNW) + kTextChars * sizeof(wchar_t));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cchTextMax = kTextChars;
    column.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(LVCOLUMNW)));
    memory.Put(column);
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), memory.address());
    const std::wstring text = memory.Text(sizeof(LVCOLUMNW), kTextChars);
    columns.push_back({text.substr(0, text.find(L'\0')), memory.Get<LVCOLUMNW>().cx});
  }
  return columns;
}

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
  RemoteMemory memory(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  memory.Put(item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.address());
}

// A double click on the row, as the mouse gives it once its first click has selected the row.
void DoubleClickRow(HWND list, int row) {
  SelectRow(list, row);
  RemoteMemory memory(list, sizeof(RECT));
  memory.Put(RECT{LVIR_BOUNDS, 0, 0, 0});
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.address());
  const RECT bounds = memory.Get<RECT>();
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(bounds.left + 20, (bounds.top + bounds.bottom) / 2));
}

Texts ComboItems(HWND combo) {
  Texts items(static_cast<std::size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
  for (std::size_t i = 0; i < items.size(); ++i) {
    items[i].resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1);
    items[i].resize(
        static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(items[i].data()))));
  }
  return items;
}

void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Presses a button and waits for its handler to end.
void PressAndWait(HWND dialog, int id) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

void SetField(HWND dialog, int id, const std::wstring& text) {
  SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Twips(int twips) {
  const winhandle::WindowDc screen(nullptr);
  return MulDiv(twips, GetDeviceCaps(screen.get(), LOGPIXELSY), 1440);
}

// The window's client area, and a control's place in it, as given in twips at the screen's DPI.
void ExpectClientTwips(HWND window, int width, int height) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Twips(width));
  EXPECT_EQ(client.bottom, Twips(height));
}

void ExpectPlaceTwips(HWND control, int left, int top, int width, int height) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, Twips(left));
  EXPECT_EQ(place.top, Twips(top));
  EXPECT_EQ(place.right - place.left, Twips(width));
  EXPECT_EQ(place.bottom - place.top, Twips(height));
}

const std::string kAi16 = "Adobe Illustrator(R) 16.0";
const std::string kKanaAnsi = "\x83\x43\x83\x89\x83\x58\x83\x67\x83\x8C\x81\x5B\x83\x5E\x81\x5B 8.0";
const std::wstring kKana = L"イラストレーター 8.0";

std::string Eps(const std::string& creator, const std::string& version) {
  return "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: " + creator + "\r\n%%AI8_CreatorVersion: " + version + "\r\n";
}

class LinksTest : public ProgramTest {
 protected:
  // Three rows: Draw's program spelt in capitals, a program that has gone, and one that no
  // application of the list has.
  void SetUp() override {
    other_ = box_.Install(L"recorder.exe", L"Other\\other.exe");
    PutLinks(LinkEntry(1, kAi16, Upper(Ansi(draw_)), "16.0*") + LinkEntry(2, kKanaAnsi, Ansi(gone_), "") +
             LinkEntry(3, "Example Layout 2", Ansi(other_), "2.0"));
  }
  static std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
  }

  void StartEditor() {
    editor_ = std::make_unique<Process>(quelby_, Quoted(quelby_));
    main_ = WaitForCaption(editor_->id(), editor_texts::kListCaption);
    ASSERT_TRUE(main_);
  }
  void OpenLinks() {
    if (!editor_) {
      ASSERT_NO_FATAL_FAILURE(StartEditor());
    }
    Press(main_, kQuelbyLinks);
    links_ = WaitForCaption(editor_->id(), editor_texts::kLinksCaption);
    ASSERT_TRUE(links_);
    list_ = GetDlgItem(links_, kLinksList);
  }
  HWND OpenChange(int row) {
    DoubleClickRow(list_, row);
    return WaitForCaption(editor_->id(), editor_texts::kLinkEditCaption);
  }
  void CloseEditor() {
    Press(main_, kQuelbyEnd);
    EXPECT_TRUE(editor_->Ended());
  }

  // The message that the change dialog's OK gives; the dialog stays open.
  std::wstring Refusal(HWND change) {
    Press(change, IDOK);
    const auto box = WaitForMessageBox(editor_->id());
    if (!box) return L"(none)";
    EXPECT_EQ(box->title, editor_texts::kLinkEditCaption);
    EXPECT_TRUE(box->icon);
    EXPECT_EQ(box->buttons.size(), 1u);
    Click(GetDlgItem(box->window, IDOK));
    EXPECT_TRUE(IsWindowVisible(change));
    return box->text;
  }

  // The entries of link.ini as the system reads them, up to the first without a link.
  std::vector<Entry> SystemEntries() const {
    const std::string file = Ansi(box_.Path(L"link.ini"));
    const auto read = [&](const std::string& key) {
      char value[1024] = {};
      GetPrivateProfileStringA("main", key.c_str(), "", value, sizeof value, file.c_str());
      return std::string(value);
    };
    EXPECT_EQ(read("Quelby"), "1");
    std::vector<Entry> entries;
    for (int n = 1; !read("link" + std::to_string(n)).empty(); ++n) {
      const std::string number = std::to_string(n);
      entries.push_back({read("link" + number), read("path" + number), read("CreatorVersion" + number)});
    }
    return entries;
  }

  const fs::path gone_ = box_.Path(L"Gone\\draw.exe");
  fs::path other_;
  std::unique_ptr<Process> editor_;
  HWND main_ = nullptr;
  HWND links_ = nullptr;
  HWND list_ = nullptr;
};

using LinksWindow = LinksTest;
using LinksLauncher = LinksTest;

TEST_F(LinksWindow, ShowsTheRowsOverTheListWindowLaidOutInTwips) {
  ASSERT_NO_FATAL_FAILURE(StartEditor());
  HWND button = GetDlgItem(main_, kQuelbyLinks);
  EXPECT_EQ(Text(button), editor_texts::kListLinks);
  // In the row of buttons, below the status line; its place in the tab order is the list window's
  // test's (EditorWindow).
  ExpectPlaceTwips(button, 2160, 9555, 2055, 495);

  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  EXPECT_EQ(GetWindow(links_, GW_OWNER), main_);
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_EQ(GetWindowLongW(links_, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_SYSMENU);
  ExpectClientTwips(links_, 10800, 5760);
  ExpectPlaceTwips(list_, 240, 240, 10320, 4560);
  EXPECT_EQ(ClassOf(list_), L"SysListView32");
  const LONG style = GetWindowLongW(list_, GWL_STYLE);
  EXPECT_EQ(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS), LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  EXPECT_TRUE(SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(Columns(list_), (std::vector<ColumnView>{{editor_texts::kLinksCreatorColumn, Twips(3300)},
                                                     {editor_texts::kLinksVersionColumn, Twips(2040)},
                                                     {editor_texts::kLinksProgramColumn, Twips(3060)},
                                                     {editor_texts::kLinksStateColumn, Twips(1560)}}));
  const Texts rows{L"Adobe Illustrator(R) 16.0|16.0*|Draw|",
                   kKana + L"||" + gone_.wstring() + L"|" + editor_texts::kLinksProgramMissing,
                   L"Example Layout 2|2.0|" + other_.wstring() + L"|"};
  EXPECT_EQ(SettledRows(list_, rows), rows);
  EXPECT_EQ(SelectedRow(list_), 0);
  EXPECT_EQ(Focus(links_), list_);
  Texts buttons;
  for (const int id : {kLinksChange, kLinksForget, kLinksTest, static_cast<int>(IDOK), static_cast<int>(IDCANCEL)}) {
    buttons.push_back(Text(GetDlgItem(links_, id)) + (IsWindowEnabled(GetDlgItem(links_, id)) ? L"" : L" (off)"));
  }
  EXPECT_EQ(buttons, (Texts{editor_texts::kLinksChange, editor_texts::kLinksForget, editor_texts::kLinksTest,
                            editor_texts::kLinksOk, editor_texts::kLinksCancel}));
  EXPECT_EQ(LOWORD(SendMessageW(links_, DM_GETDEFID, 0, 0)), IDOK);

  HWND change = OpenChange(2);
  ASSERT_TRUE(change);
  EXPECT_EQ(GetWindow(change, GW_OWNER), links_);
  ExpectClientTwips(change, 7680, 2460);
  EXPECT_EQ(Text(GetDlgItem(change, kLinkEditCreator)) + L"|" + Text(GetDlgItem(change, kLinkEditVersion)),
            L"Example Layout 2|2.0");
  HWND programs = GetDlgItem(change, kLinkEditProgram);
  EXPECT_EQ(GetWindowLongW(programs, GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST);
  EXPECT_EQ(ComboItems(programs), (Texts{other_.wstring(), L"Draw", L"レイアウト"}));
  EXPECT_EQ(SendMessageW(programs, CB_GETCURSEL, 0, 0), 0);
  PressKey(change, VK_ESCAPE);
  ASSERT_TRUE(Closed(change));
  EXPECT_EQ(RowTexts(list_).size(), 3u);
  Press(links_, IDCANCEL);
  ASSERT_TRUE(Closed(links_));
  EXPECT_TRUE(IsWindowEnabled(main_));
  CloseEditor();
}

TEST_F(LinksWindow, WithoutLinkIniTheListIsEmptyAndNothingIsWritten) {
  fs::remove(box_.Path(L"link.ini"));
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  EXPECT_TRUE(RowTexts(list_).empty());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(links_, kLinksChange)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(links_, kLinksForget)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(links_, kLinksTest)));
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_FALSE(box_.Exists(L"link.ini"));
  CloseEditor();
}

TEST_F(LinksWindow, ChangeRefusesWhatLinkIniCannotHoldForgetRemovesAndOkWrites) {
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  HWND change = OpenChange(1);
  ASSERT_TRUE(change);
  EXPECT_EQ(Text(GetDlgItem(change, kLinkEditCreator)), kKana);
  const struct {
    std::wstring creator, version;
    const wchar_t* message;
  } refusals[] = {
      {L"   ", L"", editor_texts::kCreatorEmpty},
      {L"a\r\nb", L"", editor_texts::kCreatorLineBreak},
      {std::wstring(1024, L'x'), L"", editor_texts::kCreatorTooLong},
      {L"\xD55C", L"", editor_texts::kCreatorNotAnsi},
      {L"a", L"1\r\n2", editor_texts::kVersionLineBreak},
      {L"a", std::wstring(512, L'\x6F22'), editor_texts::kVersionTooLong},
      {L"a", L"\xD55C", editor_texts::kVersionNotAnsi},
  };
  for (const auto& refusal : refusals) {
    SetField(change, kLinkEditCreator, refusal.creator);
    SetField(change, kLinkEditVersion, refusal.version);
    EXPECT_EQ(Refusal(change), refusal.message);
  }
  SetField(change, kLinkEditCreator, L" イラストレーター* ");
  SetField(change, kLinkEditVersion, L"*");
  SendDlgItemMessageW(change, kLinkEditProgram, CB_SETCURSEL, 2, 0);
  Press(change, IDOK);
  ASSERT_TRUE(Closed(change));
  EXPECT_EQ(RowTexts(list_)[1], L"イラストレーター*|*|レイアウト|");
  EXPECT_EQ(SelectedRow(list_), 1);

  SelectRow(list_, 0);
  PressAndWait(links_, kLinksForget);
  EXPECT_EQ(RowTexts(list_).size(), 2u);
  EXPECT_EQ(SelectedRow(list_), 0);
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_EQ(
      SystemEntries(),
      (std::vector<Entry>{{"\x83\x43\x83\x89\x83\x58\x83\x67\x83\x8C\x81\x5B\x83\x5E\x81\x5B*", Ansi(layout_), "*"},
                          {"Example Layout 2", Ansi(other_), "2.0"}}));
  CloseEditor();
}

TEST_F(LinksWindow, CancelEscAndTheCloseBoxWriteNothing) {
  const std::string before = box_.Read(L"link.ini");
  ASSERT_NO_FATAL_FAILURE(StartEditor());
  const std::function<void()> closings[] = {
      [&] { Press(links_, IDCANCEL); },
      [&] { PressKey(links_, VK_ESCAPE); },
      [&] { PostMessageW(links_, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  for (const auto& close : closings) {
    ASSERT_NO_FATAL_FAILURE(OpenLinks());
    PressAndWait(links_, kLinksForget);
    PressAndWait(links_, kLinksForget);
    EXPECT_EQ(RowTexts(list_).size(), 1u);
    close();
    ASSERT_TRUE(Closed(links_));
    EXPECT_EQ(box_.Read(L"link.ini"), before);
  }
  CloseEditor();
}

TEST_F(LinksWindow, AWriteThatFailsKeepsTheFileAndTheRows) {
  const std::string before = box_.Read(L"link.ini");
  const fs::path file = box_.Path(L"link.ini");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  PressAndWait(links_, kLinksForget);
  Press(links_, IDOK);
  const auto report = WaitForMessageBox(editor_->id());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->title, L"prjQuelby");
  EXPECT_NE(report->text.find(L" (エラー番号:-2147024891)"), std::wstring::npos) << ToUtf8(report->text);
  Click(GetDlgItem(report->window, IDOK));
  Sleep(300);
  EXPECT_TRUE(IsWindow(links_));
  EXPECT_EQ(RowTexts(list_).size(), 2u);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(box_.Read(L"link.ini"), before);
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_EQ(SystemEntries().size(), 2u);
  CloseEditor();
}

TEST_F(LinksWindow, TestingAFileTellsWhatTheLauncherWouldDo) {
  PutLinks(LinkEntry(1, kAi16, Ansi(draw_), "16.0*") + LinkEntry(2, kAi16, Ansi(layout_), "16.0.3"));
  const fs::path cc2019 = box_.Install(L"stand_in_ai23.exe", L"Adobe Illustrator CC 2019\\Illustrator.exe");
  PutNames({{"Draw", draw_}, {"\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67", layout_}, {"CC 2019", cc2019}});
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  const std::wstring format = L"ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: ";
  const struct {
    const char* name;
    fs::path file;
    std::wstring message;
  } cases[] = {
      {"an exact hit", box_.Put(L"exact.eps", Eps(kAi16, "16.0.3")),
       format + L"16.0.3\r\n\r\n起動するソフト: レイアウト (記憶した選択の 2 行目)"},
      {"a '*' hit", box_.Put(L"dot release.ai", Eps(kAi16, "16.0.4")),
       format + L"16.0.4\r\n\r\n起動するソフト: Draw (記憶した選択の 1 行目)"},
      {"an unregistered file", box_.Put(L"other.eps", Eps(kAi16, "17.0")),
       format + L"17.0\r\n\r\n" + editor_texts::kTestNotRegistered},
      {"an unregistered file that a version of the list made", box_.Put(L"cc 2019.ai", Eps(kAi16, "23.0.1")),
       format + L"23.0.1\r\n\r\n" + editor_texts::kTestNotRegistered + L"（作成したバージョン: CC 2019）"},
      {"an unknown format", box_.Put(L"plain.eps", "no PostScript here\r\n"), editor_texts::kTestUnknownFormat},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Press(links_, kLinksTest);
    HWND dialog = WaitForCaption(editor_->id(), editor_texts::kOpenFileTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), links_);
    EXPECT_EQ(ComboItems(GetDlgItem(dialog, 0x470)),  // cmb1, the file types
              (Texts{editor_texts::kLinksEpsFilter, editor_texts::kLinksAllFilter}));
    HWND name = GetDlgItem(dialog, 0x47C);        // cmb13, the file name box
    if (!name) name = GetDlgItem(dialog, 0x480);  // edt1, its older form
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.file.wstring().c_str()));
    Click(GetDlgItem(dialog, IDOK));
    const auto box = WaitForMessageBox(editor_->id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, editor_texts::kLinksCaption);
    EXPECT_EQ(box->text, c.message);
    EXPECT_FALSE(box->icon);
    EXPECT_EQ(box->buttons, Texts{L"OK"});
    Click(GetDlgItem(box->window, IDOK));
  }
  Press(links_, IDCANCEL);
  ASSERT_TRUE(Closed(links_));
  CloseEditor();
}

TEST_F(LinksWindow, AChoiceALauncherStoresWhileTheWindowIsOpenIsKept) {
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  PressAndWait(links_, kLinksForget);
  {
    auto launcher = Open(box_.Put(L"new kind.eps", Eps("Example Draw 3", "3.0")));
    HWND select = WaitForSelect(*launcher);
    ASSERT_TRUE(select);
    SendDlgItemMessageW(select, launcher_ids::kSelectNames, LB_SETCURSEL, 1, 0);
    ClickId(select, launcher_ids::kSelectAlways);
    ClickId(select, IDOK);
    ASSERT_TRUE(launcher->Ended());
  }
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_EQ(SystemEntries(), (std::vector<Entry>{{kKanaAnsi, Ansi(gone_), ""},
                                                 {"Example Layout 2", Ansi(other_), "2.0"},
                                                 {"Example Draw 3", Ansi(layout_), "3.0"}}));
  CloseEditor();
}

TEST_F(LinksLauncher, FindsAStarEntryButTakesAnExactEntryFirst) {
  PutLinks(LinkEntry(1, "adobe illustrator(r) 16*", Ansi(draw_), "*") + LinkEntry(2, kAi16, Ansi(layout_), "16.0.3"));
  const fs::path dotRelease = box_.Put(L"work\\dot release.eps", Eps(kAi16, "16.0.4"));
  const fs::path exact = box_.Put(L"work\\exact.eps", Eps(kAi16, "16.0.3"));
  auto first = Open(dotRelease);
  ASSERT_TRUE(first->Ended());
  EXPECT_EQ(Started(draw_), Texts{StartOf(draw_, dotRelease)});
  auto second = Open(exact);
  ASSERT_TRUE(second->Ended());
  EXPECT_EQ(Started(layout_), Texts{StartOf(layout_, exact)});
}

TEST_F(LinksWindow, TheRowsComeAtOnceTheirProgramsStateWhenTestedAndAClosingWindowDoesNotWait) {
  ASSERT_NO_FATAL_FAILURE(StartEditor());
  // Closed the moment it is there, before or while its programs are tested.
  for (int i = 0; i < 3; ++i) {
    ASSERT_NO_FATAL_FAILURE(OpenLinks());
    Press(links_, IDCANCEL);
    ASSERT_TRUE(Closed(links_));
  }
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  Texts rows = RowTexts(list_);
  ASSERT_EQ(rows.size(), 3u) << "the rows are there when the window is";
  for (std::wstring& row : rows) row.erase(row.rfind(L'|') + 1);
  EXPECT_EQ(rows, (Texts{L"Adobe Illustrator(R) 16.0|16.0*|Draw|", kKana + L"||" + gone_.wstring() + L"|",
                         L"Example Layout 2|2.0|" + other_.wstring() + L"|"}));
  rows[1] += editor_texts::kLinksProgramMissing;
  EXPECT_EQ(SettledRows(list_, rows), rows);

  // A row given another program is tested again: Draw's program has gone meanwhile.
  fs::remove(draw_);
  HWND change = OpenChange(2);
  ASSERT_TRUE(change);
  SendDlgItemMessageW(change, kLinkEditProgram, CB_SETCURSEL, 1, 0);  // Draw
  Press(change, IDOK);
  ASSERT_TRUE(Closed(change));
  rows[2] = L"Example Layout 2|2.0|Draw|" + std::wstring(editor_texts::kLinksProgramMissing);
  EXPECT_EQ(SettledRows(list_, rows), rows);
  Press(links_, IDCANCEL);
  ASSERT_TRUE(Closed(links_));
  CloseEditor();
}

TEST_F(LinksWindow, ChangeRefusesThePairOfAnotherRowNamingIt) {
  PutLinks(LinkEntry(1, kAi16, Ansi(draw_), "16.0*") + LinkEntry(2, "Example Layout 2", Ansi(layout_), "2.0"));
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  HWND change = OpenChange(1);
  ASSERT_TRUE(change);
  SetField(change, kLinkEditCreator, L"ADOBE illustrator(r) 16.0");
  SetField(change, kLinkEditVersion, L"16.0*");
  EXPECT_EQ(Refusal(change),
            L"同じファイルの形式と作成ソフトバージョンの行がすでにあります。\r\n"
            L"ファイルの形式: Adobe Illustrator(R) 16.0\r\n作成ソフトバージョン: 16.0*");
  // Without its '*' the pair is another.
  SetField(change, kLinkEditVersion, L"16.0");
  Press(change, IDOK);
  ASSERT_TRUE(Closed(change));
  EXPECT_EQ(RowTexts(list_)[1], L"ADOBE illustrator(r) 16.0|16.0|レイアウト|");
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_EQ(SystemEntries(),
            (std::vector<Entry>{{kAi16, Ansi(draw_), "16.0*"}, {"ADOBE illustrator(r) 16.0", Ansi(layout_), "16.0"}}));
  CloseEditor();
}

TEST_F(LinksWindow, OkKeepsALaunchersStoreAndAHandEditOfRowsItLeftAloneAndWritesItsOwnChange) {
  ASSERT_NO_FATAL_FAILURE(OpenLinks());
  HWND change = OpenChange(2);
  ASSERT_TRUE(change);
  SetField(change, kLinkEditVersion, L"2.1");
  Press(change, IDOK);
  ASSERT_TRUE(Closed(change));
  // Meanwhile a launcher (Shift held, "remember" ticked) stores Layout over row 1's pair, in its
  // place and quoted as it writes; a hand edit gives row 2 Draw, unquoted; and row 3, which the
  // window has changed, is edited by hand too.
  std::string file = box_.Read(L"link.ini");
  const auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = file.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    file.replace(at, from.size(), to);
  };
  replace("path1=\"" + Upper(Ansi(draw_)) + "\"", "path1=\"" + Ansi(layout_) + "\"");
  replace("path2=\"" + Ansi(gone_) + "\"", "path2=" + Ansi(draw_));
  replace("path3=\"" + Ansi(other_) + "\"", "path3=\"" + Ansi(draw_) + "\"");
  box_.Put(L"link.ini", file);
  Press(links_, IDOK);
  ASSERT_TRUE(Closed(links_));
  EXPECT_EQ(SystemEntries(), (std::vector<Entry>{{kAi16, Ansi(layout_), "16.0*"},
                                                 {kKanaAnsi, Ansi(draw_), ""},
                                                 {"Example Layout 2", Ansi(other_), "2.1"}}));
  CloseEditor();
}

}  // namespace
