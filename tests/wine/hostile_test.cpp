// The launcher under Wine against hostile input: odd files and names, huge and sparse files, a
// link.ini that cannot be written or is held by another program, full tables, long header values,
// and a launcher killed while it writes link.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>

#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "link_lock.h"
#include "program_test.h"

#include <winioctl.h>

namespace {

using namespace drive;
using namespace launcher_ids;

const std::string& kFreshLink = kFreshLinkIni;
const std::string kHeader = "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: Example Draw 1.0\r\n%%AI8_CreatorVersion: 1.0.2\r\n";
const std::wstring kStoreFailed = std::wstring(launcher_texts::kStoreFailed) + L"\r\n\r\n";

// A folder whose path is over 260 characters, inside `parent`; emptied and removed when it goes,
// since the sandbox's own clean-up cannot walk so deep. Its files are named in the long form.
class DeepFolder {
 public:
  explicit DeepFolder(const fs::path& parent) : parent_(parent.wstring()), path_(parent_) {
    while (path_.size() < 300) path_ += L"\\" + std::wstring(40, L'd');
    fs::create_directories(Long(path_));
  }
  ~DeepFolder() {
    WIN32_FIND_DATAW found{};
    const winhandle::FindHandle files(FindFirstFileW(Long(path_ + L"\\*").c_str(), &found));
    for (BOOL more = static_cast<bool>(files); more; more = FindNextFileW(files.get(), &found)) {
      DeleteFileW(Long(File(found.cFileName).wstring()).c_str());
    }
    for (std::wstring folder = path_; folder.size() > parent_.size(); folder.resize(folder.find_last_of(L'\\'))) {
      RemoveDirectoryW(Long(folder).c_str());
    }
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;

  const std::wstring& path() const { return path_; }
  fs::path File(const std::wstring& name) const { return path_ + L"\\" + name; }
  void Put(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(fs::path(Long(File(name).wstring())), std::ios::binary) << bytes;
  }
  std::string Read(const std::wstring& name) const {
    std::ifstream file(fs::path(Long(File(name).wstring())), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  static std::wstring Long(const std::wstring& path) { return L"\\\\?\\" + path; }

 private:
  std::wstring parent_;
  std::wstring path_;
};

class Hostile : public ProgramTest {
 protected:
  std::unique_ptr<Process> Start(const std::wstring& argument) { return StartLauncher(L" " + argument); }
  std::unique_ptr<Process> Start(const fs::path& file) { return Open(file); }

  std::wstring Item(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

  // Picks the first application, ticking "remember" when asked to.
  void Choose(HWND dialog, bool remember) {
    if (remember) SendDlgItemMessageW(dialog, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    ClickId(dialog, IDOK);
  }

  // Runs the launcher on a file of unknown format through the dialog; the program must get it.
  void ExpectChooserThenStart(const fs::path& file) {
    auto launcher = Start(file);
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Item(dialog, kSelectVersionString), launcher_texts::kUnknownFormat);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kSelectAlways)));
    Choose(dialog, true);
    ASSERT_TRUE(launcher->Ended());
    EXPECT_EQ(Started(), std::vector<std::wstring>{StartOf(file)});
    EXPECT_EQ(box_.Read(L"link.ini"), kFreshLink);
  }

  MessageBoxView ExpectMessage(const std::wstring& argument) { return ProgramTest::ExpectMessage(L" " + argument); }

  std::vector<std::wstring> Started(std::size_t count = 1) { return ProgramTest::Started(draw_, count); }
  std::wstring StartOf(const fs::path& file) const { return ProgramTest::StartOf(draw_, file); }
  std::string Draw() const { return Ansi(draw_); }

  const fs::path eps_ = box_.Put(L"files\\new.eps", kHeader);
};

TEST_F(Hostile, AnEmptyFileOrOneHeldWithoutSharingIsOfUnknownFormat) {
  ExpectChooserThenStart(box_.Put(L"files\\empty.eps", ""));
  fs::remove(box_.Path(L"Program Files\\Draw\\record.txt"));
  const winhandle::FileHandle held(CreateFileW(eps_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  ExpectChooserThenStart(eps_);
}

TEST_F(Hostile, AFolderOrADeviceNameIsAFileNotFound) {
  for (const std::wstring& argument : {Quoted(box_.Path(L"files")), std::wstring(L"NUL"), std::wstring(L"CON"),
                                       std::wstring(L"\"con\""), std::wstring(L"C:\\nul")}) {
    SCOPED_TRACE(ToUtf8(argument));
    std::wstring path = argument;
    if (path.front() == L'"') path = path.substr(1, path.size() - 2);
    EXPECT_EQ(ExpectMessage(argument).text, std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + path);
  }
  EXPECT_FALSE(box_.Exists(L"Program Files\\Draw\\record.txt"));
}

TEST_F(Hostile, AFileNameOutsideTheAnsiCodePageAndAPathOver260CharactersReachTheProgramExactly) {
  box_.Put(L"link.ini", kFreshLink + LinkEntry(1, "Example Draw 1.0", Draw(), "1.0.2"));
  const fs::path foreign = box_.Put(L"files\\caf\x00E9 \xD55C\xAE00 \x0101.eps", kHeader);
  const DeepFolder deep(box_.Path(L"files"));
  deep.Put(L"long.eps", kHeader);
  const fs::path longPath = deep.File(L"long.eps");
  ASSERT_GT(longPath.wstring().size(), 260u);
  for (const fs::path& file : {foreign, longPath}) {
    auto launcher = Start(file);
    ASSERT_TRUE(launcher->Ended());
  }
  EXPECT_EQ(Started(2), (std::vector<std::wstring>{StartOf(foreign), StartOf(longPath)}));
}

TEST_F(Hostile, ALauncherInAFolderOver260CharactersStoresItsChoiceAndFindsItAgain) {
  const DeepFolder deep(box_.Path(L"programs"));
  ASSERT_TRUE(CopyFileW(launcher_.c_str(), DeepFolder::Long(deep.File(L"Varnock.exe").wstring()).c_str(), FALSE));
  deep.Put(L"link.ini", kFreshLink);
  deep.Put(L"name.ini", box_.Read(L"name.ini"));
  ASSERT_TRUE(StartThroughWineLoader(deep.File(L"Varnock.exe"), L" " + Quoted(eps_)));
  HWND dialog = WaitForWindow(
      0, [](HWND window) { return Text(window) == SelectCaption(); }, 30000);
  ASSERT_TRUE(dialog) << "no chooser";
  DWORD id = 0;
  GetWindowThreadProcessId(dialog, &id);
  const winhandle::KernelHandle launcher(OpenProcess(SYNCHRONIZE, FALSE, id));
  Choose(dialog, true);
  ASSERT_EQ(WaitForSingleObject(launcher.get(), 15000), WAIT_OBJECT_0);
  EXPECT_EQ(deep.Read(L"link.ini"), kFreshLink + LinkEntry(1, "Example Draw 1.0", Draw(), "1.0.2"));
  // No one answers a chooser now: the second start reaches the program only through the entry.
  ASSERT_TRUE(StartThroughWineLoader(deep.File(L"Varnock.exe"), L" " + Quoted(eps_)));
  EXPECT_EQ(Started(2), (std::vector<std::wstring>{StartOf(eps_), StartOf(eps_)}));
}

TEST_F(Hostile, ASparseFileOf5GBWithoutAHeaderGetsTheChooserAfterTheLastScan) {
  const fs::path sparse = box_.Path(L"files\\huge.eps");
  winhandle::FileHandle file(CreateFileW(sparse.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD ignored = 0;
  DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER size{};
  size.QuadPart = 5LL << 30;
  ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.get()));
  file.reset();
  auto launcher = Start(sparse);
  HWND dialog = WaitForSelect(*launcher);  // the scans stop at their limit, far before the end
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Item(dialog, kSelectVersionString), launcher_texts::kUnknownFormat);
  ClickId(dialog, IDCANCEL);
  EXPECT_TRUE(launcher->Ended());
}

TEST_F(Hostile, AChoiceThatCannotBeStoredStartsTheProgramAndSaysSo) {
  struct Case {
    const char* name;
    std::function<winhandle::FileHandle()> spoil;
    std::wstring number;
  };
  const fs::path ini = box_.Path(L"link.ini");
  const Case cases[] = {
      {"read-only",
       [&] {
         SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
         return winhandle::FileHandle();
       },
       L"(エラー番号:-2147024891)"},
      {"held without sharing",
       [&] {
         return winhandle::FileHandle(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
       },
       L"(エラー番号:-2147024864)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(box_.Path(L"Program Files\\Draw\\record.txt"));
    auto launcher = Start(eps_);
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    winhandle::FileHandle held = c.spoil();
    Choose(dialog, true);
    const auto box = WaitForMessageBox(launcher->id());
    ASSERT_TRUE(box);
    EXPECT_EQ(Started(), std::vector<std::wstring>{StartOf(eps_)}) << "the program starts all the same";
    EXPECT_EQ(box->text.substr(0, kStoreFailed.size()), kStoreFailed);
    EXPECT_NE(box->text.find(c.number), std::wstring::npos) << ToUtf8(box->text);
    EXPECT_EQ(box->title, L"Varnock");
    EXPECT_TRUE(box->icon);
    Click(GetDlgItem(box->window, IDOK));
    EXPECT_TRUE(launcher->Ended());
    held.reset();
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(box_.Read(L"link.ini"), kFreshLink);
  }
}

TEST_F(Hostile, StoringWaitsForTheLockAndNumbersFromWhatItsHolderWrote) {
  const fs::path ini = box_.Path(L"link.ini");
  // The same file spelt otherwise is the same lock.
  std::wstring odd = box_.Path(L"files\\..\\LINK.INI").wstring();
  std::replace(odd.begin(), odd.end(), L'\\', L'/');
  auto lock = std::make_unique<linklock::LinkIniLock>(odd);
  ASSERT_TRUE(lock->held());
  auto launcher = Start(eps_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  Choose(dialog, true);
  Sleep(1500);
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLink) << "stored without the lock";
  EXPECT_TRUE(launcher->Running());
  box_.Put(L"link.ini", kFreshLink + LinkEntry(1, "Other 1", Draw(), ""));
  lock.reset();
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"),
            kFreshLink + LinkEntry(1, "Other 1", Draw(), "") + LinkEntry(2, "Example Draw 1.0", Draw(), "1.0.2"));
  EXPECT_EQ(Started(), std::vector<std::wstring>{StartOf(eps_)});

  // A holder that ended without releasing the lock does not block the next store.
  std::thread([&] { new linklock::LinkIniLock(ini); }).join();  // left as a killed holder leaves it
  box_.Put(L"link.ini", kFreshLink);
  launcher = Start(eps_);
  dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  Choose(dialog, true);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLink + LinkEntry(1, "Example Draw 1.0", Draw(), "1.0.2"));
}

TEST_F(Hostile, ALinkIniThatIsAFolderIsMissing) {
  fs::remove(box_.Path(L"link.ini"));
  fs::create_directories(box_.Path(L"link.ini"));
  const auto box = ExpectMessage(Quoted(eps_));
  EXPECT_EQ(box.text, launcher_texts::kLinkIniMissing);
  EXPECT_TRUE(fs::is_directory(box_.Path(L"link.ini")));
}

TEST_F(Hostile, FullTablesAreReadUpToTheirLimits) {
  std::string names = "[main]\r\n";
  for (int i = 1; i <= 100; ++i) {
    names += "name" + std::to_string(i) + "=App " + std::to_string(i) + "\r\npath" + std::to_string(i) + "=" + Draw() +
             "\r\n";
  }
  box_.Put(L"name.ini", names);
  std::string links = kFreshLink;
  for (int i = 1; i <= 998; ++i) links += LinkEntry(i, "Other " + std::to_string(i), Draw(), "");
  // Entry 999 is read: the file opens directly.
  box_.Put(L"link.ini", links + LinkEntry(999, "Example Draw 1.0", Draw(), "1.0.2"));
  {
    auto launcher = Start(eps_);
    ASSERT_TRUE(launcher->Ended());
    EXPECT_EQ(Started(), std::vector<std::wstring>{StartOf(eps_)});
  }
  // Entry 1000 is never read: the dialog asks, with the first 99 applications.
  links += LinkEntry(999, "Other 999", Draw(), "");
  const std::string with1000 = links + LinkEntry(1000, "Example Draw 1.0", "C:\\old.exe", "1.0.2");
  box_.Put(L"link.ini", with1000);
  auto launcher = Start(eps_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  HWND list = GetDlgItem(dialog, kSelectNames);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 99);
  wchar_t last[32] = {};
  SendMessageW(list, LB_GETTEXT, 98, reinterpret_cast<LPARAM>(last));
  EXPECT_STREQ(last, L"App 99");
  Choose(dialog, true);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), links + LinkEntry(1000, "Example Draw 1.0", Draw(), "1.0.2"))
      << "stored as number 1000, over the entry that is never read";
}

TEST_F(Hostile, HeaderValuesOver1023BytesAreNotOfferedForRemembering) {
  for (const std::size_t size : {1023u, 1024u, 5000u}) {
    const std::string creator = "Example " + std::string(size - 8, 'c');
    SCOPED_TRACE(creator.size());
    box_.Put(L"files\\long.eps", "%!PS-Adobe-3.0\r\n%%Creator: " + creator +
                                     "\r\n%%AI8_CreatorVersion: " + std::string(creator.size(), 'v') + "\r\n");
    auto launcher = Start(box_.Path(L"files\\long.eps"));
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    const bool storable = creator.size() <= 1023;
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, kSelectAlways)) != FALSE, storable);
    Choose(dialog, true);
    ASSERT_TRUE(launcher->Ended());
    if (storable) {
      // Stored, and found again: the next run opens the program without asking.
      auto next = Start(box_.Path(L"files\\long.eps"));
      EXPECT_TRUE(next->Ended());
      EXPECT_EQ(Started(2).size(), 2u);
    } else {
      EXPECT_EQ(box_.Read(L"link.ini").find(creator.substr(0, 20)), std::string::npos);
    }
    fs::remove(box_.Path(L"Program Files\\Draw\\record.txt"));
    box_.Put(L"link.ini", kFreshLink);
  }
}

TEST_F(Hostile, ALauncherKilledWhileItWritesLeavesTheOldOrTheNewFileWhole) {
  std::string links = kFreshLink;
  for (int i = 1; i <= 999; ++i) links += LinkEntry(i, "Other " + std::to_string(i), Draw(), std::string(60, 'v'));
  const std::string before = links;
  const std::string after = links + LinkEntry(1000, "Example Draw 1.0", Draw(), "1.0.2");
  box_.Put(L"link.ini", before);
  int old = 0, replaced = 0;
  for (int round = 0; round < 12; ++round) {
    auto launcher = Start(eps_);
    HWND dialog = WaitForSelect(*launcher);
    ASSERT_TRUE(dialog);
    SendDlgItemMessageW(dialog, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Sleep(static_cast<DWORD>(round * 25));
    launcher.reset();  // killed, wherever it is
    const std::string now = box_.Read(L"link.ini");
    ASSERT_TRUE(now == before || now == after) << "a torn link.ini of " << now.size() << " bytes";
    ++(now == before ? old : replaced);
    box_.Put(L"link.ini", before);
  }
  std::printf("  killed launchers left the old file %d times, the new one %d times\n", old, replaced);
  // The lock that a killed launcher held is free for the next one.
  auto launcher = Start(eps_);
  HWND dialog = WaitForSelect(*launcher);
  ASSERT_TRUE(dialog);
  Choose(dialog, true);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(box_.Read(L"link.ini"), after);
}

}  // namespace
