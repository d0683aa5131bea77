#include "chooser_group.h"

#include <gtest/gtest.h>

#include "launcher_main.h"
#include "launcher_texts.h"
#include "temp_folder.h"

namespace {

using launcher::ChooserGroup;
using launcher::HandOverAnswer;
using launcher::KindKey;
using launcher::Meeting;
using Strings = std::vector<std::wstring>;

TEST(CommandLine, SplitsIntoArgumentsAsCommandLineToArgvW) {
  struct Case {
    const wchar_t* line;
    Strings arguments;
  };
  const Case cases[] = {
      {L"\"C:\\a b\\x.eps\" \"D:\\y.eps\"", {L"C:\\a b\\x.eps", L"D:\\y.eps"}},
      {L"C:\\x.eps\tD:\\y.eps  ", {L"C:\\x.eps", L"D:\\y.eps"}},
      {L"  \t ", {}},
      {L"a \"b c\" d\\\"e \"f\"\"g\"", {L"a", L"b c", L"d\"e", L"f\"g"}},
      {L"a\\\\\\b d\"e f\"g h", {L"a\\\\\\b", L"de fg", L"h"}},
      {L"a\\\\\\\"b c d", {L"a\\\"b", L"c", L"d"}},
      {L"a\\\\\\\\\"b c\" d e", {L"a\\\\b c", L"d", L"e"}},
      {L"\"a b\\\" c\" d", {L"a b\" c", L"d"}},
      {L"\"\" x \"\"\"\" y", {L"", L"x", L"\" y"}},
      {L"\"\"\"a b\"\"\" c", {L"\"a", L"b\"", L"c"}},
      {L"\"a\"\"b\" c", {L"a\"b c"}},
      {L"\"C:\\path\\\\\" next", {L"C:\\path\\", L"next"}},
      {L"\"C:\\path\\\" next", {L"C:\\path\" next"}},
      {L"\"unterminated arg", {L"unterminated arg"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(launcher::SplitCommandLine(c.line), c.arguments) << testing::PrintToString(std::wstring(c.line));
  }
}

TEST(Kinds, FilesShareAChooserExactlyWhenTheLookUpWouldTakeThemForOneKind) {
  const std::optional<std::string> unknown;
  struct Case {
    std::optional<std::string> text1;
    std::string version1;
    std::optional<std::string> text2;
    std::string version2;
    bool same;
  };
  const Case cases[] = {
      {"Adobe Illustrator(R) 10.0", "10.0", "ADOBE ILLUSTRATOR(r) 10.0", "10.0", true},
      {"Draw", "1.0a", "draw", "1.0A", true},
      {"\x82\x81", "", "\x82\x60", "", true},  // full-width a and A
      {"Draw", "1.0", "Draw", "1.1", false},
      {"Draw", "", "Draw ", "", false},
      {"A", "B", "AB", "", false},       // where the text ends matters
      {"\x82\x60", "", "A", "", false},  // width is not folded
      {unknown, "", unknown, "", true},
      {unknown, "", std::string(), "", false},  // an empty creator text is a format all the same
      {unknown, "1.0", unknown, "", true},      // an unknown format has no version that counts
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KindKey(c.text1, c.version1) == KindKey(c.text2, c.version2), c.same)
        << c.text1.value_or("(unknown)") << " / " << c.text2.value_or("(unknown)");
  }
}

TEST(Kinds, EachMeetingHasNamesOfItsOwnWithoutBackslashesBeyondTheNamespace) {
  const Meeting meeting{L"C:\\V\\LINK.INI", KindKey(std::string("Draw"), "1")};
  const launcher::MeetingNames names = launcher::NamesOf(meeting);
  for (const std::wstring* name : {&names.host, &names.ready}) {
    EXPECT_EQ(name->rfind(L"Local\\", 0), 0u);
    EXPECT_EQ(name->find(L'\\', 6), std::wstring::npos);
  }
  EXPECT_NE(names.host, names.ready);
  EXPECT_EQ(launcher::NamesOf(meeting).host, names.host);
  EXPECT_NE(launcher::NamesOf({L"C:\\W\\LINK.INI", meeting.kind}).host, names.host);
  EXPECT_NE(launcher::NamesOf({meeting.linkIni, KindKey(std::string("Draw"), "2")}).host, names.host);
}

TEST(HandOver, CarriesTheMeetingTheFileAndTheDeadlineExactly) {
  const launcher::HandOver handOvers[] = {
      {{L"C:\\V\\LINK.INI", KindKey(std::string("A\x82\xA0\xFF", 4), "1:2")}, L"D:\\a b\\12:x.eps", 12345},
      {{L"", std::string("\0?", 2)}, L"x", 0},
      {{L"C:\\\x4E00\\LINK.INI", KindKey(std::nullopt, "")}, L"\"odd\"", 9999999999999999999u},
  };
  for (const auto& handOver : handOvers) {
    const auto decoded = launcher::DecodeHandOver(launcher::EncodeHandOver(handOver));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->meeting == handOver.meeting);
    EXPECT_EQ(decoded->file, handOver.file);
    EXPECT_EQ(decoded->deadline, handOver.deadline);
  }
  for (const wchar_t* text :
       {L"", L"x", L"3:abc", L"3:abc1:?", L"4:abc1:?x", L"3:abc:1:?x", L"1:a1:\x100x", L":a1:?x", L"1:a1:?1:5",
        L"1:a1:?x", L"1:a1:?0:x", L"1:a1:?2:1ax", L"1:a1:?2:-1x", L"1:a1:?20:12345678901234567890x", L"1:a1:?1: x"}) {
    EXPECT_FALSE(launcher::DecodeHandOver(text).has_value()) << testing::PrintToString(std::wstring(text));
  }
}

TEST(PathCheck, OnlyFullPathsWithoutQuotesOrControlCharactersGoOnACommandLine) {
  struct Case {
    std::wstring path;
    bool quotable, startable;
  };
  // Full paths as this platform has them: the Windows build has its own drive-letter forms.
  const std::wstring root = std::filesystem::path("/").is_absolute() ? L"/" : L"C:\\";
  const Case cases[] = {
      {root + L"work/x.eps", true, true},
      {root + L"work/a b/x.eps", true, true},
      {L"x.eps", true, false},
      {L"work/x.eps", true, false},
      {L"", false, false},
      {root + L"x.eps\" /injected \"" + root + L"y", false, false},
      {root + L"x\".eps", false, false},
      {root + L"x\t.eps", false, false},
      {root + L"x\r\n.eps", false, false},
      {root + L"x\x7F.eps", false, false},
      {root + L"x\x1F.eps", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(launcher::IsQuotablePath(c.path), c.quotable) << testing::PrintToString(c.path);
    EXPECT_EQ(launcher::IsStartablePathForm(c.path), c.startable) << testing::PrintToString(c.path);
  }
}

TEST(JoinPatience, ThePauseBetweenLooksGrowsToASecond) {
  const std::uint32_t pauses[] = {50, 50, 100, 200, 400, 800, 1000, 1000};
  for (int looks = 0; looks < static_cast<int>(std::size(pauses)); ++looks) {
    EXPECT_EQ(launcher::PauseBeforeLook(looks), pauses[looks]) << looks;
  }
  EXPECT_EQ(launcher::PauseBeforeLook(1000), 1000u);
  // Ten seconds of looks that nobody answers: a few dozen looks, not a busy loop.
  std::uint64_t waited = 0;
  int looks = 0;
  while (waited < launcher::kJoinLimit) waited += launcher::PauseBeforeLook(++looks);
  EXPECT_LT(looks, 20);
}

TEST(ChooserPrompt, NamesTheNumberOfFilesOnlyWhenThereAreSeveral) {
  EXPECT_EQ(launcher::ChooserPrompt(true, 1), launcher_texts::kPromptNotRegistered);
  EXPECT_EQ(launcher::ChooserPrompt(false, 1), launcher_texts::kPromptUnknownFormat);
  EXPECT_EQ(launcher::ChooserPrompt(true, 10),
            L"これら 10 個のファイルの形式は未登録です。起動するソフトを選択してください");
  EXPECT_EQ(launcher::ChooserPrompt(false, 2),
            L"これら 2 個のファイルの形式は不明です。起動するソフトを選択してください");
}

class ChooserGroupTest : public TempFolderTest {
 protected:
  std::wstring File(const std::string& name) {
    Put(name, "%!PS-Adobe");
    return Path(name).wstring();
  }
  static std::wstring HandOverText(const Meeting& meeting, const std::wstring& file, std::uint64_t deadline = 1000000) {
    return launcher::EncodeHandOver({meeting, file, deadline});
  }
  const Meeting meeting_{L"C:\\V\\LINK.INI", KindKey(std::string("Draw"), "1")};
};

// The clock as a table gives it: each hand-over at its own time.
std::function<std::uint64_t()> At(std::uint64_t tick) {
  return [tick] { return tick; };
}

TEST_F(ChooserGroupTest, TakesTheFilesOfItsMeetingWhileOpenInTheOrderTheyCome) {
  ChooserGroup group(meeting_, L"first.eps", true);
  EXPECT_EQ(group.Prompt(), launcher_texts::kPromptNotRegistered);
  struct Case {
    std::wstring text;
    HandOverAnswer answer;
  };
  const Case whileOpen[] = {
      {HandOverText(meeting_, File("third.eps")), HandOverAnswer::kTaken},
      {HandOverText({meeting_.linkIni, KindKey(std::string("DRAW"), "1")}, File("second.eps")), HandOverAnswer::kTaken},
      {HandOverText({meeting_.linkIni, KindKey(std::string("Draw"), "2")}, File("other kind.eps")),
       HandOverAnswer::kOther},
      {HandOverText({L"D:\\LINK.INI", meeting_.kind}, File("other link.ini.eps")), HandOverAnswer::kOther},
      {L"no hand-over", HandOverAnswer::kOther},
  };
  for (const Case& c : whileOpen) EXPECT_EQ(group.Take(c.text, At(10)), c.answer) << testing::PrintToString(c.text);
  EXPECT_EQ(group.files(), (Strings{L"first.eps", File("third.eps"), File("second.eps")}));
  EXPECT_EQ(group.Prompt(), launcher::ChooserPrompt(true, 3));
  group.Close();
  EXPECT_FALSE(group.takes());
  EXPECT_EQ(group.Take(HandOverText(meeting_, File("late.eps")), At(10)), HandOverAnswer::kClosing);
  EXPECT_EQ(group.Take(HandOverText({L"D:\\LINK.INI", meeting_.kind}, File("late.eps")), At(10)),
            HandOverAnswer::kOther);
  EXPECT_EQ(group.files().size(), 3u);
}

TEST_F(ChooserGroupTest, AHandOverIsTakenOnlyForAnExistingFileByAFullPathBeforeItsDeadline) {
  Put("folder.eps/inside", "");
  struct Case {
    const char* name;
    std::wstring file;
    std::uint64_t deadline, now;
    HandOverAnswer answer;
  };
  const Case cases[] = {
      {"in time", File("a.eps"), 100, 100, HandOverAnswer::kTaken},
      {"deadline passed", File("b.eps"), 100, 101, HandOverAnswer::kOther},
      {"missing", Path("none.eps").wstring(), 100, 0, HandOverAnswer::kOther},
      {"a folder", Path("folder.eps").wstring(), 100, 0, HandOverAnswer::kOther},
      {"relative", L"a.eps", 100, 0, HandOverAnswer::kOther},
      {"quote", File("a.eps") + L"\" /injected \"" + File("b.eps"), 100, 0, HandOverAnswer::kOther},
      {"line break", File("a.eps") + L"\r\n", 100, 0, HandOverAnswer::kOther},
      {"NUL", File("a.eps") + std::wstring(1, L'\0'), 100, 0, HandOverAnswer::kOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChooserGroup group(meeting_, L"first.eps", true);
    EXPECT_EQ(group.Take(HandOverText(meeting_, c.file, c.deadline), At(c.now)), c.answer);
    EXPECT_EQ(group.files().size(), c.answer == HandOverAnswer::kTaken ? 2u : 1u) << "counted all the same";
  }
}

TEST_F(ChooserGroupTest, AfterTheAnswerFilesJoinLateUncountedUntilTwoSecondsAfterTheAnswerAndTheLastOne) {
  struct Case {
    const char* name;
    std::uint64_t answeredAt;
    std::vector<std::uint64_t> joins;  // after the answer
    std::uint64_t graceEnd;
  };
  const Case cases[] = {
      {"none joins", 1000, {}, 3000},
      {"one joins soon", 1000, {1500}, 3500},
      {"a chain of late ones", 1000, {2900, 4800, 6700}, 8700},
      {"the answer is the later", 5000, {}, 7000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChooserGroup group(meeting_, L"first.eps", true);
    ASSERT_EQ(group.Take(HandOverText(meeting_, File("open.eps")), At(c.answeredAt - 500)), HandOverAnswer::kTaken);
    group.Answer();
    EXPECT_FALSE(group.open());
    EXPECT_TRUE(group.takes());
    Strings late;
    for (std::size_t k = 0; k < c.joins.size(); ++k) {
      late.push_back(File("late" + std::to_string(k) + ".eps"));
      EXPECT_EQ(group.Take(HandOverText(meeting_, late.back()), At(c.joins[k])), HandOverAnswer::kTaken);
    }
    EXPECT_EQ(group.GraceEnd(c.answeredAt), c.graceEnd);
    EXPECT_EQ(group.Prompt(), launcher::ChooserPrompt(true, 2)) << "the count stays as it was answered";
    EXPECT_EQ(group.TakeLate(), late);
    EXPECT_TRUE(group.TakeLate().empty()) << "each late file is handed out once";
  }
}

}  // namespace
