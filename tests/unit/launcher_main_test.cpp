#include "launcher_main.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <thread>

#include "error.h"
#include "ini.h"
#include "link_lock.h"
#include "link_table.h"
#include "name_list.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using launcher::Main;

std::wstring Wide(const std::string& ansi) { return std::wstring(ansi.begin(), ansi.end()); }

// Records what the launcher asks of the system and its windows, and answers the dialog.
class FakeHost : public launcher::LauncherHost {
 public:
  explicit FakeHost(fs::path folder) : folder_(std::move(folder)) {}

  std::wstring commandLine;
  bool shift = false;
  int shiftReads = 0;  // Shift is read through the window system
  bool answerOk = true;
  std::int32_t answerSelect = 1;
  bool answerAlways = false;
  bool startFails = false;
  std::set<std::wstring> filesThatFailToStart;
  bool waitFails = false;
  bool reportFails = false;  // messages and the error report cannot be shown
  std::function<void()> duringSelect;
  launcher::JoinResult joined = launcher::JoinResult::kHolds;  // how waiting for the meeting ends
  std::function<void()> duringJoin;  // what other launchers do while this one waits for the meeting
  // What other launchers do while the chooser's answer is held; `late` hands out what they joined.
  std::function<void(const std::function<void()>& late)> duringHold;
  std::function<void()> onLeave;
  launcher::ChooserGroup* group = nullptr;
  std::vector<launcher::HandOver> joins;
  std::vector<std::wstring> log;
  struct Select {
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
    bool alway;
    bool suggest;
    std::wstring versionString, creatorVersion, prompt;
  };
  std::vector<Select> selects;

  std::wstring CommandLine() override { return commandLine; }
  fs::path ProgramFolder() override { return folder_; }
  void Message(const std::wstring& text, int style) override {
    if (reportFails) throw std::bad_alloc();
    log.push_back(L"message " + std::to_wstring(style) + L" " + text);
  }
  void SetMousePointer(int pointer) override { log.push_back(L"pointer " + std::to_wstring(pointer)); }
  bool ShiftDown() override {
    ++shiftReads;
    return shift;
  }
  void StartProgram(const std::wstring& program, const std::wstring& line) override {
    if (startFails) throw err::AppError(err::FromSystemError(2));
    for (const std::wstring& file : filesThatFailToStart) {
      if (line.find(file) != std::wstring::npos) throw err::AppError(err::FromSystemError(5));
    }
    log.push_back(L"start " + program + L" | " + line);
  }
  void ShowAbout() override { log.push_back(L"about"); }
  void ShowWait(const std::wstring& file) override {
    log.push_back(L"wait " + file);
    if (waitFails) throw err::AppError(err::kOutOfMemory);
  }
  void CloseWait() override { log.push_back(L"close wait"); }
  bool ShowSelect(const std::vector<std::wstring>& names, const std::vector<std::wstring>& paths, std::int32_t& select,
                  bool alway, bool suggest, const std::wstring& versionString, const std::wstring& creatorVersion,
                  const std::wstring& prompt, bool& alwayResult) override {
    if (names.empty()) throw err::AppError(err::kNoApplications);
    selects.push_back({names, paths, alway, suggest, versionString, creatorVersion, prompt});
    log.push_back(L"select");
    if (duringSelect) duringSelect();
    select = answerSelect;
    alwayResult = answerAlways;
    return answerOk;
  }
  void ShowError(std::int32_t number) override {
    if (reportFails) throw std::bad_alloc();
    log.push_back(L"error " + err::NumberText(number));
  }
  std::wstring LauncherProgram() override { return L"C:\\Varnock\\Varnock.exe"; }
  std::unique_ptr<launcher::KindMeeting> Meet() override { return std::make_unique<Meeting>(*this); }

 private:
  // The meeting, recorded in the host's log; it leaves only what it holds, as the real one does.
  class Meeting : public launcher::KindMeeting {
   public:
    explicit Meeting(FakeHost& host) : host_(host) {}
    ~Meeting() override {
      if (!held_) return;
      host_.log.push_back(L"leave meeting");
      if (host_.onLeave) host_.onLeave();
      host_.group = nullptr;
    }
    launcher::JoinResult Join(const launcher::HandOver& handOver) override {
      host_.joins.push_back(handOver);
      host_.log.push_back(L"join");
      if (host_.duringJoin) host_.duringJoin();
      held_ = host_.joined == launcher::JoinResult::kHolds;
      return host_.joined;
    }
    void Open(launcher::ChooserGroup& chooserGroup) override {
      host_.log.push_back(L"open meeting");
      host_.group = &chooserGroup;
    }
    void Hold(launcher::ChooserGroup& chooserGroup, const std::function<void()>& late) override {
      host_.log.push_back(L"hold meeting");
      if (host_.duringHold) host_.duringHold(late);
      late();
      chooserGroup.Close();
    }

   private:
    FakeHost& host_;
    bool held_ = false;
  };

  fs::path folder_;
};

std::vector<std::wstring> Starts(const FakeHost& host) {
  std::vector<std::wstring> starts;
  for (const auto& line : host.log) {
    if (line.rfind(L"start ", 0) == 0) starts.push_back(line);
  }
  return starts;
}

class LauncherTest : public TempFolderTest {
 protected:
  void SetUp() override {
    Put("link.ini", "[main]\r\nQuelby=1\r\n");
    drawPath_ = (folder_ / "apps" / "draw.exe").string();
    layoutPath_ = (folder_ / "apps" / "layout.exe").string();
    Put("apps/draw.exe", "MZ");
    Put("apps/layout.exe", "MZ");
    Put("name.ini", "[main]\r\nname1=Draw\r\npath1=" + drawPath_ + "\r\nname2=Layout\r\npath2=" + layoutPath_ + "\r\n");
    Put("ai10.eps",
        "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: Adobe Illustrator(R) 10.0\r\n"
        "%%AI8_CreatorVersion: 10.0\r\n");
    Put("plain.eps", "no header here");
  }
  void Register(int number, const std::string& link, const std::string& path, const std::string& version) {
    const auto n = std::to_string(number);
    const fs::path ini = folder_ / "link.ini";
    WriteIniString("main", "link" + n, "\"" + link + "\"", ini);
    WriteIniString("main", "path" + n, "\"" + path + "\"", ini);
    WriteIniString("main", "CreatorVersion" + n, "\"" + version + "\"", ini);
  }
  std::wstring File(const std::string& name) { return Wide((folder_ / name).string()); }
  FakeHost Run(const std::wstring& commandLine, bool shift = false) {
    FakeHost host(folder_);
    host.commandLine = commandLine;
    host.shift = shift;
    Main(host);
    return host;
  }
  // The chooser answers row `select` with "remember" ticked.
  FakeHost RunRemembering(const std::wstring& commandLine, std::int32_t select = 1, bool shift = false) {
    FakeHost host(folder_);
    host.commandLine = commandLine;
    host.shift = shift;
    host.answerSelect = select;
    host.answerAlways = true;
    Main(host);
    return host;
  }
  std::wstring StartOf(const std::string& program, const std::string& file) {
    return L"start " + Wide(program) + L" | \"" + Wide(program) + L"\" \"" + File(file) + L"\"";
  }
  // The link table decided: the program started with the file, and no chooser was shown.
  void ExpectOpenedDirectly(const FakeHost& host, const std::string& program, const std::string& file) {
    EXPECT_TRUE(host.selects.empty()) << "the chooser was shown where the link table decides";
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.back(), StartOf(program, file));
  }

  std::string drawPath_;
  std::string layoutPath_;
};

TEST(CommandLine, TheTailAfterTheProgramName) {
  EXPECT_EQ(launcher::CommandTail(L"\"C:\\v\\Varnock.exe\" \"D:\\a b\\x.eps\""), L"\"D:\\a b\\x.eps\"");
  EXPECT_EQ(launcher::CommandTail(L"Varnock.exe D:\\x.eps"), L"D:\\x.eps");
  EXPECT_EQ(launcher::CommandTail(L"\"C:\\v\\Varnock.exe\""), L"");
  EXPECT_EQ(launcher::CommandTail(L"\"C:\\v\\Varnock.exe\"   "), L"  ");
  EXPECT_EQ(launcher::CommandTail(L"Varnock.exe"), L"");
}

TEST(CommandLine, CleaningDropsOuterBlanksAndEachOuterQuoteOnce) {
  EXPECT_EQ(launcher::CleanCommandLine(L"  \"D:\\a b\\x.eps\"  "), L"D:\\a b\\x.eps");
  EXPECT_EQ(launcher::CleanCommandLine(L"\"a.eps\" \"b.eps\""), L"a.eps\" \"b.eps");
  EXPECT_EQ(launcher::CleanCommandLine(L"\"D:\\x.eps"), L"D:\\x.eps");
  EXPECT_EQ(launcher::CleanCommandLine(L"D:\\x.eps\""), L"D:\\x.eps");
  EXPECT_EQ(launcher::CleanCommandLine(L"\"\"x\"\""), L"\"x\"");
  EXPECT_EQ(launcher::CleanCommandLine(L"   "), L"");
}

TEST(CommandLine, BothPathsOfTheStartedProgramAreQuoted) {
  EXPECT_EQ(launcher::StartCommandLine(L"C:\\Program Files\\Draw\\draw.exe", L"D:\\work\\logo.eps"),
            L"\"C:\\Program Files\\Draw\\draw.exe\" \"D:\\work\\logo.eps\"");
}

TEST_F(LauncherTest, NoArgumentShowsTheAboutWindowAndTouchesNothing) {
  fs::remove(folder_ / "link.ini");
  EXPECT_EQ(Run(L"").log, std::vector<std::wstring>{L"about"});
}

TEST_F(LauncherTest, MissingFileOrLinkIniEndsWithItsMessage) {
  EXPECT_EQ(Run(L"   ").log,
            std::vector<std::wstring>{L"message 48 " + std::wstring(launcher_texts::kFileNotFound) + L"\r\n"});
  EXPECT_EQ(Run(L"\"" + File("none.eps") + L"\"").log,
            std::vector<std::wstring>{L"message 48 " + std::wstring(launcher_texts::kFileNotFound) + L"\r\n" +
                                      File("none.eps")});
  EXPECT_EQ(Run(Wide(folder_.string())).log.size(), 1u) << "a folder is no file";
  fs::remove(folder_ / "link.ini");
  EXPECT_EQ(Run(File("ai10.eps")).log,
            std::vector<std::wstring>{L"message 0 " + std::wstring(launcher_texts::kLinkIniMissing)});
}

TEST_F(LauncherTest, ARegisteredPairOpensItsProgramWithoutAnyWindow) {
  Register(1, "ADOBE ILLUSTRATOR(R) 10.0", drawPath_, "10.0");
  const auto host = Run(L" \"" + File("ai10.eps") + L"\" ");
  EXPECT_EQ(host.log, (std::vector<std::wstring>{L"pointer 11", L"pointer 0", StartOf(drawPath_, "ai10.eps")}));
}

TEST_F(LauncherTest, TheFirstMatchingEntryDecides) {
  Register(1, "Adobe Illustrator(R) 10.0", drawPath_, "9.0");
  Register(2, "Adobe Illustrator(R) 10.0", layoutPath_, "10.0");
  Register(3, "Adobe Illustrator(R) 10.0", drawPath_, "10.0");
  ExpectOpenedDirectly(Run(File("ai10.eps")), layoutPath_, "ai10.eps");
}

TEST_F(LauncherTest, ARegisteredProgramThatHasGoneIsReportedNotOffered) {
  Register(1, "Adobe Illustrator(R) 10.0", drawPath_ + ".gone", "10.0");
  const auto host = Run(File("ai10.eps"));
  EXPECT_EQ(host.log.back(),
            L"message 48 " + std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + Wide(drawPath_) + L".gone");
  EXPECT_TRUE(host.selects.empty());
}

TEST_F(LauncherTest, UnknownFormatScansThreeTimesThenAsksWithoutRemembering) {
  const FakeHost host = RunRemembering(File("plain.eps"), 2);
  EXPECT_EQ(host.log,
            (std::vector<std::wstring>{L"pointer 11", L"wait " + File("plain.eps"), L"close wait", L"pointer 0",
                                       L"join", L"open meeting", L"select", StartOf(layoutPath_, "plain.eps"),
                                       L"hold meeting", L"leave meeting"}));
  ASSERT_EQ(host.selects.size(), 1u);
  EXPECT_FALSE(host.selects[0].alway);
  EXPECT_EQ(host.selects[0].versionString, launcher_texts::kUnknownFormat);
  EXPECT_EQ(host.selects[0].prompt, launcher_texts::kPromptUnknownFormat);
  EXPECT_EQ(host.selects[0].names, (std::vector<std::wstring>{L"Draw", L"Layout"}));
  EXPECT_EQ(host.selects[0].paths, (std::vector<std::wstring>{Wide(drawPath_), Wide(layoutPath_)}));
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(LauncherTest, CancelEndsSilently) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.answerOk = false;
  host.answerAlways = true;
  Main(host);
  EXPECT_EQ(host.log.back(), L"leave meeting");
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(LauncherTest, ARememberedChoiceOpensTheNextFileDirectly) {
  const FakeHost host = RunRemembering(File("ai10.eps"));
  EXPECT_EQ(host.selects[0].versionString, L"Adobe Illustrator(R) 10.0");
  EXPECT_EQ(host.selects[0].creatorVersion, L"10.0");
  EXPECT_TRUE(host.selects[0].alway);
  EXPECT_EQ(host.selects[0].prompt, launcher_texts::kPromptNotRegistered);
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\nlink1=\"Adobe Illustrator(R) 10.0\"\r\npath1=\"" + drawPath_ +
                                   "\"\r\nCreatorVersion1=\"10.0\"\r\n");
  ExpectOpenedDirectly(Run(File("ai10.eps")), drawPath_, "ai10.eps");
}

TEST_F(LauncherTest, ShiftAsksAgainAndOverwritesTheEntryThatDecidesSoThatTheNewChoiceTakesEffect) {
  Register(1, "Adobe Illustrator(R) 10.0", drawPath_, "10.0");
  Register(2, "Other", drawPath_, "");
  Register(3, "adobe illustrator(r) 10.0", drawPath_, "10.0");
  const FakeHost host = RunRemembering(File("ai10.eps"), 2, true);
  EXPECT_EQ(host.selects.size(), 1u);
  EXPECT_EQ(Starts(host), std::vector<std::wstring>{StartOf(layoutPath_, "ai10.eps")});
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "path1", 1024), layoutPath_);
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "path3", 1024), drawPath_) << "the other entry stays";
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "link4", 1024), "");
  ExpectOpenedDirectly(Run(File("ai10.eps")), layoutPath_, "ai10.eps");
}

TEST_F(LauncherTest, TheChooserSuggestsTheVersionThatMadeTheFileOnlyForAKindNotRemembered) {
  Register(1, "Example", drawPath_, "");
  Put("example.eps", "%!PS-Adobe-3.0\r\n%%Creator: Example\r\n");
  EXPECT_TRUE(Run(File("ai10.eps"), true).selects.at(0).suggest);
  EXPECT_FALSE(Run(File("example.eps"), true).selects.at(0).suggest) << "Shift over a remembered kind";
  EXPECT_FALSE(Run(File("plain.eps")).selects.at(0).suggest);
}

TEST_F(LauncherTest, AStarEntryOpensEveryDotReleaseButAnExactEntryComesFirst) {
  Register(1, "Adobe Illustrator(R) 1*", drawPath_, "*");
  ExpectOpenedDirectly(Run(File("ai10.eps")), drawPath_, "ai10.eps");
  Register(2, "Adobe Illustrator(R) 10.0", layoutPath_, "10.0");
  ExpectOpenedDirectly(Run(File("ai10.eps")), layoutPath_, "ai10.eps");
  // Storing keeps to the exact pair: Shift and "remember" overwrite the exact entry, never the '*' one.
  const FakeHost host = RunRemembering(File("ai10.eps"), 1, true);
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "link1", 1024), "Adobe Illustrator(R) 1*");
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "path2", 1024), drawPath_);
  EXPECT_EQ(Run(File("plain.eps")).selects.size(), 1u) << "an unknown format is never matched";
}

TEST_F(LauncherTest, APairHoldingALineBreakIsNotOfferedForRemembering) {
  // The lead byte 0x81 takes the CR after it into the creator text.
  Put("odd.eps", "%!PS-Adobe\r\n%%Creator: Foo\x81\r\n");
  const FakeHost host = RunRemembering(File("odd.eps"));
  ASSERT_EQ(host.selects.size(), 1u);
  EXPECT_FALSE(host.selects[0].alway);
  EXPECT_EQ(host.selects[0].prompt, launcher_texts::kPromptNotRegistered);
  EXPECT_EQ(Starts(host), std::vector<std::wstring>{StartOf(drawPath_, "odd.eps")});
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(LauncherTest, APairEndingInAStarIsNotOfferedForRemembering) {
  struct Case {
    const char* name;
    std::string header;
    bool alway;
  };
  const Case cases[] = {
      // Read back, either would be a pattern for every file whose texts begin alike.
      {"creator text ends in a star", "%%Creator: Example*\r\n%%AI8_CreatorVersion: 1.0\r\n", false},
      {"version ends in a star", "%%Creator: Example\r\n%%AI8_CreatorVersion: 1.0*\r\n", false},
      {"a star inside", "%%Creator: Ex*ample\r\n%%AI8_CreatorVersion: 1*0\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put("odd.eps", "%!PS-Adobe\r\n" + c.header);
    const FakeHost host = RunRemembering(File("odd.eps"));
    ASSERT_EQ(host.selects.size(), 1u);
    EXPECT_EQ(host.selects[0].alway, c.alway);
    LinkTable table;
    EXPECT_EQ(ReadLinkIni(folder_ / "link.ini", table), c.alway ? 1 : 0);
    Put("link.ini", "[main]\r\nQuelby=1\r\n");
  }
}

TEST_F(LauncherTest, With999EntriesANewChoiceIsStoredAs1000) {
  std::string links = "[main]\r\nQuelby=1\r\n";
  for (int i = 1; i <= 999; ++i) {
    const auto n = std::to_string(i);
    links +=
        "link" + n + "=\"Other " + n + "\"\r\npath" + n + "=\"" + drawPath_ + "\"\r\nCreatorVersion" + n + "=\"\"\r\n";
  }
  Put("link.ini", links);
  const FakeHost host = RunRemembering(File("ai10.eps"));
  const fs::path ini = folder_ / "link.ini";
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link1000", 1024), "Adobe Illustrator(R) 10.0");
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "CreatorVersion1000", 1024), "10.0");
  // Never read back: the next file of this kind asks again.
  EXPECT_EQ(Run(File("ai10.eps")).selects.size(), 1u);
}

TEST_F(LauncherTest, APickedProgramThatHasGoneStoresNothing) {
  fs::remove(layoutPath_);
  const FakeHost host = RunRemembering(File("ai10.eps"), 2);
  EXPECT_EQ(host.log.end()[-3],
            L"message 48 " + std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + Wide(layoutPath_));
  EXPECT_TRUE(Starts(host).empty());
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(LauncherTest, FailuresEndInTheErrorReport) {
  fs::remove(folder_ / "name.ini");
  auto host = Run(File("ai10.eps"));
  // The chooser fails before it appears: its report is the kind's answer while the meeting is held.
  EXPECT_EQ(std::vector<std::wstring>(host.log.end() - 4, host.log.end()),
            (std::vector<std::wstring>{L"open meeting", L"error N1002", L"hold meeting", L"leave meeting"}));

  Register(1, "Adobe Illustrator(R) 10.0", drawPath_, "10.0");
  FakeHost failing(folder_);
  failing.commandLine = File("ai10.eps");
  failing.startFails = true;
  Main(failing);
  EXPECT_EQ(failing.log.back(), L"error -2147024894");
}

TEST_F(LauncherTest, AStoredAssociationStaysWhenTheStartFails) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.answerAlways = true;
  host.startFails = true;
  Main(host);
  EXPECT_EQ(host.log.back(), L"error -2147024894");
  EXPECT_EQ(IniDocument::Load(folder_ / "link.ini").Get("main", "path1", 1024), drawPath_);
}

TEST_F(LauncherTest, AFailureThatCannotEvenBeReportedEndsTheRunWithItsExitCode) {
  Register(1, "Adobe Illustrator(R) 10.0", drawPath_, "10.0");
  struct Case {
    const char* name;
    bool startFails, storeFails, reportFails;
    int exitCode;
  };
  const Case cases[] = {
      {"opened", false, false, false, launcher::kExitDone},
      {"reported", true, false, false, launcher::kExitDone},
      {"report fails", true, false, true, launcher::kExitUnreported},
      {"store failure told", false, true, false, launcher::kExitDone},
      {"store failure not told", false, true, true, launcher::kExitUnreported},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host(folder_);
    // A failed store needs the chooser: Shift asks for the registered pair again.
    host.commandLine = File("ai10.eps");
    host.shift = c.storeFails;
    host.answerAlways = true;
    host.startFails = c.startFails;
    host.reportFails = c.reportFails;
    if (c.storeFails) ReadOnly("link.ini");
    int exitCode = -1;
    EXPECT_NO_THROW(exitCode = Main(host));
    EXPECT_EQ(exitCode, c.exitCode);
    fs::permissions(Path("link.ini"), fs::perms::owner_write, fs::perm_options::add);
  }
}

TEST_F(LauncherTest, AFailureWhileTheWaitWindowIsUpClosesItAndResetsThePointer) {
  FakeHost host(folder_);
  host.commandLine = File("plain.eps");
  host.waitFails = true;
  Main(host);
  EXPECT_EQ(host.log, (std::vector<std::wstring>{L"pointer 11", L"wait " + File("plain.eps"), L"close wait",
                                                 L"pointer 0", L"error 7"}));
}

TEST_F(LauncherTest, TheNumberIsChosenFromLinkIniAsItStandsWhenStoring) {
  // Another launcher stores its choice while this one's dialog is open.
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.answerAlways = true;
  host.duringSelect = [&] { Register(1, "Other", layoutPath_, "1.0"); };
  Main(host);
  const fs::path ini = folder_ / "link.ini";
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link1", 1024), "Other");
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link2", 1024), "Adobe Illustrator(R) 10.0");
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "path2", 1024), drawPath_);
  // And an entry for the same pair stored meanwhile is overwritten, not stored twice.
  FakeHost again(folder_);
  again.commandLine = File("ai10.eps");
  again.shift = true;
  again.answerAlways = true;
  again.answerSelect = 2;
  again.duringSelect = [&] { Register(3, "adobe illustrator(r) 10.0", drawPath_, "10.0"); };
  Main(again);
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "path2", 1024), layoutPath_);
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "path3", 1024), drawPath_);
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link4", 1024), "");
}

TEST_F(LauncherTest, StoringWaitsForTheLockAndSeesWhatItsHolderWrote) {
  const fs::path ini = folder_ / "link.ini";
  auto holder = std::make_unique<linklock::LinkIniLock>(ini);
  ASSERT_TRUE(holder->held());
  std::thread store([&] { EXPECT_FALSE(StoreLink(ini, "A", drawPath_, "1").has_value()); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n") << "stored without the lock";
  Register(1, "B", layoutPath_, "2");
  holder.reset();
  store.join();
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link1", 1024), "B");
  EXPECT_EQ(IniDocument::Load(ini).Get("main", "link2", 1024), "A");
  // A lock that is not released in time is a failure with its number, and nothing is written.
  holder = std::make_unique<linklock::LinkIniLock>(ini);
  const linklock::LinkIniLock late(ini, 50);
  EXPECT_FALSE(late.held());
  EXPECT_NE(late.error(), 0u);
}

TEST_F(LauncherTest, LaunchersStoringAtOnceLoseNothingAndStoreNothingTwice) {
  const fs::path ini = folder_ / "link.ini";
  constexpr int kThreads = 6;
  constexpr int kRounds = 8;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int r = 0; r < kRounds; ++r) {
        // Each pair twice: the second store must overwrite the first.
        const std::string pair = "T" + std::to_string(t) + " R" + std::to_string(r);
        EXPECT_FALSE(StoreLink(ini, pair, drawPath_, "").has_value());
        EXPECT_FALSE(StoreLink(ini, pair, layoutPath_, "").has_value());
      }
    });
  }
  for (auto& thread : threads) thread.join();
  LinkTable table;
  ASSERT_EQ(ReadLinkIni(ini, table), kThreads * kRounds);
  EXPECT_EQ(std::set<std::string>(table.mstrLinks.begin(), table.mstrLinks.end()).size(),
            static_cast<std::size_t>(kThreads * kRounds));
  for (const auto& path : table.mstrLinkPaths) EXPECT_EQ(path, layoutPath_);
}

TEST_F(LauncherTest, AStoreThatFailsIsToldAfterTheProgramHasStarted) {
  const fs::path ini = folder_ / "link.ini";
  ::chmod(ini.c_str(), 0444);
  const FakeHost host = RunRemembering(File("ai10.eps"));
  ASSERT_GE(host.log.size(), 4u);
  EXPECT_EQ(std::vector<std::wstring>(host.log.end() - 4, host.log.end() - 1),
            (std::vector<std::wstring>{StartOf(drawPath_, "ai10.eps"), L"hold meeting", L"leave meeting"}));
  const std::wstring& last = host.log.back();
  EXPECT_EQ(last.rfind(L"message 48 " + std::wstring(launcher_texts::kStoreFailed) + L"\r\n\r\n", 0), 0u);
  EXPECT_NE(last.find(L" (エラー番号:-2147024883)"), std::wstring::npos);  // EACCES as a system error
  ::chmod(ini.c_str(), 0644);
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST_F(LauncherTest, APairThatWouldNotReadBackIsNotOfferedForRemembering) {
  const std::string fits(1023, 'c');
  Put("1023.eps", "%!PS-Adobe\r\n%%Creator: " + fits + "\r\n%%AI8_CreatorVersion: " + fits + "\r\n");
  Put("1024.eps", "%!PS-Adobe\r\n%%Creator: " + fits + "c\r\n");
  Put("1024v.eps", "%!PS-Adobe\r\n%%Creator: x\r\n%%AI8_CreatorVersion: " + fits + "c\r\n");
  Put("5000.eps", "%!PS-Adobe\r\n%%Creator: " + std::string(5000, 'c') + "\r\n");
  Put("nul.eps", std::string("%!PS-Adobe\r\n%%Creator: a\0b\r\n", 29));
  // Blanks alone give the empty creator text, which an entry cannot hold: it would end the table.
  Put("blank.eps", "%!PS-Adobe\r\n%%Creator:   \r\n");
  for (const char* name : {"1024.eps", "1024v.eps", "5000.eps", "nul.eps", "blank.eps"}) {
    const FakeHost host = RunRemembering(File(name));
    ASSERT_EQ(host.selects.size(), 1u) << name;
    EXPECT_FALSE(host.selects[0].alway) << name;
    EXPECT_EQ(Starts(host), std::vector<std::wstring>{StartOf(drawPath_, name)});
  }
  EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
  const FakeHost host = RunRemembering(File("1023.eps"));
  ASSERT_EQ(host.selects.size(), 1u);
  EXPECT_TRUE(host.selects[0].alway);
  ExpectOpenedDirectly(Run(File("1023.eps")), drawPath_, "1023.eps");
}

// Files of one kind from several launchers: this launcher holds the kind's meeting point and its
// chooser takes the files that the others hand over.
class MeetingTest : public LauncherTest {
 protected:
  // Another launcher hands its file over, in time; the file is made first.
  launcher::HandOverAnswer HandOver(FakeHost& host, const std::string& file,
                                    std::optional<launcher::Meeting> meeting = std::nullopt) {
    if (!fs::exists(Path(file))) Put(file, "%!PS-Adobe");
    return host.group->Take(launcher::EncodeHandOver({meeting.value_or(host.joins.at(0).meeting), File(file), 1}),
                            [] { return std::uint64_t{0}; });
  }
};

TEST_F(MeetingTest, OkStartsEveryFileThatJoinedInTheirOrderAndStoresTheChoiceOnceBeforeLettingGo) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.answerAlways = true;
  std::vector<launcher::HandOverAnswer> answers;
  host.duringSelect = [&] {
    const launcher::Meeting otherKind{host.joins[0].meeting.linkIni, launcher::KindKey(std::string("Other"), "")};
    answers = {HandOver(host, "c.eps"), HandOver(host, "x.eps", otherKind), HandOver(host, "b.eps")};
    EXPECT_EQ(host.group->Prompt(), launcher::ChooserPrompt(true, 3));
  };
  std::int32_t storedAtLeave = -1;
  host.onLeave = [&] {
    LinkTable table;
    storedAtLeave = ReadLinkIni(folder_ / "link.ini", table);
  };
  Main(host);
  EXPECT_EQ(answers,
            (std::vector<launcher::HandOverAnswer>{launcher::HandOverAnswer::kTaken, launcher::HandOverAnswer::kOther,
                                                   launcher::HandOverAnswer::kTaken}));
  ASSERT_EQ(host.joins.size(), 1u);
  EXPECT_EQ(host.joins[0].file, File("ai10.eps"));
  EXPECT_EQ(host.joins[0].meeting.linkIni, linklock::CanonicalUpperPath(folder_ / "link.ini"));
  EXPECT_EQ(host.joins[0].meeting.kind, launcher::KindKey(std::string("Adobe Illustrator(R) 10.0"), "10.0"));
  EXPECT_EQ(host.selects.at(0).prompt, launcher_texts::kPromptNotRegistered) << "the chooser opens for one file";
  const std::vector<std::wstring> tail(host.log.end() - 6, host.log.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"select", StartOf(drawPath_, "ai10.eps"), StartOf(drawPath_, "c.eps"),
                                             StartOf(drawPath_, "b.eps"), L"hold meeting", L"leave meeting"}));
  EXPECT_EQ(storedAtLeave, 1) << "the next launcher of the kind would not find the choice";
}

TEST_F(MeetingTest, CancelOrAProgramThatHasGoneStartsNoneOfTheFiles) {
  struct Case {
    const char* name;
    bool ok;
    std::vector<std::wstring> tail;
  };
  const std::wstring gone =
      L"message 48 " + std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + Wide(layoutPath_);
  const Case cases[] = {
      {"cancel", false, {L"select", L"hold meeting", L"leave meeting"}},
      {"gone", true, {L"select", gone, L"hold meeting", L"leave meeting"}},
  };
  fs::remove(layoutPath_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host(folder_);
    host.commandLine = File("plain.eps");
    host.answerOk = c.ok;
    host.answerSelect = 2;
    host.answerAlways = true;
    host.duringSelect = [&] { EXPECT_EQ(HandOver(host, "other.eps"), launcher::HandOverAnswer::kTaken); };
    Main(host);
    EXPECT_EQ(std::vector<std::wstring>(host.log.end() - static_cast<long>(c.tail.size()), host.log.end()), c.tail);
    EXPECT_TRUE(Starts(host).empty());
    EXPECT_EQ(Bytes("link.ini"), "[main]\r\nQuelby=1\r\n");
  }
}

TEST_F(MeetingTest, FilesOfUnknownFormatShareOneChooser) {
  FakeHost host(folder_);
  host.commandLine = File("plain.eps");
  host.duringSelect = [&] {
    EXPECT_EQ(HandOver(host, "also plain.eps",
                       launcher::Meeting{host.joins[0].meeting.linkIni, launcher::KindKey(std::nullopt, "")}),
              launcher::HandOverAnswer::kTaken);
  };
  Main(host);
  EXPECT_EQ(host.joins.at(0).meeting.kind, launcher::KindKey(std::nullopt, ""));
  EXPECT_EQ(Starts(host),
            (std::vector<std::wstring>{StartOf(drawPath_, "plain.eps"), StartOf(drawPath_, "also plain.eps")}));
}

TEST_F(MeetingTest, AFileNamedRelativeToTheLaunchersFolderIsHandedOverWithItsFullPath) {
  // The chooser that takes it may run in another folder.
  const fs::path before = fs::current_path();
  fs::current_path(folder_);
  const auto host = Run(L"ai10.eps");
  fs::current_path(before);
  ASSERT_EQ(host.joins.size(), 1u);
  EXPECT_EQ(host.joins[0].file, File("ai10.eps"));
}

TEST_F(MeetingTest, ALauncherWhoseFileAnotherChooserTookEndsWithoutAnyWindow) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.joined = launcher::JoinResult::kHandedOver;
  EXPECT_EQ(Main(host), launcher::kExitDone);
  EXPECT_EQ(host.log, (std::vector<std::wstring>{L"pointer 11", L"pointer 0", L"join"}));
  // A kind that is not remembered is asked for whatever Shift says: the launcher reads it not at all,
  // and so needs nothing of the window system before its file is taken.
  EXPECT_EQ(host.shiftReads, 0);
}

TEST_F(MeetingTest, AChoiceRememberedWhileTheLauncherWaitedOpensTheFileUnlessShiftIsHeld) {
  for (const bool shift : {false, true}) {
    SCOPED_TRACE(shift ? "shift" : "no shift");
    Put("link.ini", "[main]\r\nQuelby=1\r\n");
    FakeHost host(folder_);
    host.commandLine = File("ai10.eps");
    host.shift = shift;
    // The launcher whose chooser was open stores the choice before it lets the meeting point go.
    host.duringJoin = [&] { Register(1, "ADOBE ILLUSTRATOR(R) 10.0", layoutPath_, "10.0"); };
    Main(host);
    if (shift) {
      EXPECT_EQ(host.selects.size(), 1u);
      EXPECT_EQ(Starts(host), std::vector<std::wstring>{StartOf(drawPath_, "ai10.eps")});
    } else {
      EXPECT_EQ(host.log, (std::vector<std::wstring>{L"pointer 11", L"pointer 0", L"join", L"leave meeting",
                                                     StartOf(layoutPath_, "ai10.eps")}));
    }
  }
}

TEST_F(MeetingTest, FilesThatJoinAfterTheAnswerGetTheSameAnswerUncounted) {
  struct Case {
    const char* name;
    bool ok;
    bool listEmpty;
    std::int32_t select;
    std::vector<std::string> starts;  // of layout.exe, in this order
    std::vector<std::wstring> reports;
  };
  const std::wstring gone =
      L"message 48 " + std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + Wide(layoutPath_ + ".gone");
  const Case cases[] = {
      {"ok", true, false, 2, {"ai10.eps", "open.eps", "late1.eps", "late2.eps"}, {}},
      {"cancel", false, false, 2, {}, {}},
      {"program gone", true, false, 3, {}, {gone}},
      {"empty list: one report for all", true, true, 1, {}, {L"error N1002"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put("name.ini", c.listEmpty ? ""
                                : "[main]\r\nname1=Draw\r\npath1=" + drawPath_ + "\r\nname2=Layout\r\npath2=" +
                                      layoutPath_ + "\r\nname3=Gone\r\npath3=" + layoutPath_ + ".gone\r\n");
    FakeHost host(folder_);
    host.commandLine = File("ai10.eps");
    host.answerOk = c.ok;
    host.answerSelect = c.select;
    host.duringSelect = [&] { EXPECT_EQ(HandOver(host, "open.eps"), launcher::HandOverAnswer::kTaken); };
    std::wstring promptAfter;
    host.duringHold = [&](const std::function<void()>& late) {
      EXPECT_EQ(HandOver(host, "late1.eps"), launcher::HandOverAnswer::kTaken);
      late();
      EXPECT_EQ(HandOver(host, "late2.eps"), launcher::HandOverAnswer::kTaken);
      promptAfter = host.group->Prompt();
    };
    Main(host);
    std::vector<std::wstring> starts;
    for (const std::string& file : c.starts) starts.push_back(StartOf(layoutPath_, file));
    EXPECT_EQ(Starts(host), starts);
    std::vector<std::wstring> reports;
    for (const std::wstring& line : host.log) {
      if (line.rfind(L"message", 0) == 0 || line.rfind(L"error", 0) == 0) reports.push_back(line);
    }
    EXPECT_EQ(reports, c.reports);
    if (!c.listEmpty) EXPECT_EQ(promptAfter, launcher::ChooserPrompt(true, 2)) << "the count stays as answered";
  }
}

TEST_F(MeetingTest, AStartThatFailsInAGroupKeepsNoneOfTheOthersFromStartingAndIsToldOnce) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.filesThatFailToStart = {File("b.eps"), File("late.eps")};
  host.duringSelect = [&] {
    for (const char* file : {"b.eps", "c.eps"}) EXPECT_EQ(HandOver(host, file), launcher::HandOverAnswer::kTaken);
  };
  host.duringHold = [&](const std::function<void()>&) { HandOver(host, "late.eps"); };
  EXPECT_EQ(Main(host), launcher::kExitDone);
  EXPECT_EQ(Starts(host), (std::vector<std::wstring>{StartOf(drawPath_, "ai10.eps"), StartOf(drawPath_, "c.eps")}));
  const std::wstring denied = L"\r\n    " + err::ReportText(err::FromSystemError(5));
  EXPECT_EQ(host.log.back(), L"message 48 " + std::wstring(launcher_texts::kStartsFailed) + L"\r\n" + File("b.eps") +
                                 denied + L"\r\n" + File("late.eps") + denied);
  EXPECT_EQ(std::count_if(host.log.begin(), host.log.end(), [](const auto& l) { return l.rfind(L"message", 0) == 0; }),
            1);
}

TEST_F(MeetingTest, ALauncherThatCannotJoinTheMeetingAsksForItsOwnFileAlone) {
  FakeHost host(folder_);
  host.commandLine = File("ai10.eps");
  host.joined = launcher::JoinResult::kAlone;
  host.answerAlways = true;
  Main(host);
  EXPECT_EQ(host.log, (std::vector<std::wstring>{L"pointer 11", L"pointer 0", L"join", L"select",
                                                 StartOf(drawPath_, "ai10.eps")}));
  EXPECT_EQ(host.group, nullptr) << "no other file joins";
  ExpectOpenedDirectly(Run(File("ai10.eps")), drawPath_, "ai10.eps");
}

TEST_F(LauncherTest, APathThatCouldNotExistOnWindowsIsNeverStarted) {
  // Such names exist here but not on Windows: they count as missing files.
  for (const char* name : {"a\".eps", "a\x01.eps"}) {
    SCOPED_TRACE(name);
    Put(name, "%!PS-Adobe\r\n%%Creator: Adobe Illustrator(R) 10.0\r\n%%AI8_CreatorVersion: 10.0\r\n");
    Register(1, "Adobe Illustrator(R) 10.0", drawPath_, "10.0");
    const FakeHost host = Run(File(name));
    EXPECT_TRUE(Starts(host).empty());
    EXPECT_EQ(host.log, std::vector<std::wstring>{L"message 48 " + std::wstring(launcher_texts::kFileNotFound) +
                                                  L"\r\n" + File(name)});
  }
}

TEST_F(LauncherTest, ADropOpensEachFileInALauncherOfItsOwnAndNamesTheMissingOnesOnce) {
  Put("a b.eps", "%!PS-Adobe\r\n%%Creator: Draw\r\n");
  const std::wstring self = L"C:\\Varnock\\Varnock.exe";
  const std::wstring drop = L"\"" + File("ai10.eps") + L"\" " + File("none1.eps") + L" \"" + File("a b.eps") +
                            L"\" \"" + File("none 2.eps") + L"\"";
  const auto startOf = [&](const std::string& file) {
    return L"start " + self + L" | \"" + self + L"\" \"" + File(file) + L"\"";
  };
  const std::wstring missing = L"message 48 " + std::wstring(launcher_texts::kFileNotFound) + L"\r\n" +
                               File("none1.eps") + L"\r\n" + File("none 2.eps");
  EXPECT_EQ(Run(drop).log, (std::vector<std::wstring>{startOf("ai10.eps"), startOf("a b.eps"), missing}));
  EXPECT_EQ(Run(L"\"" + File("ai10.eps") + L"\" \"" + File("a b.eps") + L"\"").log,
            (std::vector<std::wstring>{startOf("ai10.eps"), startOf("a b.eps")}));
  // One path, even with blanks and without quotes, is the one file.
  EXPECT_EQ(Run(File("a b.eps")).joins.at(0).file, File("a b.eps"));
  // Without link.ini, one message for all the files that would each have said it.
  fs::remove(folder_ / "link.ini");
  EXPECT_EQ(Run(drop).log,
            (std::vector<std::wstring>{missing, L"message 0 " + std::wstring(launcher_texts::kLinkIniMissing)}));
}

}  // namespace
