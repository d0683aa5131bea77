// Many files at once under Wine, as Explorer opens a selection (one launcher per file, all at
// once) or as a drop onto the launcher gives them: files of one kind share one chooser, whichever
// launcher they came from; each file is started once or deliberately not at all.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "../../launcher/chooser_group.h"
#include "../../launcher/launcher_main.h"
#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/chooser_meeting.h"
#include "../../launcher/win/launcher_win.h"
#include "error.h"
#include "link_lock.h"
#include "program_test.h"
#include "win_form.h"

namespace {

using namespace drive;
using namespace launcher_ids;

// This machine is slow and shared: ten launchers starting at once under Wine take their time.
constexpr DWORD kPatience = 120000;

using Launchers = std::vector<std::unique_ptr<Process>>;

std::string Header(const std::string& creator, const std::string& version) {
  return "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: " + creator + "\r\n%%AI8_CreatorVersion: " + version + "\r\n";
}

class ManyFiles : public ProgramTest {
 protected:
  fs::path Put(const std::wstring& name, const std::string& bytes) const { return box_.Put(L"files\\" + name, bytes); }

  // The choosers open now, among every program's windows (the launchers of a drop are not ours).
  static std::vector<HWND> Choosers() {
    std::vector<HWND> found;
    for (HWND window : Windows(0)) {
      if (Caption(window) == SelectCaption() && ClassOf(window) == L"#32770") found.push_back(window);
    }
    return found;
  }

  static std::wstring Prompt(HWND chooser) { return Text(GetDlgItem(chooser, kSelectPrompt)); }
  static std::wstring Format(HWND chooser) { return Text(GetDlgItem(chooser, kSelectVersionString)); }

  // Waits until exactly the choosers with these prompts are open and every launcher of ours but
  // theirs has ended; gives them sorted by their prompts.
  static std::vector<HWND> WaitForChoosers(const Launchers& launchers, std::vector<std::wstring> prompts) {
    std::sort(prompts.begin(), prompts.end());
    std::vector<std::wstring> shown;
    long running = 0;
    for (const ULONGLONG end = GetTickCount64() + kPatience; GetTickCount64() < end; Sleep(50)) {
      std::vector<HWND> choosers = Choosers();
      shown.clear();
      for (HWND chooser : choosers) shown.push_back(Prompt(chooser));
      std::sort(shown.begin(), shown.end());
      running = std::count_if(launchers.begin(), launchers.end(), [](const auto& l) { return l->Running(); });
      if (shown == prompts && (launchers.empty() || running == static_cast<long>(prompts.size()))) {
        std::sort(choosers.begin(), choosers.end(), [](HWND a, HWND b) { return Prompt(a) < Prompt(b); });
        return choosers;
      }
    }
    std::string seen;
    for (const std::wstring& prompt : shown) seen += "\n  " + ToUtf8(prompt);
    ADD_FAILURE() << "not the choosers expected; " << running << " launchers running, choosers:" << seen;
    return {};
  }

  static void Remember(HWND chooser) { SendDlgItemMessageW(chooser, kSelectAlways, BM_SETCHECK, BST_CHECKED, 0); }
  static void Press(HWND chooser, int button) { PostMessageW(GetDlgItem(chooser, button), BM_CLICK, 0, 0); }

  static void ExpectAllEnded(const Launchers& launchers) {
    for (const auto& launcher : launchers) EXPECT_TRUE(launcher->Ended(kPatience)) << "a launcher did not end";
  }

  // The programs a stand-in application was started with, exactly `count` of them: a moment more
  // is given for any start too many.
  std::multiset<std::wstring> StartedOnce(const fs::path& program, std::size_t count) const {
    Started(program, count);
    Sleep(1500);
    const auto lines = Started(program, count);
    return {lines.begin(), lines.end()};
  }

  std::multiset<std::wstring> StartsOf(const fs::path& program, const std::vector<fs::path>& files) const {
    std::multiset<std::wstring> starts;
    for (const fs::path& file : files) starts.insert(StartOf(program, file));
    return starts;
  }

  Launchers OpenAll(const std::vector<fs::path>& files) const {
    Launchers launchers;
    for (const fs::path& file : files) launchers.push_back(Open(file));
    return launchers;
  }
};

TEST_F(ManyFiles, TenLaunchersOfOneUnregisteredKindShareOneChooserAndOkStartsEachFileOnce) {
  std::vector<fs::path> files;
  for (int k = 0; k < 10; ++k)
    files.push_back(Put(std::to_wstring(k) + L".eps", Header("Adobe Illustrator(R) 10.0", "10.0")));
  const Launchers launchers = OpenAll(files);
  const auto choosers = WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 10)});
  ASSERT_EQ(choosers.size(), 1u);
  Remember(choosers[0]);
  Press(choosers[0], IDOK);
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, 10), StartsOf(draw_, files));
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni + LinkEntry(1, "Adobe Illustrator(R) 10.0", Ansi(draw_), "10.0"));
}

TEST_F(ManyFiles, FilesJoinOneByOneWhateverTheirLetterCaseAndTheFirstFilesTextsAreStored) {
  const std::vector<fs::path> files = {
      Put(L"first.eps", Header("Example Draw 2.0", "2.0b")), Put(L"second.eps", Header("EXAMPLE DRAW 2.0", "2.0B")),
      Put(L"third.eps", Header("example draw 2.0", "2.0b")), Put(L"fourth.eps", Header("Example Draw 2.0", "2.0B"))};
  Launchers launchers;
  HWND chooser = nullptr;
  for (std::size_t k = 0; k < files.size(); ++k) {
    launchers.push_back(Open(files[k]));
    const auto open = WaitForChoosers(launchers, {launcher::ChooserPrompt(true, k + 1)});
    ASSERT_EQ(open.size(), 1u);
    chooser = open[0];
  }
  EXPECT_EQ(Format(chooser), L"Example Draw 2.0") << "the first file's texts";
  Remember(chooser);
  Press(chooser, IDOK);
  ExpectAllEnded(launchers);
  // The stand-ins log in the order they get to write, not the order they were started in: the
  // order of the starts is the core's (MeetingTest).
  EXPECT_EQ(StartedOnce(draw_, files.size()), StartsOf(draw_, files));
  EXPECT_EQ(box_.Read(L"link.ini"), kFreshLinkIni + LinkEntry(1, "Example Draw 2.0", Ansi(draw_), "2.0b"));
}

TEST_F(ManyFiles, ThreeKindsAndTwoUnknownShowFourChoosersCancelStartsNoneOfOnesFilesARegisteredFileOpensAtOnce) {
  PutLinks(LinkEntry(1, "Registered Draw", Ansi(layout_), ""));
  const std::vector<std::pair<std::string, std::string>> kinds = {
      {"Kind A", "1"}, {"Kind B", "2"}, {"Kind C", "3"}, {"", ""}};
  const int counts[] = {4, 3, 3, 2};
  std::map<std::wstring, std::vector<fs::path>> filesOf;  // by the format the chooser shows
  std::vector<fs::path> files;
  for (int round = 0; round < 4; ++round) {
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
      if (round >= counts[kind]) continue;
      const bool unknown = kinds[kind].first.empty();
      const std::wstring format = unknown ? launcher_texts::kUnknownFormat : FromUtf8(kinds[kind].first);
      const std::string bytes = unknown ? "no PostScript here\r\n" : Header(kinds[kind].first, kinds[kind].second);
      files.push_back(Put(std::to_wstring(kind) + L"-" + std::to_wstring(round) + L".eps", bytes));
      filesOf[format].push_back(files.back());
    }
  }
  ASSERT_EQ(files.size(), 12u);
  const Launchers launchers = OpenAll(files);
  const auto choosers =
      WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 4), launcher::ChooserPrompt(true, 3),
                                  launcher::ChooserPrompt(true, 3), launcher::ChooserPrompt(false, 2)});
  ASSERT_EQ(choosers.size(), 4u);

  // A registered file opens at once, while the choosers wait.
  const fs::path registered = Put(L"registered.eps", Header("REGISTERED DRAW", ""));
  auto direct = Open(registered);
  ASSERT_TRUE(direct->Ended(kPatience));
  EXPECT_TRUE(Windows(direct->id()).empty());
  EXPECT_EQ(Started(layout_), std::vector<std::wstring>{StartOf(layout_, registered)});

  std::vector<fs::path> opened;
  for (HWND chooser : choosers) {
    const std::wstring format = Format(chooser);
    ASSERT_EQ(filesOf.count(format), 1u) << ToUtf8(format);
    if (format == L"Kind B") {
      Press(chooser, IDCANCEL);
      continue;
    }
    opened.insert(opened.end(), filesOf[format].begin(), filesOf[format].end());
    Press(chooser, IDOK);
  }
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, 9), StartsOf(draw_, opened));
  EXPECT_EQ(Started(layout_).size(), 1u);
}

TEST_F(ManyFiles, ALauncherArrivingAsItsChooserClosesOpensItsFileByTheChoiceJustRemembered) {
  const fs::path first = Put(L"first.eps", Header("Example Draw 3.0", "3"));
  const fs::path late = Put(L"late.eps", Header("Example Draw 3.0", "3"));
  Launchers launchers;
  launchers.push_back(Open(first));
  const auto chooser = WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 1)});
  ASSERT_EQ(chooser.size(), 1u);
  Remember(chooser[0]);
  {
    // The chooser's launcher closes it and then waits to store the choice; the late launcher
    // finds no choice stored yet and no chooser to join.
    const linklock::LinkIniLock storing(box_.Path(L"link.ini"));
    ASSERT_TRUE(storing.held());
    Press(chooser[0], IDOK);
    launchers.push_back(Open(late));
    Sleep(4000);
    EXPECT_TRUE(launchers[1]->Running());
    EXPECT_FALSE(box_.Exists(L"Program Files\\Draw\\record.txt"));
  }
  for (const ULONGLONG end = GetTickCount64() + kPatience; launchers[1]->Running() && GetTickCount64() < end;) {
    ASSERT_TRUE(Choosers().empty()) << "the late launcher asked again";
    Sleep(50);
  }
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, 2), StartsOf(draw_, {first, late}));
}

TEST_F(ManyFiles, AKilledChoosersKindIsFreeAtOnceForTheNextLauncher) {
  const fs::path first = Put(L"first.eps", Header("Example Draw 4.0", "4"));
  const fs::path joined = Put(L"joined.eps", Header("Example Draw 4.0", "4"));
  const fs::path next = Put(L"next.eps", Header("Example Draw 4.0", "4"));
  Launchers launchers = OpenAll({first});
  ASSERT_EQ(WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 1)}).size(), 1u);
  launchers.push_back(Open(joined));
  ASSERT_EQ(WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 2)}).size(), 1u);
  // The kind's meeting point and ready signal, held open as a launcher of the kind that is just
  // starting holds them: they outlive the killed launcher, abandoned and still set.
  const launcher::Meeting meeting{linklock::CanonicalUpperPath(box_.Path(L"link.ini")),
                                  launcher::KindKey(std::string("Example Draw 4.0"), "4")};
  const launcher::MeetingNames names = launcher::NamesOf(meeting);
  const winhandle::KernelHandle meetingPoint(OpenMutexW(SYNCHRONIZE, FALSE, names.host.c_str()));
  const winhandle::KernelHandle ready(OpenEventW(SYNCHRONIZE, FALSE, names.ready.c_str()));
  ASSERT_TRUE(meetingPoint && ready) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(ready.get(), 0), WAIT_OBJECT_0) << "the open chooser's signal is not set";
  {
    const winhandle::KernelHandle host(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, launchers[0]->id()));
    ASSERT_TRUE(TerminateProcess(host.get(), 9));
    ASSERT_EQ(WaitForSingleObject(host.get(), kPatience), WAIT_OBJECT_0);
  }
  Launchers after;
  after.push_back(Open(next));
  const auto chooser = WaitForChoosers(after, {launcher::ChooserPrompt(true, 1)});
  ASSERT_EQ(chooser.size(), 1u);
  Press(chooser[0], IDOK);
  ExpectAllEnded(after);
  EXPECT_EQ(StartedOnce(draw_, 1), StartsOf(draw_, {next}));
}

TEST_F(ManyFiles, LaunchersWaitingWhenTheirChoosersLauncherIsKilledShareTheNextChooser) {
  const fs::path a = Put(L"waiting a.eps", Header("Example Draw 6.0", "6"));
  const fs::path b = Put(L"waiting b.eps", Header("Example Draw 6.0", "6"));
  const launcher::Meeting meeting{linklock::CanonicalUpperPath(box_.Path(L"link.ini")),
                                  launcher::KindKey(std::string("Example Draw 6.0"), "6")};
  const launcher::MeetingNames names = launcher::NamesOf(meeting);
  // A launcher of the kind that holds the meeting point, killed as its chooser got ready: its
  // signal stays set and its meeting point is abandoned, with no window left to take the files.
  const winhandle::KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, names.ready.c_str()));
  const winhandle::KernelHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const winhandle::KernelHandle killed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread holder([&] {
    const winhandle::KernelHandle meetingPoint(CreateMutexW(nullptr, TRUE, names.host.c_str()));
    SetEvent(held.get());
    WaitForSingleObject(killed.get(), INFINITE);
    // The waiting launchers see the signal before the meeting point is free, and find no window.
    SetEvent(ready.get());
    Sleep(300);
  });  // the thread ends holding the meeting point: abandoned, as by a killed launcher
  ASSERT_EQ(WaitForSingleObject(held.get(), kPatience), WAIT_OBJECT_0);
  Launchers launchers = OpenAll({a, b});
  Sleep(5000);  // both wait for the meeting point
  SetEvent(killed.get());
  holder.join();
  // One of them holds the meeting point now; the other's file joins its chooser.
  const auto chooser = WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 2)});
  ASSERT_EQ(chooser.size(), 1u);
  Press(chooser[0], IDOK);
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, 2), StartsOf(draw_, {a, b}));
}

TEST_F(ManyFiles, ADropOfThreePathsGivesOneMessageForTheMissingOneAndOneChooserForTheOtherTwo) {
  const fs::path a = Put(L"drop a.eps", Header("Example Draw 5.0", "5"));
  const fs::path b = Put(L"drop b.eps", Header("Example Draw 5.0", "5"));
  const fs::path missing = box_.Path(L"files\\gone.eps");
  auto drop = StartLauncher(L" " + Quoted(a) + L" " + Quoted(missing) + L" " + Quoted(b));
  const auto box = WaitForMessageBox(drop->id(), kPatience);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + missing.wstring());
  EXPECT_EQ(box->title, launcher_texts::kTitle);
  EXPECT_TRUE(box->icon);
  Click(GetDlgItem(box->window, IDOK));
  EXPECT_TRUE(drop->Ended(kPatience));
  const auto chooser = WaitForChoosers({}, {launcher::ChooserPrompt(true, 2)});
  ASSERT_EQ(chooser.size(), 1u);
  Press(chooser[0], IDOK);
  EXPECT_EQ(StartedOnce(draw_, 2), StartsOf(draw_, {a, b}));
  for (const ULONGLONG end = GetTickCount64() + kPatience; !Choosers().empty() && GetTickCount64() < end;) Sleep(50);
  EXPECT_TRUE(Choosers().empty());
}

TEST_F(ManyFiles, ThePromptWithTheNumberOfFilesFitsTheLabelsTwoLines) {
  auto one = Open(Put(L"unknown.eps", "no PostScript here\r\n"));
  const auto chooser = WaitForChoosers({}, {launcher::ChooserPrompt(false, 1)});
  ASSERT_EQ(chooser.size(), 1u);
  HWND label = GetDlgItem(chooser[0], kSelectPrompt);
  RECT box{};
  GetClientRect(label, &box);
  const winhandle::WindowDc dc(label);
  const winhandle::Font font = winform::CreatePointFont(winform::kUiFontSpec, winform::WindowDpi(chooser[0]));
  const winhandle::Selection selected(dc.get(), font.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  for (const bool known : {true, false}) {
    const std::wstring prompt = launcher::ChooserPrompt(known, 9999);
    RECT lines = box;
    DrawTextW(dc.get(), prompt.c_str(), -1, &lines, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    EXPECT_LE(lines.bottom, 2 * metrics.tmHeight) << ToUtf8(prompt);
    EXPECT_LE(lines.bottom, box.bottom);
    EXPECT_LE(lines.right, box.right);
  }
  Press(chooser[0], IDCANCEL);
  EXPECT_TRUE(one->Ended(kPatience));
}

// Under pressure: answers given at once, meeting points that others hold or took first, forged
// hand-overs, failing starts and an empty list with many files.
class UnderPressure : public ManyFiles {
 protected:
  // Polls until every launcher has ended, collecting every chooser that showed meanwhile.
  static std::set<HWND> ChoosersUntilAllEnded(const Launchers& launchers, std::set<HWND> seen = {}) {
    for (const ULONGLONG end = GetTickCount64() + kPatience; GetTickCount64() < end; Sleep(20)) {
      for (HWND chooser : Choosers()) seen.insert(chooser);
      if (std::none_of(launchers.begin(), launchers.end(), [](const auto& l) { return l->Running(); })) break;
    }
    return seen;
  }

  static HWND FirstChooser() {
    for (const ULONGLONG end = GetTickCount64() + kPatience; GetTickCount64() < end; Sleep(5)) {
      const auto choosers = Choosers();
      if (!choosers.empty()) return choosers.front();
    }
    return nullptr;
  }

  launcher::MeetingNames NamesOfKind(const std::string& creator, const std::string& version) const {
    return launcher::NamesOf(
        {linklock::CanonicalUpperPath(box_.Path(L"link.ini")), launcher::KindKey(creator, version)});
  }

  bool NothingStarted() const { return !box_.Exists(L"Program Files\\Draw\\record.txt"); }

  // The processor time that a process has used so far, in milliseconds. Wine's answer for another
  // process does not move, so where the host's /proc can be seen it is read there instead, the
  // process found by a marker in its command line.
  static ULONGLONG ProcessorTime(DWORD processId, const std::string& marker) {
    if (!fs::exists(L"Z:\\proc\\self\\stat")) {
      const winhandle::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
      FILETIME created{}, ended{}, kernel{}, user{};
      if (!process || !GetProcessTimes(process.get(), &created, &ended, &kernel, &user)) return 0;
      const auto ms = [](const FILETIME& t) { return ((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000; };
      return ms(kernel) + ms(user);
    }
    std::error_code none;
    for (const auto& entry : fs::directory_iterator(L"Z:\\proc", none)) {
      const std::wstring pid = entry.path().filename().wstring();
      if (pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
      std::ifstream cmdline(entry.path() / L"cmdline", std::ios::binary);
      const std::string line((std::istreambuf_iterator<char>(cmdline)), {});
      if (line.find(marker) == std::string::npos || line.find("Varnock.exe") == std::string::npos) continue;
      std::ifstream stat(entry.path() / L"stat");
      std::string text((std::istreambuf_iterator<char>(stat)), {});
      // After the command's name in parentheses: state and eleven more fields, then utime and stime.
      std::istringstream fields(text.substr(text.rfind(')') + 2));
      std::string field;
      for (int k = 0; k < 11; ++k) fields >> field;
      ULONGLONG userTicks = 0, kernelTicks = 0;
      fields >> userTicks >> kernelTicks;
      return (userTicks + kernelTicks) * 10;  // the kernel's 100 ticks a second
    }
    return 0;
  }
};

TEST_F(UnderPressure, TwelveLaunchersAnsweredAtOnceAreAskedOnceAndOkStartsEachFileOnceCancelNone) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    const std::string kind = ok ? "Quick OK" : "Quick Cancel";
    std::vector<fs::path> files;
    for (int k = 0; k < 12; ++k) files.push_back(Put(FromUtf8(kind) + std::to_wstring(k) + L".eps", Header(kind, "1")));
    const Launchers launchers = OpenAll(files);
    HWND chooser = FirstChooser();
    ASSERT_TRUE(chooser);
    Sleep(20);
    Press(chooser, ok ? IDOK : IDCANCEL);
    EXPECT_EQ(ChoosersUntilAllEnded(launchers, {chooser}).size(), 1u) << "asked again";
    ExpectAllEnded(launchers);
    if (ok) {
      EXPECT_EQ(StartedOnce(draw_, 12), StartsOf(draw_, files));
    } else {
      Sleep(1500);
      EXPECT_TRUE(NothingStarted());
    }
  }
}

TEST_F(UnderPressure, LaunchersComing150MsApartAnsweredAfterHalfASecondAreAskedOnce) {
  std::vector<fs::path> files;
  for (int k = 0; k < 12; ++k) files.push_back(Put(L"apart" + std::to_wstring(k) + L".eps", Header("Apart", "2")));
  Launchers launchers;
  std::set<HWND> seen;
  constexpr ULONGLONG kNotYet = 0;
  constexpr ULONGLONG kPressed = ~0ull;
  ULONGLONG answerAt = kNotYet;
  // The starts go on every 150 ms whenever the chooser comes; OK half a second after it came.
  const ULONGLONG giveUp = GetTickCount64() + kPatience;
  for (std::size_t k = 0; (k < files.size() || answerAt != kPressed) && GetTickCount64() < giveUp;) {
    const ULONGLONG slot = GetTickCount64() + 150;
    if (k < files.size()) launchers.push_back(Open(files[k++]));
    while (GetTickCount64() < slot) {
      for (HWND chooser : Choosers()) {
        if (seen.insert(chooser).second && answerAt == kNotYet) answerAt = GetTickCount64() + 500;
      }
      if (answerAt != kNotYet && answerAt != kPressed && GetTickCount64() >= answerAt) {
        Press(*seen.begin(), IDOK);
        answerAt = kPressed;
      }
      Sleep(10);
    }
  }
  ASSERT_EQ(answerAt, kPressed) << "no chooser";
  EXPECT_EQ(ChoosersUntilAllEnded(launchers, seen).size(), 1u) << "asked again";
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, files.size()), StartsOf(draw_, files));
}

TEST_F(UnderPressure, AMeetingThatCannotBeJoinedLeavesTheLauncherItsOwnChooserWithoutSpinning) {
  enum class Taken { kHeld, kHeldReadyWithoutWindow, kOtherType };
  struct Case {
    const char* name;
    Taken taken;
    DWORD earliest, latest;  // when the launcher's own chooser shows, from its start
  };
  const Case cases[] = {
      {"held", Taken::kHeld, 9000, 40000},
      {"held, ready without a window", Taken::kHeldReadyWithoutWindow, 9000, 40000},
      {"a name of another type", Taken::kOtherType, 0, 8000},
  };
  std::size_t starts = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string kind = std::string("Taken ") + c.name;
    const launcher::MeetingNames names = NamesOfKind(kind, "3");
    // Another program of the session took the names first, and never lets go while the test runs.
    const winhandle::KernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const winhandle::KernelHandle taken(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread other([&] {
      winhandle::KernelHandle point;
      winhandle::KernelHandle ready;
      if (c.taken == Taken::kOtherType) {
        point.reset(CreateSemaphoreW(nullptr, 0, 1, names.host.c_str()));
      } else {
        point.reset(CreateMutexW(nullptr, TRUE, names.host.c_str()));
        ready.reset(CreateEventW(nullptr, TRUE, c.taken == Taken::kHeldReadyWithoutWindow, names.ready.c_str()));
      }
      SetEvent(taken.get());
      WaitForSingleObject(release.get(), kPatience);
      if (c.taken != Taken::kOtherType) ReleaseMutex(point.get());
    });
    ASSERT_EQ(WaitForSingleObject(taken.get(), kPatience), WAIT_OBJECT_0);
    const std::string marker = "taken-" + std::to_string(starts);
    const fs::path file = Put(FromUtf8(marker) + L".eps", Header(kind, "3"));
    const ULONGLONG started = GetTickCount64();
    auto launcher = Open(file);
    ULONGLONG before = 0;
    if (c.earliest) {
      Sleep(1500);
      before = ProcessorTime(launcher->id(), marker);
      ASSERT_GT(before, 0u) << "the processor time cannot be read";
      Sleep(7000);
      const ULONGLONG during = ProcessorTime(launcher->id(), marker) - before;
      EXPECT_LT(during, 250u) << "processor time over seven seconds of waiting, ms";
    }
    HWND chooser = WaitForSelect(*launcher, c.latest);
    const ULONGLONG shown = GetTickCount64() - started;
    EXPECT_TRUE(chooser) << "no chooser of its own";
    EXPECT_GE(shown, c.earliest);
    EXPECT_LE(shown, c.latest);
    if (chooser) Press(chooser, IDOK);
    EXPECT_TRUE(launcher->Ended(kPatience));
    SetEvent(release.get());
    other.join();
    EXPECT_EQ(Started(draw_, ++starts).back(), StartOf(draw_, file));
  }
}

TEST_F(UnderPressure, AForgedHandOverIsNotTakenNotCountedAndNeverStarted) {
  const fs::path file = Put(L"real.eps", Header("Forged", "4"));
  const fs::path other = Put(L"other.eps", Header("Forged", "4"));
  const fs::path handed = Put(L"handed.eps", Header("Forged", "4"));
  const launcher::MeetingNames names = NamesOfKind("Forged", "4");
  auto launcher = Open(file);
  ASSERT_EQ(WaitForChoosers({}, {launcher::ChooserPrompt(true, 1)}).size(), 1u);
  const winhandle::KernelHandle ready(OpenEventW(SYNCHRONIZE, FALSE, names.ready.c_str()));
  ASSERT_TRUE(ready);
  ASSERT_EQ(WaitForSingleObject(ready.get(), kPatience), WAIT_OBJECT_0);
  HWND window = FindWindowExW(HWND_MESSAGE, nullptr, ChooserMeeting::kWindowClass, names.window.c_str());
  ASSERT_TRUE(window);
  const launcher::Meeting meeting{linklock::CanonicalUpperPath(box_.Path(L"link.ini")),
                                  launcher::KindKey(std::string("Forged"), "4")};
  const auto send = [&](ULONG_PTR tag, std::wstring text, DWORD bytes) {
    COPYDATASTRUCT data{tag, bytes, text.data()};
    DWORD_PTR answer = 0;
    EXPECT_TRUE(
        SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kPatience, &answer));
    return answer;
  };
  const ULONGLONG later = GetTickCount64() + kPatience;
  const auto encoded = [&](const std::wstring& path, ULONGLONG deadline) {
    return launcher::EncodeHandOver({meeting, path, deadline});
  };
  struct Case {
    const char* name;
    ULONG_PTR tag;
    std::wstring text;
    int oddBytes;
    DWORD_PTR answer;
  };
  const Case cases[] = {
      {"missing", ChooserMeeting::kHandOverTag, encoded(box_.Path(L"files\\none.eps").wstring(), later), 0, 3},
      {"injected arguments", ChooserMeeting::kHandOverTag,
       encoded(other.wstring() + L"\" /injected \"" + handed.wstring(), later), 0, 3},
      {"relative", ChooserMeeting::kHandOverTag, encoded(L"files\\other.eps", later), 0, 3},
      {"deadline passed", ChooserMeeting::kHandOverTag, encoded(other.wstring(), GetTickCount64() - 1), 0, 3},
      {"another tag", ChooserMeeting::kHandOverTag + 1, encoded(other.wstring(), later), 0, 3},
      {"an odd length", ChooserMeeting::kHandOverTag, encoded(other.wstring(), later), 1, 3},
      {"not a hand-over", ChooserMeeting::kHandOverTag, other.wstring(), 0, 3},
      {"a real one", ChooserMeeting::kHandOverTag, encoded(handed.wstring(), later), 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(send(c.tag, c.text, static_cast<DWORD>(c.text.size() * sizeof(wchar_t)) - c.oddBytes), c.answer);
  }
  const auto chooser = WaitForChoosers({}, {launcher::ChooserPrompt(true, 2)});
  ASSERT_EQ(chooser.size(), 1u) << "only the real hand-over counts";
  Press(chooser[0], IDOK);
  EXPECT_TRUE(launcher->Ended(kPatience));
  EXPECT_EQ(StartedOnce(draw_, 2), StartsOf(draw_, {file, handed}));
}

TEST_F(UnderPressure, AFileThatCannotStartInAGroupKeepsNoneOfTheOthersFromStartingAndIsToldOnce) {
  const std::vector<fs::path> files = {Put(L"g1.eps", Header("Group", "5")), Put(L"g2.eps", Header("Group", "5")),
                                       Put(L"g3.eps", Header("Group", "5"))};
  const Launchers launchers = OpenAll(files);
  const auto chooser = WaitForChoosers(launchers, {launcher::ChooserPrompt(true, 3)});
  ASSERT_EQ(chooser.size(), 1u);
  const fs::path gone = files[1];
  fs::remove(gone);
  Press(chooser[0], IDOK);
  const auto box = WaitForMessageBox(0, kPatience);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, std::wstring(launcher_texts::kStartsFailed) + L"\r\n" + gone.wstring() + L"\r\n    " +
                           err::ReportText(err::FromSystemError(ERROR_FILE_NOT_FOUND)));
  Click(GetDlgItem(box->window, IDOK));
  ExpectAllEnded(launchers);
  EXPECT_EQ(StartedOnce(draw_, 2), StartsOf(draw_, {files[0], files[2]}));
}

TEST_F(UnderPressure, TenFilesAndAnEmptyListGiveOneMessage) {
  PutNames({});
  std::vector<fs::path> files;
  for (int k = 0; k < 10; ++k) files.push_back(Put(L"empty" + std::to_wstring(k) + L".eps", Header("Empty", "6")));
  const Launchers launchers = OpenAll(files);
  const auto box = WaitForMessageBox(0, kPatience);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, err::ReportText(err::kNoApplications));
  // Every other launcher hands its file over to the one whose report is showing.
  for (const ULONGLONG end = GetTickCount64() + kPatience; GetTickCount64() < end; Sleep(50)) {
    if (std::count_if(launchers.begin(), launchers.end(), [](const auto& l) { return l->Running(); }) == 1) break;
  }
  Click(GetDlgItem(box->window, IDOK));
  for (const ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(50)) {
    ASSERT_FALSE(WaitForMessageBox(0, 0).has_value()) << "a second message";
  }
  ExpectAllEnded(launchers);
  EXPECT_TRUE(NothingStarted());
}

// The launcher splits a drop's command line itself; it must split it as the system does.
TEST(ManyFilesSplitting, EveryCommandLineSplitsAsCommandLineToArgvWSplitsIt) {
  std::vector<std::wstring> lines = {L"\"C:\\a b\\x.eps\" D:\\y.eps", L"\"\" x \"\"\"\" y", L"\"a\"\"b\" c",
                                     L"\"C:\\path\\\" next", L"a\\\\\\\\\"b c\" d e"};
  std::mt19937 random(16);
  const wchar_t alphabet[] = L"a \t\"\\";
  for (int n = 0; n < 3000; ++n) {
    std::wstring line;
    for (std::size_t length = random() % 12; length > 0; --length) line += alphabet[random() % 5];
    lines.push_back(line);
  }
  for (const std::wstring& line : lines) {
    int count = 0;
    const winhandle::LocalMemory<wchar_t**> argv(CommandLineToArgvW((L"prog " + line).c_str(), &count));
    ASSERT_TRUE(argv);
    const std::vector<std::wstring> system(argv.get() + 1, argv.get() + count);
    EXPECT_EQ(launcher::SplitCommandLine(line), system) << ToUtf8(line);
  }
}

}  // namespace
