// The rows of the launcher's chooser and of the list editor's list under Wine, as the screen shows
// them: numbers, the programs' icons at the screen's DPI, programs that have gone marked; and the
// digit keys that choose in the chooser. The suite runs at 96 and at 144 DPI.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "icon_list.h"
#include "program_test.h"
#include "win_form.h"
#include "win_handle.h"

namespace {

using namespace drive;
using launcher_ids::kSelectAlways;
using launcher_ids::kSelectCreatorVersion;
using launcher_ids::kSelectNames;
using launcher_ids::kSelectVersionString;

const std::string kUnregistered = "%!PS-Adobe-3.0\r\n%%Creator: Example Draw 1.0\r\n%%AI8_CreatorVersion: 1.0.2\r\n";

int ScreenDpi() {
  const winhandle::WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

// The small icons at the screen's DPI: 16 pixels at 96, 24 at 144.
int IconSize() { return MulDiv(16, ScreenDpi(), 96); }

std::wstring RowText(HWND list, int row) {
  wchar_t text[512] = {};
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
  return text;
}

// A row of the list in its client area, from the list's row height and first visible row.
RECT RowBox(HWND list, int row) {
  RECT client{};
  GetClientRect(list, &client);
  const auto height = static_cast<LONG>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const auto top = (row - static_cast<LONG>(SendMessageW(list, LB_GETTOPINDEX, 0, 0))) * height;
  return {0, top, client.right, top + height};
}

// The part of a row between two columns, inside the focus frame that a row may have.
RECT Between(const RECT& row, LONG left, LONG right) { return {left, row.top + 2, right, row.bottom - 2}; }

COLORREF Background(HWND list, int row) {
  return GetSysColor(SendMessageW(list, LB_GETCURSEL, 0, 0) == row ? COLOR_HIGHLIGHT : COLOR_WINDOW);
}

// A program file's own small icon, drawn as the list draws it.
Picture OwnIcon(const fs::path& program, int size, COLORREF background) {
  winhandle::Icon large;
  winhandle::Icon small;
  SHDefExtractIconW(program.c_str(), 0, 0, large.receive(), small.receive(), MAKELONG(size * 2, size));
  EXPECT_TRUE(small) << program;
  return DrawnIcon(small.get(), size, background);
}

// The system's application icon, drawn as the list draws it.
Picture ApplicationIcon(int size, COLORREF background) {
  const winhandle::Icon icon(static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, 0)));
  return DrawnIcon(icon.get(), size, background);
}

// Where the icon shows in the row, once it does (icons arrive after the window has appeared).
POINT WaitForIcon(HWND list, int row, const Picture& icon) {
  const ULONGLONG end = GetTickCount64() + 10000;
  for (;;) {
    const POINT at = Find(OnScreen(list, RowBox(list, row)), icon);
    if (at.x >= 0 || GetTickCount64() > end) return at;
    Sleep(50);
  }
}

int Count(const Picture& picture, COLORREF colour) {
  return static_cast<int>(std::count(picture.pixels.begin(), picture.pixels.end(), colour));
}

// A pixel that differs clearly from the background: something drawn.
bool Drawn(COLORREF pixel, COLORREF background) {
  return std::abs(GetRValue(pixel) - GetRValue(background)) + std::abs(GetGValue(pixel) - GetGValue(background)) +
             std::abs(GetBValue(pixel) - GetBValue(background)) >
         60;
}

// The right end of what is drawn in the picture, -1 for nothing.
int RightmostInk(const Picture& picture, COLORREF background) {
  for (int x = picture.width - 1; x >= 0; --x) {
    for (int y = 0; y < picture.height; ++y) {
      if (Drawn(picture.At(x, y), background)) return x;
    }
  }
  return -1;
}

class ChooserTest : public ProgramTest {
 protected:
  // name.ini lists ten programs: the two stand-ins with icons, one without, one that has gone (of
  // the same name as the first), and six more without icons.
  ChooserTest() {
    programs_ = {box_.Install(L"stand_in_pen.exe", L"Program Files\\Pen\\pen.exe"),
                 box_.Install(L"stand_in_layout.exe", L"Program Files\\Layout\\layout.exe"),
                 box_.Install(L"recorder.exe", L"Program Files\\Plain\\plain.exe"),
                 box_.Path(L"Program Files\\Gone\\pen.exe")};
    names_ = {"Pen", "Layout", "Plain", "Pen"};
    for (int i = 5; i <= 10; ++i) {
      programs_.push_back(box_.Install(L"recorder.exe", L"Program Files\\App" + std::to_wstring(i) + L"\\app.exe"));
      names_.push_back("App " + std::to_string(i));
    }
    std::vector<std::pair<std::string, fs::path>> entries;
    for (std::size_t i = 0; i < programs_.size(); ++i) entries.emplace_back(names_[i], programs_[i]);
    PutNames(entries);
  }

  const fs::path known_ = box_.Put(L"files\\known.eps", kUnregistered);
  std::vector<fs::path> programs_;
  std::vector<std::string> names_;
};

TEST_F(ChooserTest, RowsShowTheirNumberTheProgramsIconAndMarkAProgramThatHasGone) {
  auto launcher = Open(known_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  HWND list = GetDlgItem(dialog, kSelectNames);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 10);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  for (int row = 0; row < 10; ++row) EXPECT_EQ(RowText(list, row), FromUtf8(names_[row]));
  RECT client{};
  GetClientRect(list, &client);
  ASSERT_GE(client.bottom, RowBox(list, 9).bottom) << "all ten rows are to be seen";

  // Each program's own icon, in one column at the screen's DPI; the application icon for a file
  // without an icon and for a program that has gone.
  const int size = IconSize();
  EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), size + 2 * MulDiv(2, ScreenDpi(), 96))
      << "rows as high as the icon at the screen's DPI and its margins";
  const POINT pen = WaitForIcon(list, 0, OwnIcon(programs_[0], size, Background(list, 0)));
  ASSERT_GE(pen.x, 0) << "the first row does not show its program's icon at " << size << " pixels";
  EXPECT_EQ(WaitForIcon(list, 1, OwnIcon(programs_[1], size, Background(list, 1))).x, pen.x);
  for (const int row : {2, 3}) {
    EXPECT_EQ(Find(OnScreen(list, RowBox(list, row)), ApplicationIcon(size, Background(list, row))).x, pen.x) << row;
  }

  // The numbers 1 to 9 stand before the icons of the first nine rows.
  for (int row = 0; row < 10; ++row) {
    const Picture numbers = OnScreen(list, Between(RowBox(list, row), 1, pen.x - 1));
    EXPECT_EQ(RightmostInk(numbers, Background(list, row)) >= 0, row < 9) << "row " << row + 1;
  }

  // The program that has gone: drawn in the disabled colour throughout, its mark after the name.
  const LONG text = pen.x + size + 1;
  const Picture gone = OnScreen(list, Between(RowBox(list, 3), text, client.right - 2));
  const Picture present = OnScreen(list, Between(RowBox(list, 1), text, client.right - 2));
  EXPECT_GT(Count(gone, GetSysColor(COLOR_GRAYTEXT)), 10);
  EXPECT_EQ(Count(gone, GetSysColor(COLOR_WINDOWTEXT)), 0);
  EXPECT_GT(Count(present, GetSysColor(COLOR_WINDOWTEXT)), 10);
  const Picture first = OnScreen(list, Between(RowBox(list, 0), text, client.right - 2));
  EXPECT_GT(RightmostInk(gone, Background(list, 3)),
            RightmostInk(first, Background(list, 0)) + 4 * MulDiv(12, ScreenDpi(), 96))
      << "no mark after the name of the program that has gone";

  // It can still be chosen: the launcher then says that the program was not found.
  PressKey(dialog, '4');
  const auto box = WaitForMessageBox(launcher->id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + programs_[3].wstring());
  Click(GetDlgItem(box->window, IDOK));
  EXPECT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni);
}

TEST_F(ChooserTest, DigitsOfBothKeyboardsChooseAndConfirmFromEveryControl) {
  struct Case {
    UINT key;
    bool tick;
    int focus;
    int row;
  };
  const Case cases[] = {
      {'1', false, kSelectNames, 0},         {VK_NUMPAD3, true, kSelectVersionString, 2},
      {'9', true, kSelectCreatorVersion, 8}, {VK_NUMPAD9, false, kSelectAlways, 8},
      {VK_NUMPAD1, true, IDOK, 0},           {'3', false, kSelectNames, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << ", row " << c.row + 1 << (c.tick ? ", ticked" : ""));
    box_.Put(L"link.ini", kFreshLinkIni);
    fs::remove(programs_[c.row].parent_path() / L"record.txt");
    auto launcher = Open(known_);
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    if (c.tick) SendDlgItemMessageW(dialog, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, c.focus)), TRUE);
    Sleep(100);
    ASSERT_EQ(GetDlgCtrlID(Focus(dialog)), c.focus);
    PressKey(dialog, c.key);
    ASSERT_TRUE(launcher->Ended());
    EXPECT_EQ(Started(programs_[c.row]), std::vector<std::wstring>{StartOf(programs_[c.row], known_)});
    EXPECT_EQ(
        box_.Read(L"link.ini"),
        c.tick ? kFreshLinkIni + LinkEntry(1, "Example Draw 1.0", Ansi(programs_[c.row]), "1.0.2") : kFreshLinkIni);
  }
}

TEST_F(ChooserTest, ADigitBeyondTheLastRowDoesNothing) {
  // Not even the list's search for a name that begins with the digit.
  PutNames({{"Draw", draw_}, {"3D Layout", layout_}});
  auto launcher = Open(known_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  for (const UINT key : {UINT{'3'}, UINT{VK_NUMPAD3}, UINT{'9'}, UINT{VK_NUMPAD9}}) PressKey(dialog, key);
  Sleep(500);
  ASSERT_TRUE(IsWindow(dialog));
  EXPECT_EQ(SendDlgItemMessageW(dialog, kSelectNames, LB_GETCURSEL, 0, 0), 0);
  ClickId(dialog, IDCANCEL);
  EXPECT_TRUE(launcher->Ended());
  EXPECT_FALSE(box_.Exists(L"Program Files\\Draw\\record.txt"));
  EXPECT_FALSE(box_.Exists(L"Layout\\record.txt"));
}

TEST_F(ChooserTest, TheListEditorsRowsShowTheSameIconsAndMarks) {
  Process quelby(quelby_, Quoted(quelby_));
  HWND window = WaitForCaption(quelby.id(), editor_texts::kListCaption);
  ASSERT_TRUE(window);
  HWND list = GetDlgItem(window, editor_ids::kQuelbyList);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 10);
  for (int row = 0; row < 10; ++row) {
    EXPECT_EQ(RowText(list, row), FromUtf8(names_[row]) + L"        " + programs_[row].wstring());
  }
  const int size = IconSize();
  const COLORREF background = GetSysColor(COLOR_WINDOW);  // no row is selected
  const POINT pen = WaitForIcon(list, 0, OwnIcon(programs_[0], size, background));
  ASSERT_GE(pen.x, 0) << "the first row does not show its program's icon at " << size << " pixels";
  EXPECT_EQ(WaitForIcon(list, 1, OwnIcon(programs_[1], size, background)).x, pen.x);
  EXPECT_EQ(Find(OnScreen(list, RowBox(list, 2)), ApplicationIcon(size, background)).x, pen.x);
  EXPECT_EQ(Find(OnScreen(list, RowBox(list, 3)), ApplicationIcon(size, background)).x, pen.x);
  RECT client{};
  GetClientRect(list, &client);
  const Picture gone = OnScreen(list, Between(RowBox(list, 3), pen.x + size + 1, client.right - 2));
  EXPECT_GT(Count(gone, GetSysColor(COLOR_GRAYTEXT)), 10);
  EXPECT_EQ(Count(gone, GetSysColor(COLOR_WINDOWTEXT)), 0);
  PostMessageW(GetDlgItem(window, editor_ids::kQuelbyEnd), BM_CLICK, 0, 0);
  EXPECT_TRUE(quelby.Ended());
}

// Each row's item data (IconList::kRow...), once every row's program has been looked at.
std::vector<LPARAM> CheckedRows(HWND list) {
  std::vector<LPARAM> rows(static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
  for (const ULONGLONG end = GetTickCount64() + 15000; GetTickCount64() < end; Sleep(20)) {
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = SendMessageW(list, LB_GETITEMDATA, row, 0);
    if (std::all_of(rows.begin(), rows.end(), [](LPARAM data) { return data & winform::IconList::kRowChecked; })) break;
  }
  return rows;
}

using ChooserSuggestion = ProgramTest;

TEST_F(ChooserSuggestion, MarksAndSelectsTheVersionThatMadeTheFileAndEnterOpensIt) {
  // Versions under their real file names after a program without a version resource; two are
  // hidden, which the existence test takes as gone though their version resources still read.
  const std::vector<std::pair<std::string, fs::path>> entries = {
      {"Draw", draw_},
      {"CC 2019 (old)", box_.Install(L"stand_in_ai23.exe", L"Old\\Adobe Illustrator CC 2019\\Illustrator.exe")},
      {"CC 2019", box_.Install(L"stand_in_ai23.exe", L"Adobe\\Adobe Illustrator CC 2019\\Illustrator.exe")},
      {"Illustrator 10", box_.Install(L"stand_in_ai10.exe", L"Adobe\\Illustrator 10\\Illustrator.exe")},
      {"FreeHand MX", box_.Install(L"stand_in_freehand.exe", L"Macromedia\\FreeHand MX\\FHMX.exe")}};
  for (const int hidden : {1, 4}) SetFileAttributesW(entries[hidden].second.c_str(), FILE_ATTRIBUTE_HIDDEN);
  if (!(GetFileAttributesW(entries[1].second.c_str()) & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "no hidden files";
  PutNames(entries);
  const std::pair<std::string, int> cases[] = {
      {"%%Creator: Adobe Illustrator(R) 17.0\r\n%%AI8_CreatorVersion: 23.0.1\r\n", 2},
      {"%%Creator: Adobe Illustrator(R) 10.0\r\n", 3},
      {"%%Creator: Example Draw 1.0\r\n%%AI8_CreatorVersion: 1.0.2\r\n", -1},
      {"%%Creator: Macromedia FreeHand(R) 11.0\r\n", -1}};  // only a copy that has gone
  std::vector<int> inkOf10;  // where what the row of Illustrator 10 shows ends, case by case
  for (const auto& [header, suggested] : cases) {
    SCOPED_TRACE(header);
    const fs::path file = box_.Put(L"made.eps", "%!PS-Adobe-3.0\r\n" + header);
    auto launcher = Open(file);
    HWND list = GetDlgItem(WaitForSelect(*launcher), kSelectNames);
    const std::vector<LPARAM> rows = CheckedRows(list);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      EXPECT_EQ((rows[row] & winform::IconList::kRowNoted) != 0, row == suggested) << row;
      EXPECT_EQ(RowText(list, row), FromUtf8(entries[row].first));
    }
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), std::max(suggested, 0));
    // The mark follows the name in the row's own colour, once painted (UpdateWindow has the list's
    // thread paint it at once).
    UpdateWindow(list);
    const Picture ten = OnScreen(list, Between(RowBox(list, 3), 1, RowBox(list, 3).right - 2));
    inkOf10.push_back(RightmostInk(ten, Background(list, 3)));
    EXPECT_EQ(Count(ten, GetSysColor(COLOR_GRAYTEXT)), 0);
    PressKey(GetParent(list), suggested == 2 ? VK_RETURN : VK_ESCAPE);
    ASSERT_TRUE(launcher->Ended());
  }
  EXPECT_GT(inkOf10[1], inkOf10[0] + MulDiv(48, ScreenDpi(), 96)) << "no mark after the suggested name";
  EXPECT_EQ(Started(entries[2].second), std::vector<std::wstring>{StartOf(entries[2].second, box_.Path(L"made.eps"))});
}

// The list in a window of the driver's own, which can be moved to another DPI (Wine never does
// that by itself).
constexpr int kList = 11;
constexpr DWORD kListStyle = WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
const winform::Control kListControls[] = {{kList, L"LISTBOX", L"", kListStyle, 120, 120, 5400, 2400}};
constexpr DWORD kListFormStyle = WS_POPUP | WS_CAPTION;
const winform::FormSpec kListForm{nullptr, kListFormStyle, 0, 5640, 2640, kListControls, std::size(kListControls)};

class ListDialog : public winform::Dialog {
 public:
  ListDialog() : Dialog(kListForm), list(*this, kList, winform::IconList::Numbers::kFirstNine, L"(gone)") {}
  using Dialog::Close;
  using Dialog::Create;
  winform::IconList list;
};

// Handles the driver's own messages until `done` or 10 s have passed.
bool HandleMessagesUntil(const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + 10000;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
  return true;
}

TEST(ChooserList, RowsAndIconsFollowAChangeOfDpi) {
  ListDialog dialog;
  dialog.Create(nullptr);
  HWND list = dialog.list.window();
  ASSERT_TRUE(list);
  const fs::path pen = BinFolder() / L"stand_in_pen.exe";
  dialog.list.Insert(0, L"Pen", pen.wstring());
  dialog.list.Insert(1, L"Gone", (BinFolder() / L"no such program.exe").wstring());
  ShowWindow(dialog.window(), SW_SHOWNORMAL);
  for (const int dpi : {dialog.dpi(), 192}) {
    if (dpi != dialog.dpi()) {
      const RECT suggested{0, 0, MulDiv(5640, dpi, 1440) + 20, MulDiv(2640, dpi, 1440) + 40};
      SendMessageW(dialog.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    const int size = MulDiv(16, dpi, 96);
    EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), size + 2) << dpi;
    const Picture own = OwnIcon(pen, size, Background(list, 0));
    const Picture application = ApplicationIcon(size, Background(list, 1));
    EXPECT_TRUE(HandleMessagesUntil([&] {
      return Find(OnScreen(list, RowBox(list, 0)), own).x >= 0 &&
             Find(OnScreen(list, RowBox(list, 1)), application).x >= 0;
    })) << "no icons of "
        << size << " pixels at " << dpi << " DPI";
  }
  dialog.Close();
}

}  // namespace
