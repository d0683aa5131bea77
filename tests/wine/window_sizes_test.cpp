// The five windows of both programs at the screen's DPI (the suite runs in a prefix at 96 and in
// one at 144 DPI): client areas in pixels and fonts that grow with them (measured where a control
// tells its text's geometry: lists, edit controls), and list rows that hold the programs' icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "program_test.h"
#include "version.h"
#include "win_handle.h"

namespace {

using namespace drive;

struct Expected {
  int dpi;
  SIZE select, wait, about, list, entry;
  int uiFont;    // pixels of 9 pt
  int listFont;  // pixels of 11.25 pt
  int textFont;  // pixels of 9.75 pt
  int icon;      // the small icons' size
};

const Expected kAtDpi[] = {
    {96, {413, 426}, {406, 136}, {399, 270}, {939, 702}, {912, 231}, 12, 15, 13, 16},
    {144, {620, 639}, {609, 204}, {599, 405}, {1409, 1053}, {1368, 347}, 18, 23, 20, 24},
};

const Expected* ForScreen() {
  const winhandle::WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  for (const Expected& expected : kAtDpi) {
    if (expected.dpi == dpi) return &expected;
  }
  return nullptr;
}

void ExpectClient(HWND window, SIZE size) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, size.cx);
  EXPECT_EQ(client.bottom, size.cy);
}

// The lines of a multi-line edit control are about the font's height apart.
void ExpectLinesOfSize(HWND edit, int fontPixels) {
  const auto second = SendMessageW(edit, EM_LINEINDEX, 1, 0);
  const int height =
      HIWORD(SendMessageW(edit, EM_POSFROMCHAR, second, 0)) - HIWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
  EXPECT_GE(height * 10, fontPixels * 7) << height;
  EXPECT_LE(height, fontPixels * 3 / 2);
}

// Ideographs are one font height wide: nine of them span about nine heights.
void ExpectCharactersOfSize(HWND edit, int fontPixels) {
  const std::wstring ideographs(10, L'\x6F22');
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ideographs.c_str()));
  const int width = LOWORD(SendMessageW(edit, EM_POSFROMCHAR, 9, 0)) - LOWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
  EXPECT_GE(width, fontPixels * 8) << width;
  EXPECT_LE(width, fontPixels * 10);
}

// Rows of programs hold the font and the program's icon, with a little room around them.
void ExpectRowsOfSize(HWND list, int fontPixels, int iconPixels) {
  const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int content = std::max(fontPixels, iconPixels);
  EXPECT_GE(height, content + 2);
  EXPECT_LT(height, content * 3 / 2);
}

class WindowSizes : public ProgramTest {
 protected:
  void SetUp() override {
    expected_ = ForScreen();
    ASSERT_TRUE(expected_) << "no sizes known for this screen's DPI";
  }

  const Expected* expected_ = nullptr;
};

TEST_F(WindowSizes, TheLaunchersWindows) {
  {
    const fs::path unknown = box_.Put(L"unknown.eps", "no PostScript here\r\n");
    auto launcher = Open(unknown);
    HWND select = WaitForSelect(*launcher);
    ASSERT_TRUE(select);
    Sleep(300);
    ExpectClient(select, expected_->select);
    ExpectRowsOfSize(GetDlgItem(select, launcher_ids::kSelectNames), expected_->uiFont, expected_->icon);
    ClickId(select, IDCANCEL);
    EXPECT_TRUE(launcher->Ended());
  }
  {
    std::string big(39u << 20, 'x');
    for (std::size_t i = 80; i < big.size(); i += 81) big[i] = '\n';
    const fs::path late = box_.Put(L"late.eps", big + "%!PS-Adobe-3.0\r\n%%Creator: Example Draw 1.0\r\n");
    auto launcher = Open(late);
    HWND wait = WaitForWindow(launcher->id(), [](HWND w) { return ClassOf(w) == L"VarnockWait"; });
    launcher->Suspend();
    ASSERT_TRUE(wait && IsWindow(wait));
    ExpectClient(wait, expected_->wait);
    launcher->Resume();
    HWND select = WaitForSelect(*launcher);
    ASSERT_TRUE(select);
    ClickId(select, IDCANCEL);
    EXPECT_TRUE(launcher->Ended());
  }
  {
    Process launcher(launcher_, Quoted(launcher_));
    HWND about =
        WaitForCaption(launcher.id(), std::wstring(launcher_texts::kTitle) + launcher_texts::kAboutCaptionAfterTitle);
    ASSERT_TRUE(about);
    Sleep(300);
    ExpectClient(about, expected_->about);
    ExpectLinesOfSize(GetDlgItem(about, launcher_ids::kDummyText1), expected_->uiFont);
    ClickId(about, IDOK);
    EXPECT_TRUE(launcher.Ended());
  }
}

TEST_F(WindowSizes, TheListEditorsWindows) {
  Process quelby(quelby_, Quoted(quelby_));
  HWND list = WaitForCaption(quelby.id(), editor_texts::kListCaption);
  ASSERT_TRUE(list);
  ExpectClient(list, expected_->list);
  ExpectRowsOfSize(GetDlgItem(list, editor_ids::kQuelbyList), expected_->listFont, expected_->icon);
  // The status line's warning: the system's icon at the small icon size.
  ExpectClient(GetDlgItem(list, editor_ids::kQuelbyWarning), {expected_->icon, expected_->icon});
  PostMessageW(GetDlgItem(list, editor_ids::kQuelbyAdd), BM_CLICK, 0, 0);
  HWND entry = WaitForCaption(quelby.id(), editor_texts::kEntryCaption);
  ASSERT_TRUE(entry);
  Sleep(300);
  ExpectClient(entry, expected_->entry);
  ExpectCharactersOfSize(GetDlgItem(entry, editor_ids::kEditName), expected_->textFont);
  PostMessageW(GetDlgItem(entry, IDCANCEL), BM_CLICK, 0, 0);
  PostMessageW(GetDlgItem(list, editor_ids::kQuelbyEnd), BM_CLICK, 0, 0);
  EXPECT_TRUE(quelby.Ended());
}

}  // namespace
