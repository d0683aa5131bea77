// Finding the installed drawing applications under Wine: registrations and uninstall entries
// written into the prefix, stand-in programs with version resources, the window that shows what
// was found, and what adding does to the application list.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "list_view.h"
#include "prefix_registry.h"
#include "program_test.h"

namespace {

using namespace drive;
using namespace editor_ids;
using Texts = std::vector<std::wstring>;

constexpr const wchar_t* kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* kMachineClasses = L"SOFTWARE\\Classes\\";
constexpr const wchar_t* kUserClasses = L"Software\\Classes\\";

class FindAppsTest : public ProgramTest {
 protected:
  FindAppsTest() { Forget(); }
  ~FindAppsTest() override { Forget(); }

  // What this suite writes into the prefix, and whatever else opens .eps or .ai there: every test
  // starts from registrations it made itself.
  static void Forget() {
    for (const wchar_t* extension : {L".eps", L".ai"}) {
      DeleteKey(kMachine, kMachineClasses + std::wstring(extension));
      DeleteKey(kUser, kUserClasses + std::wstring(extension));
    }
    for (const wchar_t* progId :
         {L"Test.Illustrator.25", L"Test.Hangul", L"Test.Broken1", L"Test.Broken2", L"Test.Broken3", L"Test.Broken4",
          L"Applications\\FHMX.exe", L"Applications\\TextTool.exe"}) {
      DeleteKey(kMachine, kMachineClasses + std::wstring(progId));
      DeleteKey(kUser, kUserClasses + std::wstring(progId));
    }
    for (const Place place : {kMachine, kMachine32, kUser}) {
      for (const wchar_t* entry : {L"Test.AI16", L"Test.AI10", L"Test.Gone", L"Test.Slow"}) {
        DeleteKey(place, kUninstall + std::wstring(entry));
      }
    }
  }

  // The programs of the test and what registers them:
  // - Illustrator 2021 opens .ai (a ProgID of the machine);
  // - Illustrator 2019 in a folder whose name has no ANSI form opens .eps (a ProgID of the user);
  // - Illustrator CS6 only through an uninstall entry of the 32-bit view, below its InstallLocation;
  // - Illustrator 10 only through the user's uninstall entry, by its DisplayIcon;
  // - FreeHand names .eps among its SupportedTypes; TextTool only .txt (not found);
  // - an uninstall entry whose folder has gone, and damaged values (not found, no message).
  void Register() {
    ai25_ = box_.Install(L"stand_in_ai25.exe",
                         L"Adobe\\Adobe Illustrator 2021\\Support Files\\Contents\\Windows\\"
                         L"Illustrator.exe");
    ai23_ = box_.Install(L"stand_in_ai23.exe", L"\xD55C\\Illustrator.exe");
    ai16_ = box_.Install(L"stand_in_ai16.exe",
                         L"Adobe\\Adobe Illustrator CS6\\Support Files\\Contents\\Windows\\"
                         L"Illustrator.exe");
    ai10_ = box_.Install(L"stand_in_ai10.exe", L"User\\Illustrator 10\\Illustrator.exe");
    freehand_ = box_.Install(L"stand_in_freehand.exe", L"Macromedia\\FreeHand MX\\FHMX.exe");
    const fs::path textTool = box_.Install(L"recorder.exe", L"Text\\TextTool.exe");
    const fs::path broken = box_.Install(L"recorder.exe", L"Broken\\Illustrator.exe");

    SetText(kMachine, kMachineClasses + std::wstring(L".ai\\OpenWithProgids"), L"Test.Illustrator.25", L"");
    SetText(kMachine, kMachineClasses + std::wstring(L"Test.Illustrator.25\\shell\\open\\command"), L"",
            Quoted(ai25_) + L" \"%1\"");
    const std::wstring userEps = kUserClasses + std::wstring(L".eps\\OpenWithProgids");
    for (const wchar_t* progId : {L"Test.Broken1", L"Test.Broken2", L"Test.Broken3", L"Test.Broken4", L"Test.Hangul"}) {
      SetText(kUser, userEps, progId, L"");
    }
    const auto command = [](const wchar_t* progId) {
      return kUserClasses + std::wstring(progId) + L"\\shell\\open\\command";
    };
    SetText(kUser, command(L"Test.Hangul"), L"", Quoted(ai23_) + L" \"%1\"");
    SetText(kUser, command(L"Test.Broken1"), L"", L"\"" + broken.wstring() + L" %1");  // the quote never closes
    const DWORD number = 1;
    SetValue(kUser, command(L"Test.Broken2"), L"", REG_DWORD, &number, sizeof number);
    SetText(kUser, command(L"Test.Broken3"), L"", Quoted(broken) + std::wstring(40000, L' '));  // too long
    SetText(kUser, command(L"Test.Broken4"), L"", L"%VARNOCK_TEST_NOTHING%", REG_EXPAND_SZ);
    SetText(kUser, kUserClasses + std::wstring(L"Applications\\FHMX.exe\\SupportedTypes"), L".eps", L"");
    SetText(kUser, kUserClasses + std::wstring(L"Applications\\FHMX.exe\\shell\\open\\command"), L"",
            freehand_.wstring() + L" /open \"%1\"");
    SetText(kUser, kUserClasses + std::wstring(L"Applications\\TextTool.exe\\SupportedTypes"), L".txt", L"");
    SetText(kUser, kUserClasses + std::wstring(L"Applications\\TextTool.exe\\shell\\open\\command"), L"",
            Quoted(textTool) + L" \"%1\"");
    SetText(kMachine32, kUninstall + std::wstring(L"Test.AI16"), L"InstallLocation",
            box_.Path(L"Adobe\\Adobe Illustrator CS6").wstring());
    SetText(kUser, kUninstall + std::wstring(L"Test.AI10"), L"DisplayIcon", Quoted(ai10_) + L",0");
    SetText(kMachine, kUninstall + std::wstring(L"Test.Gone"), L"InstallLocation", box_.Path(L"Gone").wstring());
    SetText(kMachine, kUninstall + std::wstring(L"Test.Gone"), L"DisplayIcon",
            box_.Path(L"Gone\\Illustrator.exe").wstring());
  }

  void StartQuelby() {
    quelbyProcess_ = std::make_unique<Process>(quelby_, Quoted(quelby_));
    main_ = WaitForCaption(quelbyProcess_->id(), editor_texts::kListCaption);
    ASSERT_TRUE(main_);
  }
  HWND WaitForFinding() const { return WaitForCaption(quelbyProcess_->id(), editor_texts::kFindCaption); }
  HWND OpenFinding() const {
    PostMessageW(GetDlgItem(main_, kQuelbyFind), BM_CLICK, 0, 0);
    return WaitForFinding();
  }
  // The status line once finding is over, or as it stands when the time is up.
  static std::wstring FinishedStatus(HWND finding) {
    std::wstring status;
    for (const ULONGLONG end = GetTickCount64() + 60000; GetTickCount64() < end; Sleep(50)) {
      status = Caption(GetDlgItem(finding, kFindStatus));
      if (status != editor_texts::kFindSearching) break;
    }
    return status;
  }
  Texts MainRows() const { return ListBoxRows(main_, kQuelbyList); }

  fs::path ai25_, ai23_, ai16_, ai10_, freehand_;
  std::unique_ptr<Process> quelbyProcess_;
  HWND main_ = nullptr;
};

const std::wstring kGap = L"        ";

TEST_F(FindAppsTest, FindsTheRegisteredProgramsAndTheirOtherCopiesAndAddsWhatIsTicked) {
  Register();
  // The list: a name that a found program would take, Illustrator CS6 spelt otherwise (its short
  // form in upper case), and an Illustrator 10 whose folder has gone.
  std::wstring cs6 = ai16_.wstring();
  std::wstring shortForm(MAX_PATH, L'\0');
  shortForm.resize(GetShortPathNameW(cs6.c_str(), shortForm.data(), MAX_PATH));
  if (!shortForm.empty()) cs6 = shortForm;
  CharUpperBuffW(cs6.data(), static_cast<DWORD>(cs6.size()));
  const fs::path oldAi10 = box_.Path(L"Old\\Illustrator 10\\Illustrator.exe");
  PutNames({{"adobe illustrator 2021", draw_}, {"CS6", fs::path(cs6)}, {"Illustrator 10", oldAi10}});

  StartQuelby();
  const HWND finding = OpenFinding();
  ASSERT_TRUE(finding);
  EXPECT_EQ(FinishedStatus(finding), L"5" + std::wstring(editor_texts::kFindCountAfter));
  const HWND list = GetDlgItem(finding, kFindList);
  const Texts expected = {
      L"Adobe Illustrator 2019|23.0.1|" + ai23_.wstring() + L"|",
      L"Adobe Illustrator 2021 (25.2)|25.2.1|" + ai25_.wstring() + L"|",
      L"FreeHand MX|11.0.2|" + freehand_.wstring() + L"|",
      L"CS6|16.0.0|" + ai16_.wstring() + L"|" + editor_texts::kFoundInList,
      L"Illustrator 10|10.0.3|" + ai10_.wstring() + L"|" + editor_texts::kFoundReplaces + L"Illustrator 10",
  };
  EXPECT_EQ(RowTexts(list), expected);
  const int ticks[] = {2, 2, 2, 0, 2};
  for (int row = 0; row < 5; ++row) EXPECT_EQ(CheckState(list, row), ticks[row]) << row;

  // FreeHand is unticked; the row of the list cannot be ticked.
  SetCheckState(list, 2, 1);
  SetCheckState(list, 3, 2);
  EXPECT_EQ(CheckState(list, 3), 0);
  PostMessageW(GetDlgItem(finding, IDOK), BM_CLICK, 0, 0);
  // Illustrator 2019's path has no ANSI form: the entry dialog's message names it, and it is left out.
  const auto refused = WaitForMessageBox(quelbyProcess_->id());
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->title, editor_texts::kEntryCaption);
  EXPECT_EQ(refused->text, std::wstring(editor_texts::kPathNotAnsi) + L"\r\n\r\n" + ai23_.wstring());
  ClickId(refused->window, IDOK);
  ASSERT_TRUE(Closed(finding, 15000));
  EXPECT_EQ(MainRows(), (Texts{L"adobe illustrator 2021" + kGap + draw_.wstring(), L"CS6" + kGap + cs6,
                               L"Illustrator 10" + kGap + ai10_.wstring(),
                               L"Adobe Illustrator 2021 (25.2)" + kGap + ai25_.wstring()}));

  // Closing asks to save, as after any change; the list is saved as shown.
  PostMessageW(GetDlgItem(main_, kQuelbyEnd), BM_CLICK, 0, 0);
  const auto question = WaitForMessageBox(quelbyProcess_->id());
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, editor_texts::kSaveQuestion);
  ClickId(question->window, IDYES);
  ASSERT_TRUE(quelbyProcess_->Ended());
  const std::string names = box_.Read(L"name.ini");
  EXPECT_NE(names.find("name3=Illustrator 10\r\npath3=" + Ansi(ai10_) + "\r\n"), std::string::npos) << names;
  EXPECT_NE(names.find("name4=Adobe Illustrator 2021 (25.2)\r\npath4=" + Ansi(ai25_) + "\r\n"), std::string::npos)
      << names;
}

TEST_F(FindAppsTest, CancellingWhileFindingClosesAtOnceAndAddsNothing) {
  Register();
  // Uninstall entries over the prefix's Windows folder keep finding busy for a while.
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  for (int i = 0; i < 40; ++i) {
    SetText(kMachine, kUninstall + std::wstring(L"Test.Slow\\") + std::to_wstring(i), L"InstallLocation", windows);
  }
  SetText(kMachine, kUninstall + std::wstring(L"Test.Slow"), L"InstallLocation", windows);
  StartQuelby();
  const Texts before = MainRows();
  const HWND finding = OpenFinding();
  ASSERT_TRUE(finding);
  EXPECT_EQ(Caption(GetDlgItem(finding, kFindStatus)), editor_texts::kFindSearching);
  PressKey(finding, VK_ESCAPE);
  EXPECT_TRUE(Closed(finding, 3000));
  EXPECT_EQ(MainRows(), before);
  // Nothing changed: closing asks nothing.
  PostMessageW(GetDlgItem(main_, kQuelbyEnd), BM_CLICK, 0, 0);
  EXPECT_TRUE(quelbyProcess_->Ended());
}

TEST_F(FindAppsTest, AnEmptyListOpensFindingOnceByItself) {
  fs::remove(box_.Path(L"name.ini"));
  StartQuelby();
  const HWND finding = WaitForFinding();
  ASSERT_TRUE(finding);
  EXPECT_EQ(GetWindow(finding, GW_OWNER), main_);
  EXPECT_EQ(FinishedStatus(finding), editor_texts::kFindNothing);
  ClickId(finding, IDCANCEL);
  ASSERT_TRUE(Closed(finding, 3000));
  Sleep(500);
  EXPECT_FALSE(IsWindow(WaitForCaption(quelbyProcess_->id(), editor_texts::kFindCaption, 500)));
  EXPECT_TRUE(MainRows().empty());
  PostMessageW(GetDlgItem(main_, kQuelbyEnd), BM_CLICK, 0, 0);
  EXPECT_TRUE(quelbyProcess_->Ended());
}

}  // namespace
