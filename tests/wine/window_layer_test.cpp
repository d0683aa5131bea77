// The dialog base of both programs, in the driver's own process: layout at a DPI, the move to a
// monitor of another DPI (which Wine never sends by itself), controls that cannot be created, and
// handlers whose failures end in the error report.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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

// A part that handles one message of its own and records what the dialog base hands it, in the
// log that its window shares.
constexpr UINT kPartsMessage = WM_APP + 1;
constexpr UINT kWindowsMessage = WM_APP + 2;

class RecordingPart : public winform::Part {
 public:
  RecordingPart(winform::Dialog& owner, std::vector<std::wstring>& log) : log_(log) { owner.Plug(*this); }

 private:
  bool OnMessage(HWND, UINT message, WPARAM, LPARAM) override {
    if (message != kPartsMessage && message != kWindowsMessage) return false;
    log_.push_back(L"part " + std::to_wstring(message - WM_APP));
    return message == kPartsMessage;
  }
  void Layout(HWND, int dpi) override { log_.push_back(L"part layout " + std::to_wstring(dpi)); }
  void OwnerDestroyed() override { log_.push_back(L"part: window destroyed"); }

  std::vector<std::wstring>& log_;
};

class PartsDialog : public TestDialog {
 public:
  explicit PartsDialog(const winform::FormSpec& form) : TestDialog(form) {}
  std::vector<std::wstring> log;
  RecordingPart part{*this, log};

 private:
  void OnLayout() override { log.push_back(L"window layout"); }
  INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == kPartsMessage || message == kWindowsMessage)
      log.push_back(L"window " + std::to_wstring(message - WM_APP));
    if (message == WM_DESTROY) log.push_back(L"window destroyed");
    return FALSE;
  }
};

TEST_P(WindowLayerKinds, PartsTakeMessagesBeforeTheWindowAndLayoutsAtItsDpiAndAreToldOfItsEnd) {
  RegisterPlainClass();
  PartsDialog dialog(*GetParam());
  dialog.Create(nullptr);
  HWND window = dialog.window();
  ASSERT_TRUE(window);
  const std::wstring first = std::to_wstring(dialog.dpi());
  struct Step {
    const char* name;
    std::function<void()> act;
    std::vector<std::wstring> log;
  };
  const Step steps[] = {
      {"created", [] {}, {L"part layout " + first, L"window layout"}},
      {"the part's message", [&] { SendMessageW(window, kPartsMessage, 0, 0); }, {L"part 1"}},
      {"the window's message", [&] { SendMessageW(window, kWindowsMessage, 0, 0); }, {L"part 2", L"window 2"}},
      {"a new DPI",
       [&] {
         SendDpiChange(window, 192, {0, 0, 800, 420});
       },
       {L"part layout 192", L"window layout"}},
      {"closed", [&] { dialog.Close(); }, {L"part: window destroyed", L"window destroyed"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(dialog.log, step.log);
    dialog.log.clear();
  }
}

INSTANTIATE_TEST_SUITE_P(WindowLayer, WindowLayerKinds, ::testing::Values(&kForm, &kPlainForm));

// A dialog that counts its paintings.
class PaintedDialog : public TestDialog {
 public:
  int paints = 0;

 private:
  INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == WM_PAINT) ++paints;
    return FALSE;
  }
};

// Handles this thread's messages until `done` or `milliseconds` have passed; whether `done` came.
bool HandleMessagesUntil(const std::function<bool()>& done, ULONGLONG milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done() && GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
  return done();
}

TEST(WindowLayer, AfterFirstPaintRunsOnceAfterTheWindowsFirstPaintingAndNeverOnceGone) {
  PaintedDialog dialog;
  dialog.Create(nullptr);
  int runs = 0;
  int paintsBefore = -1;
  const winform::AfterFirstPaint hook(dialog.window(), [&] {
    ++runs;
    paintsBefore = dialog.paints;
  });
  int goneRuns = 0;
  {
    const winform::AfterFirstPaint gone(dialog.window(), [&] { ++goneRuns; });
  }
  int idleRuns = 0;
  const winform::AfterFirstPaint idle(nullptr, [&] { ++idleRuns; });
  ASSERT_TRUE(hook.waiting() && idle.waiting());
  EXPECT_FALSE(HandleMessagesUntil([&] { return runs > 0; }, 300)) << "ran while the window was hidden";
  EXPECT_EQ(idleRuns, 1) << "a hook without a window runs at the first idle moment";
  ShowWindow(dialog.window(), SW_SHOWNORMAL);
  ASSERT_TRUE(HandleMessagesUntil([&] { return runs > 0; }, 10000));
  EXPECT_GE(paintsBefore, 1) << "ran before the window was painted";
  HandleMessagesUntil([] { return false; }, 200);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(hook.waiting());
  EXPECT_EQ(idleRuns, 1);
  EXPECT_EQ(goneRuns, 0);
  dialog.Close();
}

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
