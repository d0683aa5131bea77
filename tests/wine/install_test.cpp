// The installer and the portable zip under Wine, each scenario in a fresh Wine prefix prepared by
// scripts/install-test.sh: install, open an .eps file the way the shell does, upgrade, uninstall,
// a refused downgrade, and the unpacked zip.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <msi.h>
#include <msiquery.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "../../editor/editor_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "driver.h"
#include "win_handle.h"

namespace {

using namespace drive;

const std::string kMarkerOnly = "[main]\r\nQuelby=1\r\n";
const std::string kIllustrator10 =
    "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: Adobe Illustrator(R) 10.0\r\n%%AI8_CreatorVersion: 10.0\r\n";
const std::wstring kDowngradeMessage =
    L"新しいバージョンの Varnock がすでにインストールされています。"
    L"このバージョンをインストールするには、先に Varnock をアンインストールしてください。";
// What another drawing application registered for .eps before Varnock came.
const std::wstring kOtherProgId = L"OtherDraw.Document";

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  fs::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

// A key under HKEY_CURRENT_USER opened for reading; none when it is missing.
winhandle::RegistryKey UserKey(const std::wstring& subkey) {
  winhandle::RegistryKey key;
  RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, key.receive());
  return key;
}

// A string value under HKEY_CURRENT_USER, or nothing when it is missing or not a string.
std::optional<std::wstring> UserString(const std::wstring& key, const std::wstring& name) {
  DWORD type = 0, size = 0;
  const wchar_t* value = name.empty() ? nullptr : name.c_str();
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

bool UserKeyExists(const std::wstring& key) { return static_cast<bool>(UserKey(key)); }

void SetUserString(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

struct RegistryValue {
  std::wstring key, name, data;
};

// Every value the installer writes: the launcher as an opener of .eps and .ai files, under the
// user's own classes, and nothing else.
std::vector<RegistryValue> Registration(const fs::path& folder) {
  const std::wstring launcher = (folder / L"Varnock.exe").wstring();
  return {
      {L"Software\\Classes\\Varnock.EpsFile", L"", L"EPS ファイル"},
      {L"Software\\Classes\\Varnock.EpsFile\\DefaultIcon", L"", launcher + L",0"},
      {L"Software\\Classes\\Varnock.EpsFile\\shell\\open\\command", L"", Quoted(launcher) + L" \"%1\""},
      {L"Software\\Classes\\Varnock.EpsFile\\shell\\open", L"MultiSelectModel", L"Player"},
      {L"Software\\Classes\\.eps\\OpenWithProgids", L"Varnock.EpsFile", L""},
      {L"Software\\Classes\\Varnock.AiFile", L"", L"AI ファイル"},
      {L"Software\\Classes\\Varnock.AiFile\\DefaultIcon", L"", launcher + L",0"},
      {L"Software\\Classes\\Varnock.AiFile\\shell\\open\\command", L"", Quoted(launcher) + L" \"%1\""},
      {L"Software\\Classes\\Varnock.AiFile\\shell\\open", L"MultiSelectModel", L"Player"},
      {L"Software\\Classes\\.ai\\OpenWithProgids", L"Varnock.AiFile", L""},
      {L"Software\\Classes\\Applications\\Varnock.exe", L"FriendlyAppName", L"Varnock"},
      {L"Software\\Classes\\Applications\\Varnock.exe\\SupportedTypes", L".eps", L""},
      {L"Software\\Classes\\Applications\\Varnock.exe\\SupportedTypes", L".ai", L""},
      {L"Software\\Varnock\\Capabilities", L"ApplicationName", L"Varnock"},
      {L"Software\\Varnock\\Capabilities", L"ApplicationDescription",
       L".EPS ファイルを作成ソフトに合わせて開くランチャー"},
      {L"Software\\Varnock\\Capabilities\\FileAssociations", L".eps", L"Varnock.EpsFile"},
      {L"Software\\Varnock\\Capabilities\\FileAssociations", L".ai", L"Varnock.AiFile"},
      {L"Software\\RegisteredApplications", L"Varnock", L"Software\\Varnock\\Capabilities"},
  };
}

struct Shortcut {
  fs::path target, folder;
};

std::optional<Shortcut> ReadShortcut(const fs::path& link) {
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell)))) {
    return std::nullopt;
  }
  std::optional<Shortcut> result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shell->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(shell->GetWorkingDirectory(folder, MAX_PATH))) {
      std::wstring start = folder;
      if (start.size() > 3 && start.back() == L'\\') start.pop_back();  // the installer's folders end in one
      result = Shortcut{target, start};
    }
    file->Release();
  }
  shell->Release();
  return result;
}

struct MsiTraits {
  using Handle = MSIHANDLE;
  static Handle None() { return 0; }
  static void Release(Handle handle) { MsiCloseHandle(handle); }
};
using MsiHandle = winhandle::Owned<MsiTraits>;

// The first column of the first row that a query of the package's database gives.
std::wstring QueryPackage(const fs::path& package, const std::wstring& query) {
  MsiHandle database, view, record;
  if (MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, database.receive()) != ERROR_SUCCESS ||
      MsiDatabaseOpenViewW(database.get(), query.c_str(), view.receive()) != ERROR_SUCCESS ||
      MsiViewExecute(view.get(), 0) != ERROR_SUCCESS || MsiViewFetch(view.get(), record.receive()) != ERROR_SUCCESS) {
    return L"";
  }
  wchar_t value[256] = {};
  DWORD size = 256;
  MsiRecordGetStringW(record.get(), 1, value, &size);
  return value;
}

std::wstring ProductCode(const fs::path& package) {
  return QueryPackage(package, L"SELECT `Value` FROM `Property` WHERE `Property` = 'ProductCode'");
}

// The version that the package's file table gives a file; Windows Installer replaces an installed
// program only by a higher one, and takes a file without one for a data file.
std::wstring PackagedVersion(const fs::path& package, const std::wstring& file) {
  return QueryPackage(package, L"SELECT `Version` FROM `File` WHERE `File` = '" + file + L"'");
}

std::wstring FileVersion(const fs::path& program) {
  wchar_t version[64] = {};
  DWORD size = 64;
  return MsiGetFileVersionW(program.c_str(), version, &size, nullptr, nullptr) == ERROR_SUCCESS ? version : L"";
}

bool Installed(const fs::path& package) {
  return MsiQueryProductStateW(ProductCode(package).c_str()) == INSTALLSTATE_DEFAULT;
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    package_ = Environment(L"VARNOCK_PACKAGE");
    newerPackage_ = Environment(L"VARNOCK_NEWER_PACKAGE");
    newerPrograms_ = Environment(L"VARNOCK_NEWER_PROGRAMS");
    if (package_.empty() || newerPackage_.empty() || newerPrograms_.empty()) {
      GTEST_SKIP() << "runs in a prefix of its own, from scripts/install-test.sh";
    }
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    com_ = true;
    folder_ = KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Varnock";
    menu_ = KnownFolder(FOLDERID_Programs) / L"Varnock";
    ASSERT_FALSE(folder_.empty() || menu_.empty());
    ASSERT_FALSE(fs::exists(folder_)) << "the prefix is not fresh";
  }

  void TearDown() override {
    if (com_) CoUninitialize();
  }

  // Starts msiexec with an action on the package, without any window (/qn) or with the basic one.
  static std::unique_ptr<Process> StartMsiexec(const std::wstring& action, const fs::path& package,
                                               const std::wstring& ui = L"/qn") {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const fs::path msiexec = fs::path(system) / L"msiexec.exe";
    return std::make_unique<Process>(msiexec, L"msiexec " + action + L" " + Quoted(package) + L" " + ui);
  }

  // Runs msiexec without any window and gives its exit code.
  static DWORD Msiexec(const std::wstring& action, const fs::path& package) {
    const auto install = StartMsiexec(action, package);
    return install->Ended(120000) ? install->ExitCode() : WAIT_TIMEOUT;
  }

  void ExpectPrograms(const fs::path& from) const {
    for (const wchar_t* program : {L"Varnock.exe", L"Quelby.exe"}) {
      EXPECT_EQ(FileVersion(folder_ / program), FileVersion(from / program)) << fs::path(program);
      EXPECT_TRUE(fs::exists(folder_ / program)) << fs::path(program);
      EXPECT_TRUE(ReadFile(folder_ / program) == ReadFile(from / program))
          << fs::path(program) << " is not the packaged one";
    }
  }

  void ExpectRegistered() const {
    for (const auto& value : Registration(folder_)) {
      EXPECT_EQ(UserString(value.key, value.name), value.data) << ToUtf8(value.key + L" " + value.name);
    }
    ExpectOtherApplicationKept();
    const auto shortcut = ReadShortcut(menu_ / L"Quelby.lnk");
    ASSERT_TRUE(shortcut.has_value()) << "no Start-menu shortcut";
    EXPECT_EQ(shortcut->target, folder_ / L"Quelby.exe");
    EXPECT_EQ(shortcut->folder, folder_);
  }

  void ExpectRemoved() const {
    for (const wchar_t* program : {L"Varnock.exe", L"Quelby.exe"}) EXPECT_FALSE(fs::exists(folder_ / program));
    EXPECT_FALSE(fs::exists(menu_)) << "the Start-menu folder stays";
    for (const auto& value : Registration(folder_)) {
      EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, value.key.c_str(), value.name.empty() ? nullptr : value.name.c_str(),
                             RRF_RT_ANY, nullptr, nullptr, nullptr),
                ERROR_FILE_NOT_FOUND)
          << ToUtf8(value.key + L" " + value.name) << " stays";
    }
    for (const wchar_t* key : {L"Software\\Classes\\Varnock.EpsFile", L"Software\\Classes\\Varnock.AiFile",
                               L"Software\\Classes\\Applications\\Varnock.exe", L"Software\\Varnock"}) {
      EXPECT_FALSE(UserKeyExists(key)) << ToUtf8(key) << " stays";
    }
    ExpectOtherApplicationKept();
  }

  // Starts what the Start-menu shortcut names, as a click on it would, and closes it again.
  void ExpectTheShortcutStartsTheListEditor() const {
    const std::wstring link = (menu_ / L"Quelby.lnk").wstring();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.lpFile = link.c_str();
    request.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&request)) << GetLastError();
    // The shell gives no handle of a program started through a shortcut: find it by its window.
    HWND window = nullptr;
    for (const ULONGLONG end = GetTickCount64() + 15000; !window && GetTickCount64() < end; Sleep(20)) {
      window = FindWindowW(nullptr, editor_texts::kListCaption);
    }
    ASSERT_TRUE(window) << "the list editor shows no window";
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const winhandle::KernelHandle editor(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(editor) << GetLastError();
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(editor.get(), 0, image, &size);
    EXPECT_EQ(fs::path(image), folder_ / L"Quelby.exe");
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(editor.get(), 15000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the list editor did not end";
      TerminateProcess(editor.get(), 99);
    }
  }

  // Another application's registration of both kinds is left as it was, and the shell's own
  // choice untouched.
  static void ExpectOtherApplicationKept() {
    for (const wchar_t* extension : {L".eps", L".ai"}) {
      const std::wstring key = std::wstring(L"Software\\Classes\\") + extension;
      EXPECT_EQ(UserString(key, L""), kOtherProgId) << "the default of " << ToUtf8(extension) << " changed";
      EXPECT_EQ(UserString(key + L"\\OpenWithProgids", kOtherProgId), L"");
      EXPECT_FALSE(UserKeyExists(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" +
                                 std::wstring(extension) + L"\\UserChoice"));
    }
  }

  static void RegisterOtherApplication() {
    for (const wchar_t* extension : {L".eps", L".ai"}) {
      const std::wstring key = std::wstring(L"Software\\Classes\\") + extension;
      SetUserString(key, L"", kOtherProgId);
      SetUserString(key + L"\\OpenWithProgids", kOtherProgId, L"");
    }
  }

  // Opens the file through the open command registered for its kind, as the shell does on a
  // double-click, and gives the program that it started.
  static fs::path OpenAsTheShellDoes(const fs::path& file, const wchar_t* kind = L"Varnock.EpsFile") {
    // Wine does not show the user's own classes in HKEY_CLASSES_ROOT: name the class key itself.
    const winhandle::RegistryKey progId = UserKey(std::wstring(L"Software\\Classes\\") + kind);
    EXPECT_TRUE(progId.get());
    if (!progId.get()) return {};
    const std::wstring path = file.wstring();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_CLASSKEY | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hkeyClass = progId.get();
    request.lpVerb = L"open";
    request.lpFile = path.c_str();
    request.nShow = SW_SHOWNORMAL;
    EXPECT_TRUE(ShellExecuteExW(&request)) << GetLastError();
    const winhandle::KernelHandle process(request.hProcess);
    if (!process) return {};
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process.get(), 0, image, &size);
    EXPECT_EQ(WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0);
    return image;
  }

  fs::path package_, newerPackage_, newerPrograms_, folder_, menu_;
  bool com_ = false;
};

TEST_F(InstallTest, InstallOpenUpgradeAndUninstallKeepTheUsersFiles) {
  for (const auto& [package, programs] : {std::pair{package_, BinFolder()}, std::pair{newerPackage_, newerPrograms_}}) {
    for (const wchar_t* file : {L"Varnock", L"Quelby"}) {
      const std::wstring version = FileVersion(programs / (file + std::wstring(L".exe")));
      EXPECT_FALSE(version.empty());
      EXPECT_EQ(PackagedVersion(package, file + std::wstring(L"Exe")), version) << ToUtf8(package.wstring());
    }
  }
  RegisterOtherApplication();
  ASSERT_EQ(Msiexec(L"/i", package_), 0u);
  {
    SCOPED_TRACE("installed");
    ExpectPrograms(BinFolder());
    EXPECT_EQ(ReadFile(folder_ / L"link.ini"), kMarkerOnly);
    EXPECT_FALSE(fs::exists(folder_ / L"name.ini"));
    ExpectRegistered();
    EXPECT_TRUE(Installed(package_));
    ExpectTheShortcutStartsTheListEditor();
  }

  // The user lists a drawing application and opens a file, whose kind the launcher remembers.
  Sandbox box;
  const fs::path draw = box.Install(L"recorder.exe", L"Program Files\\Draw\\draw.exe");
  const fs::path eps = box.Put(L"作業 files\\logo.eps", kIllustrator10);
  const std::string names = "[main]\r\nname1=Draw 10\r\npath1=" + ToAnsi(draw.wstring()) + "\r\n";
  const std::string links = "[main]\r\nQuelby=1\r\nlink1=\"adobe illustrator(r) 10.0\"\r\npath1=\"" +
                            ToAnsi(draw.wstring()) + "\"\r\nCreatorVersion1=\"10.0\"\r\n";
  std::ofstream(folder_ / L"name.ini", std::ios::binary) << names;
  std::ofstream(folder_ / L"link.ini", std::ios::binary) << links;
  {
    SCOPED_TRACE("opened");
    EXPECT_EQ(OpenAsTheShellDoes(eps), folder_ / L"Varnock.exe");
    EXPECT_EQ(box.Recorded(L"Program Files\\Draw"), std::vector<std::wstring>{Quoted(draw) + L" " + Quoted(eps)});
    // An .ai file through "Open with", by the same header.
    const fs::path ai = box.Put(L"作業 files\\logo.ai", kIllustrator10);
    EXPECT_EQ(OpenAsTheShellDoes(ai, L"Varnock.AiFile"), folder_ / L"Varnock.exe");
    EXPECT_EQ(box.Recorded(L"Program Files\\Draw", 2),
              (std::vector<std::wstring>{Quoted(draw) + L" " + Quoted(eps), Quoted(draw) + L" " + Quoted(ai)}));
  }

  ASSERT_EQ(Msiexec(L"/i", newerPackage_), 0u);
  {
    SCOPED_TRACE("upgraded");
    EXPECT_EQ(ReadFile(folder_ / L"name.ini"), names);
    EXPECT_EQ(ReadFile(folder_ / L"link.ini"), links);
    ExpectPrograms(newerPrograms_);
    ExpectRegistered();
    EXPECT_FALSE(Installed(package_)) << "the older version stays installed beside the newer";
    EXPECT_TRUE(Installed(newerPackage_));
    EXPECT_EQ(OpenAsTheShellDoes(eps), folder_ / L"Varnock.exe");
    EXPECT_EQ(box.Recorded(L"Program Files\\Draw", 3).size(), 3u);
  }

  ASSERT_EQ(Msiexec(L"/x", newerPackage_), 0u);
  {
    SCOPED_TRACE("uninstalled");
    ExpectRemoved();
    EXPECT_EQ(ReadFile(folder_ / L"name.ini"), names) << "the application list is lost";
    EXPECT_FALSE(fs::exists(folder_ / L"link.ini")) << "the installed link.ini stays";
    EXPECT_FALSE(Installed(newerPackage_));
  }
}

TEST_F(InstallTest, AnOlderVersionRefusesToReplaceANewerOne) {
  RegisterOtherApplication();
  ASSERT_EQ(Msiexec(L"/i", newerPackage_), 0u);
  const auto older = StartMsiexec(L"/i", package_, L"/qb");
  const auto box = WaitForMessageBox(older->id(), 60000);
  ASSERT_TRUE(box.has_value()) << "no message";
  EXPECT_EQ(box->text, kDowngradeMessage);
  Click(GetDlgItem(box->window, IDOK));
  ASSERT_TRUE(older->Ended(60000));
  EXPECT_EQ(older->ExitCode(), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
  ExpectPrograms(newerPrograms_);
  ExpectRegistered();
  EXPECT_TRUE(Installed(newerPackage_));
  EXPECT_FALSE(Installed(package_));
}

TEST_F(InstallTest, ARebuiltPackageOfTheSameVersionReplacesTheInstalledOne) {
  const fs::path rebuilt = Environment(L"VARNOCK_REBUILT_PACKAGE");
  ASSERT_FALSE(rebuilt.empty());
  ASSERT_NE(ProductCode(rebuilt), ProductCode(package_));
  RegisterOtherApplication();
  ASSERT_EQ(Msiexec(L"/i", package_), 0u);
  std::ofstream(folder_ / L"link.ini", std::ios::binary) << kMarkerOnly << "link1=\"x\"\r\n";
  ASSERT_EQ(Msiexec(L"/i", rebuilt), 0u);
  EXPECT_TRUE(Installed(rebuilt));
  EXPECT_FALSE(Installed(package_)) << "installed twice";
  EXPECT_EQ(ReadFile(folder_ / L"link.ini"), kMarkerOnly + "link1=\"x\"\r\n");
  ExpectPrograms(BinFolder());
  ExpectRegistered();
}

// The portable zip, unpacked into an empty folder by the script.
TEST(PortableTest, TheUnpackedLauncherRunsWithItsOwnLinkIni) {
  const fs::path folder = Environment(L"VARNOCK_PORTABLE");
  if (folder.empty()) GTEST_SKIP() << "runs on an unpacked zip, from scripts/install-test.sh";
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Quelby.exe", L"Varnock.exe", L"link.ini", L"readme.txt"}));
  EXPECT_EQ(ReadFile(folder / L"link.ini"), kMarkerOnly);
  for (const wchar_t* program : {L"Varnock.exe", L"Quelby.exe"}) {
    EXPECT_TRUE(ReadFile(folder / program) == ReadFile(BinFolder() / program)) << fs::path(program);
  }
  const std::string readme = ReadFile(folder / L"readme.txt");
  EXPECT_EQ(readme.substr(0, 3), "\xEF\xBB\xBF") << "Notepad needs the mark to read UTF-8 on Windows 7";
  EXPECT_NE(FromUtf8(readme).find(L"Varnock ポータブル版\r\n"), std::wstring::npos);

  // A kind of file not yet remembered: the launcher asks, and remembers the choice in its own folder.
  Sandbox box;
  const fs::path draw = box.Install(L"recorder.exe", L"Draw\\draw.exe");
  const fs::path eps = box.Put(L"files\\logo.eps", kIllustrator10);
  std::ofstream(folder / L"name.ini", std::ios::binary)
      << "[main]\r\nname1=Draw 10\r\npath1=" + ToAnsi(draw.wstring()) + "\r\n";
  const fs::path launcher = folder / L"Varnock.exe";
  Process run(launcher, Quoted(launcher) + L" " + Quoted(eps));
  HWND dialog = WaitForCaption(run.id(), L"Varnock 3.0");
  ASSERT_TRUE(dialog) << "the launcher did not ask";
  SendDlgItemMessageW(dialog, launcher_ids::kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
  ClickId(dialog, IDOK);
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(box.Recorded(L"Draw"), std::vector<std::wstring>{Quoted(draw) + L" " + Quoted(eps)});
  EXPECT_EQ(ReadFile(folder / L"link.ini"), kMarkerOnly + "link1=\"Adobe Illustrator(R) 10.0\"\r\npath1=\"" +
                                                ToAnsi(draw.wstring()) + "\"\r\nCreatorVersion1=\"10.0\"\r\n");
}

}  // namespace
