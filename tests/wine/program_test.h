// The sandbox that the tests of the programs start from, as a fixture: both programs beside their
// INI files, two stand-in drawing applications listed in name.ini, link.ini with the marker entry
// alone, and what the tests do with them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"

namespace drive {

// link.ini as the list editor leaves it: the marker entry alone.
inline const std::string kFreshLinkIni = "[main]\r\nQuelby=1\r\n";

class ProgramTest : public ::testing::Test {
 protected:
  // name.ini lists "Draw" (draw_) and "レイアウト" (layout_).
  ProgramTest();

  // The launcher started as `"...\Varnock.exe"` followed by `tail`, exactly.
  std::unique_ptr<Process> StartLauncher(const std::wstring& tail) const;
  // The launcher started for one file, its path in quotes.
  std::unique_ptr<Process> Open(const fs::path& file) const;
  // The launcher's selection dialog, and its caption.
  static std::wstring SelectCaption();
  static HWND WaitForSelect(const Process& launcher, DWORD milliseconds = 30000);
  // Starts the launcher, expects one message box and closes it with OK; the launcher then ends.
  MessageBoxView ExpectMessage(const std::wstring& tail) const;

  // name.ini with these entries, numbered from 1.
  void PutNames(const std::vector<std::pair<std::string, fs::path>>& entries) const;
  // link.ini with the marker and these entries (LinkEntry).
  void PutLinks(const std::string& entries) const;
  // One entry of link.ini, each value quoted as the launcher writes it.
  static std::string LinkEntry(int number, const std::string& link, const std::string& path,
                               const std::string& version);

  // The command lines that a stand-in program was started with, once `count` have arrived.
  std::vector<std::wstring> Started(const fs::path& program, std::size_t count = 1) const;
  // The command line that the launcher gives a program for a file.
  static std::wstring StartOf(const fs::path& program, const fs::path& file);
  static std::string Ansi(const fs::path& path) { return ToAnsi(path.wstring()); }

  Sandbox box_;
  const fs::path launcher_;
  const fs::path quelby_;
  const fs::path draw_;
  const fs::path layout_;
};

}  // namespace drive
