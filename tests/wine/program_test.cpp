#include "program_test.h"

#include "../../launcher/launcher_texts.h"
#include "version.h"

namespace drive {

ProgramTest::ProgramTest()
    : launcher_(box_.Install(L"Varnock.exe", L"Varnock.exe")),
      quelby_(box_.Install(L"Quelby.exe", L"Quelby.exe")),
      draw_(box_.Install(L"recorder.exe", L"Program Files\\Draw\\draw.exe")),
      layout_(box_.Install(L"recorder.exe", L"Layout\\layout.exe")) {
  box_.Put(L"link.ini", kFreshLinkIni);
  PutNames({{"Draw", draw_}, {"\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67", layout_}});
}

std::unique_ptr<Process> ProgramTest::StartLauncher(const std::wstring& tail) const {
  return std::make_unique<Process>(launcher_, Quoted(launcher_) + tail);
}

std::unique_ptr<Process> ProgramTest::Open(const fs::path& file) const { return StartLauncher(L" " + Quoted(file)); }

std::wstring ProgramTest::SelectCaption() {
  return std::wstring(launcher_texts::kTitle) + L" " + std::to_wstring(VARNOCK_VERSION_MAJOR) + L"." +
         std::to_wstring(VARNOCK_VERSION_MINOR);
}

HWND ProgramTest::WaitForSelect(const Process& launcher, DWORD milliseconds) {
  return WaitForCaption(launcher.id(), SelectCaption(), milliseconds);
}

MessageBoxView ProgramTest::ExpectMessage(const std::wstring& tail) const {
  auto launcher = StartLauncher(tail);
  const auto box = WaitForMessageBox(launcher->id());
  EXPECT_TRUE(box.has_value());
  if (!box) return {};
  Click(GetDlgItem(box->window, IDOK));
  EXPECT_TRUE(launcher->Ended());
  return *box;
}

void ProgramTest::PutNames(const std::vector<std::pair<std::string, fs::path>>& entries) const {
  std::string names = "[main]\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    names += "name" + n + "=" + entries[i].first + "\r\npath" + n + "=" + Ansi(entries[i].second) + "\r\n";
  }
  box_.Put(L"name.ini", names);
}

void ProgramTest::PutLinks(const std::string& entries) const { box_.Put(L"link.ini", kFreshLinkIni + entries); }

std::string ProgramTest::LinkEntry(int number, const std::string& link, const std::string& path,
                                   const std::string& version) {
  const std::string n = std::to_string(number);
  return "link" + n + "=\"" + link + "\"\r\npath" + n + "=\"" + path + "\"\r\nCreatorVersion" + n + "=\"" + version +
         "\"\r\n";
}

std::vector<std::wstring> ProgramTest::Started(const fs::path& program, std::size_t count) const {
  return box_.Recorded(fs::relative(program.parent_path(), box_.folder()).wstring(), count);
}

std::wstring ProgramTest::StartOf(const fs::path& program, const fs::path& file) {
  return Quoted(program) + L" " + Quoted(file);
}

}  // namespace drive
