// Launchers and the list editor under Wine, at the same time: several launchers store their
// choices at once, repeatedly, while the list editor saves now and then; link.ini must stay whole.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "../../editor/editor_texts.h"
#include "../../editor/win/editor_win.h"
#include "../../launcher/win/launcher_win.h"
#include "file_io.h"
#include "link_lock.h"
#include "program_test.h"

namespace {

using namespace drive;

constexpr int kLaunchers = 4;
constexpr int kRounds = 4;

// What is wrong with the text of link.ini, or empty when it is whole: the section, the marker,
// and entries numbered from 1 without gaps, each with its three keys.
std::string Flaw(const std::string& bytes) {
  if (bytes.rfind("[main]\r\nQuelby=1\r\n", 0) != 0) return "no section and marker at the start";
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) return "no line end at the end";
  std::map<int, std::set<std::string>> keys;
  std::istringstream lines(bytes.substr(18));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line.back() != '\r') return "a line without CR LF";
    const std::size_t digits = line.find_first_of("0123456789");
    const std::size_t equals = line.find('=');
    if (digits == std::string::npos || equals == std::string::npos || equals < digits) return "a stray line: " + line;
    const std::string word = line.substr(0, digits);
    if (word != "link" && word != "path" && word != "CreatorVersion") return "an unknown key: " + line;
    if (line.compare(equals + 1, 1, "\"") != 0 || line.compare(line.size() - 2, 1, "\"") != 0)
      return "unquoted: " + line;
    if (!keys[std::stoi(line.substr(digits, equals - digits))].insert(word).second) return "a key twice: " + line;
  }
  int expected = 1;
  for (const auto& [number, words] : keys) {
    if (number != expected++) return "a gap before entry " + std::to_string(number);
    if (words.size() != 3) return "entry " + std::to_string(number) + " is incomplete";
  }
  return {};
}

// The creator texts stored in link.ini, in the order of their numbers.
std::vector<std::string> StoredPairs(const std::string& bytes) {
  std::vector<std::string> pairs;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("link", 0) == 0)
      pairs.push_back(line.substr(line.find("=\"") + 2, line.size() - line.find("=\"") - 4));
  }
  return pairs;
}

class Concurrency : public ProgramTest {};

TEST_F(Concurrency, LaunchersStoringAtOnceAndTheEditorSavingLoseNothingAndTearNothing) {
  // Every read in between sees a whole file.
  std::atomic<bool> watching{true};
  std::atomic<int> reads{0};
  std::string torn;
  std::thread watcher([&] {
    while (watching) {
      std::string bytes;
      const fileio::ReadStatus status = fileio::ReadAll(box_.Path(L"link.ini"), bytes);
      if (status != fileio::ReadStatus::kOk) {
        torn = status == fileio::ReadStatus::kMissing ? "link.ini was missing" : "link.ini could not be read";
      } else if (const std::string flaw = Flaw(bytes); !flaw.empty()) {
        torn = flaw;
      }
      if (!torn.empty()) return;
      ++reads;
      Sleep(1);
    }
  });

  std::set<std::string> expected;  // stored since the last save
  std::size_t starts = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const bool save = round % 2 == 1;
    std::vector<std::unique_ptr<Process>> launchers;
    std::vector<std::string> pairs;
    for (int k = 0; k < kLaunchers; ++k) {
      pairs.push_back("Pair " + std::to_string(round) + "-" + std::to_string(k));
      const fs::path file =
          box_.Put(L"files\\" + std::to_wstring(k) + L".eps", "%!PS-Adobe-3.0\r\n%%Creator: " + pairs.back() + "\r\n");
      launchers.push_back(std::make_unique<Process>(launcher_, Quoted(launcher_) + L" " + Quoted(file)));
    }
    std::vector<HWND> dialogs;
    for (const auto& process : launchers) {
      dialogs.push_back(WaitForCaption(process->id(), L"Varnock 3.0", 60000));
      ASSERT_TRUE(dialogs.back());
      SendDlgItemMessageW(dialogs.back(), launcher_ids::kSelectAlways, BM_SETCHECK, BST_CHECKED, 0);
    }
    std::unique_ptr<Process> editor;
    HWND question = nullptr;
    if (save) {
      // An edit confirmed with OK is a change; closing then asks whether to save.
      editor = std::make_unique<Process>(quelby_, Quoted(quelby_));
      HWND main = WaitForCaption(editor->id(), editor_texts::kListCaption, 60000);
      ASSERT_TRUE(main);
      SendDlgItemMessageW(main, editor_ids::kQuelbyList, LB_SETCURSEL, 0, 0);
      PostMessageW(GetDlgItem(main, editor_ids::kQuelbyEdit), BM_CLICK, 0, 0);
      HWND entry = WaitForCaption(editor->id(), editor_texts::kEntryCaption, 60000);
      ASSERT_TRUE(entry);
      PostMessageW(GetDlgItem(entry, editor_ids::kEditOk), BM_CLICK, 0, 0);
      for (const ULONGLONG end = GetTickCount64() + 30000; IsWindow(entry) && GetTickCount64() < end;) Sleep(10);
      PostMessageW(GetDlgItem(main, editor_ids::kQuelbyEnd), BM_CLICK, 0, 0);
      const auto box = WaitForMessageBox(editor->id(), 60000);
      ASSERT_TRUE(box);
      question = box->window;
    }
    // All at once: every OK, and the editor's Yes in the middle of them.
    for (std::size_t k = 0; k < dialogs.size(); ++k) {
      PostMessageW(GetDlgItem(dialogs[k], IDOK), BM_CLICK, 0, 0);
      if (question && k == dialogs.size() / 2) PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    }
    for (const auto& process : launchers) ASSERT_TRUE(process->Ended(60000)) << "a launcher did not end";
    if (editor) {
      ASSERT_TRUE(editor->Ended(60000));
    }
    starts += launchers.size();

    const std::vector<std::string> stored = StoredPairs(box_.Read(L"link.ini"));
    const std::set<std::string> unique(stored.begin(), stored.end());
    EXPECT_EQ(unique.size(), stored.size()) << "an association stored twice";
    if (save) {
      // Those stored before the save are gone, those after it stay; nothing else is there.
      expected.clear();
      for (const std::string& pair : stored) {
        EXPECT_NE(std::find(pairs.begin(), pairs.end(), pair), pairs.end()) << pair << " survived the save";
      }
      expected = unique;
    } else {
      expected.insert(pairs.begin(), pairs.end());
      EXPECT_EQ(unique, expected) << "an association was lost";
    }
  }
  watching = false;
  watcher.join();
  EXPECT_EQ(torn, "");
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(Started(draw_, starts).size(), starts) << "every launcher started the program";
  std::printf("  %d whole reads of link.ini while it changed\n", reads.load());
}

TEST_F(Concurrency, TheEditorsSaveWaitsForALauncherThatIsStoring) {
  const std::string linked = "[main]\r\nQuelby=1\r\nlink1=\"A\"\r\npath1=\"" + Ansi(draw_) + "\"\r\n";
  box_.Put(L"link.ini", linked);
  auto lock = std::make_unique<linklock::LinkIniLock>(box_.Path(L"link.ini"));
  ASSERT_TRUE(lock->held());
  Process editor(quelby_, Quoted(quelby_));
  HWND main = WaitForCaption(editor.id(), editor_texts::kListCaption, 60000);
  ASSERT_TRUE(main);
  SendDlgItemMessageW(main, editor_ids::kQuelbyList, LB_SETCURSEL, 0, 0);
  PostMessageW(GetDlgItem(main, editor_ids::kQuelbyDelete), BM_CLICK, 0, 0);
  PostMessageW(GetDlgItem(main, editor_ids::kQuelbyEnd), BM_CLICK, 0, 0);
  const auto question = WaitForMessageBox(editor.id(), 60000);
  ASSERT_TRUE(question);
  PostMessageW(GetDlgItem(question->window, IDYES), BM_CLICK, 0, 0);
  Sleep(1500);
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(box_.Read(L"link.ini"), linked) << "reset while a launcher held the lock";
  lock.reset();
  ASSERT_TRUE(editor.Ended(60000));
  EXPECT_EQ(box_.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
}

}  // namespace
