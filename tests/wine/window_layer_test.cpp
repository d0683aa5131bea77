// The dialog base of both programs, in the driver's own process: layout at a DPI, the move to a
// monitor of another DPI (which Wine never sends by itself), controls that cannot be created, and
// handlers whose failures end in the error report.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "driver.h"
#include "error.h"
#include "win_form.h"

namespace {

using namespace drive;

constexpr int kButton = 11;
constexpr int kEdit = 12;
constexpr int kThrow = 13;
constexpr winform::FontSpec kBigFont{L"MS Gothic", 12.0};

const winform::Control kControls[] = {
    {kButton, L"BUTTON", L"&Go", WS_TABSTOP | BS_PUSHBUTTON, 120, 240, 1440, 360},
    {kEdit, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 1800, 240, 2880, 300, &kBigFont},
    {kThrow, L"BUTTON", L"Fail", WS_TABSTOP | BS_PUSHBUTTON, 120, 720, 1440, 360},
};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
const winform::FormSpec kForm{nullptr, kStyle, 0, 5760, 2880, kControls, std::size(kControls)};

// The same window as a plain window of its own class.
constexpr wchar_t kPlainClass[] = L"WindowLayerPlain";
constexpr DWORD kPlainFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
const winform::FormSpec kPlainForm{kPlainClass, kPlainFormStyle, 0, 5760, 2880, kControls, std::size(kControls), true};

void RegisterPlainClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = winform::WindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kPlainClass;
  RegisterClassExW(&windowClass);
}

const winform::Control kBroken[] = {
    {kButton, L"BUTTON", L"&Go", WS_TABSTOP | BS_PUSHBUTTON, 120, 240, 1440, 360},
    {kEdit, L"NoSuchWindowClass", L"", WS_TABSTOP, 1800, 240, 2880, 300},
};
constexpr DWORD kBrokenFormStyle = WS_POPUP | WS_CAPTION;
const winform::FormSpec kBrokenForm{nullptr, kBrokenFormStyle, 0, 5760, 2880, kBroken, std::size(kBroken)};

class TestDialog : public winform::Dialog {
 public:
  explicit TestDialog(const winform::FormSpec& form = kForm) : Dialog(form) {}
  using Dialog::Close;
  using Dialog::Create;
  int loads = 0;
  int clicks = 0;

 private:
  void Form_Load() override { ++loads; }
  void OnCommand(int id, int) override {
    if (id == kButton) ++clicks;
    if (id == kThrow) throw err::AppError(err::kFileNotFound);
  }
};

RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

void ExpectLaidOutAt(HWND dialog, int dpi) {
  const RECT button = ControlRect(dialog, kButton);
  EXPECT_EQ(button.left, MulDiv(120, dpi, 1440));
  EXPECT_EQ(button.top, MulDiv(240, dpi, 1440));
  EXPECT_EQ(button.right - button.left, MulDiv(1440, dpi, 1440));
  const RECT edit = ControlRect(dialog, kEdit);
  EXPECT_EQ(edit.left, MulDiv(1800, dpi, 1440));
  EXPECT_EQ(edit.bottom - edit.top, MulDiv(300, dpi, 1440));
  EXPECT_EQ(FontHeight(GetDlgItem(dialog, kButton)), -MulDiv(9, dpi, 72));
  EXPECT_EQ(FontHeight(GetDlgItem(dialog, kEdit)), -MulDiv(12, dpi, 72));
}

void SendDpiChange(HWND dialog, int dpi, RECT suggested) {
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class WindowLayerKinds : public ::testing::TestWithParam<const winform::FormSpec*> {};

TEST_P(WindowLayerKinds, LaysTheTableOutAtTheWindowsDpiAndAgainWhenItChanges) {
  RegisterPlainClass();
  TestDialog dialog(*GetParam());
  dialog.Create(nullptr);
  HWND window = dialog.window();
  ASSERT_TRUE(window);
  EXPECT_EQ(dialog.loads, 1);
  const int first = dialog.dpi();
  ExpectLaidOutAt(window, first);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, MulDiv(5760, first, 1440));
  EXPECT_EQ(client.bottom, MulDiv(2880, first, 1440));

  // Moved to a monitor at 192 DPI: the window takes the suggested rectangle and every control
  // and font its size at the new DPI.
  const RECT suggested{40, 30, 40 + 800, 30 + 420};
  SendDpiChange(window, 192, suggested);
  EXPECT_EQ(dialog.dpi(), 192);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, suggested.left);
  EXPECT_EQ(frame.top, suggested.top);
  EXPECT_EQ(frame.right - frame.left, 800);
  EXPECT_EQ(frame.bottom - frame.top, 420);
  ExpectLaidOutAt(window, 192);
  EXPECT_EQ(dialog.loads, 1) << "a new layout, not a new window";

  // And back to 96.
  SendDpiChange(window, 96, {0, 0, 400, 210});
  ExpectLaidOutAt(window, 96);
  dialog.Close();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(dialog.window());
}

INSTANTIATE_TEST_SUITE_P(WindowLayer, WindowLayerKinds, ::testing::Values(&kForm, &kPlainForm));

TEST(WindowLayer, AControlThatCannotBeCreatedFailsTheWindow) {
  TestDialog dialog(kBrokenForm);
  try {
    dialog.Create(nullptr);
    ADD_FAILURE() << "a window without its control was created";
  } catch (const err::AppError& error) {
    // Windows says ERROR_CANNOT_FIND_WND_CLASS, Wine ERROR_CLASS_DOES_NOT_EXIST.
    EXPECT_TRUE(error.number() == err::FromSystemError(ERROR_CANNOT_FIND_WND_CLASS) ||
                error.number() == err::FromSystemError(ERROR_CLASS_DOES_NOT_EXIST))
        << error.number();
  }
  EXPECT_FALSE(dialog.window());
  EXPECT_EQ(dialog.loads, 0);
}

TEST(WindowLayer, AFailingHandlerShowsTheErrorReportAndTheWindowGoesOn) {
  TestDialog dialog;
  dialog.Create(nullptr);
  HWND window = dialog.window();
  ASSERT_TRUE(window);
  std::optional<MessageBoxView> report;
  std::thread answer([&] {
    report = WaitForMessageBox(GetCurrentProcessId(), 10000);
    if (report) PostMessageW(report->window, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kThrow, BN_CLICKED), 0);
  answer.join();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->title, L"driver");
  EXPECT_EQ(report->text, L"ファイルが見つかりません。 (エラー番号:53)");
  EXPECT_TRUE(IsWindow(window));
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), 0);
  EXPECT_EQ(dialog.clicks, 1);
}

TEST(WindowLayer, TheWindowGoesWithItsObject) {
  HWND window = nullptr;
  {
    TestDialog dialog;
    dialog.Create(nullptr);
    window = dialog.window();
    ASSERT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
