#include "chooser_group.h"

#include <gtest/gtest.h>

#include "launcher_main.h"
#include "launcher_texts.h"

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

TEST(HandOver, CarriesTheMeetingAndTheFileExactly) {
  const launcher::HandOver handOvers[] = {
      {{L"C:\\V\\LINK.INI", KindKey(std::string("A\x82\xA0\xFF", 4), "1:2")}, L"D:\\a b\\12:x.eps"},
      {{L"", std::string("\0?", 2)}, L"x"},
      {{L"C:\\\x4E00\\LINK.INI", KindKey(std::nullopt, "")}, L"\"odd\""},
  };
  for (const auto& handOver : handOvers) {
    const auto decoded = launcher::DecodeHandOver(launcher::EncodeHandOver(handOver));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->meeting == handOver.meeting);
    EXPECT_EQ(decoded->file, handOver.file);
  }
  for (const wchar_t* text :
       {L"", L"x", L"3:abc", L"3:abc1:?", L"4:abc1:?x", L"3:abc:1:?x", L"1:a1:\x100x", L":a1:?x"}) {
    EXPECT_FALSE(launcher::DecodeHandOver(text).has_value()) << testing::PrintToString(std::wstring(text));
  }
}

TEST(ChooserPrompt, NamesTheNumberOfFilesOnlyWhenThereAreSeveral) {
  EXPECT_EQ(launcher::ChooserPrompt(true, 1), launcher_texts::kPromptNotRegistered);
  EXPECT_EQ(launcher::ChooserPrompt(false, 1), launcher_texts::kPromptUnknownFormat);
  EXPECT_EQ(launcher::ChooserPrompt(true, 10),
            L"これら 10 個のファイルの形式は未登録です。起動するソフトを選択してください");
  EXPECT_EQ(launcher::ChooserPrompt(false, 2),
            L"これら 2 個のファイルの形式は不明です。起動するソフトを選択してください");
}

TEST(ChooserGroup, TakesTheFilesOfItsMeetingWhileOpenInTheOrderTheyCome) {
  const Meeting meeting{L"C:\\V\\LINK.INI", KindKey(std::string("Draw"), "1")};
  ChooserGroup group(meeting, L"first.eps", true);
  EXPECT_EQ(group.Prompt(), launcher_texts::kPromptNotRegistered);
  const auto handOver = [&](const Meeting& m, const wchar_t* file) { return launcher::EncodeHandOver({m, file}); };
  struct Case {
    std::wstring text;
    HandOverAnswer answer;
  };
  const Case whileOpen[] = {
      {handOver(meeting, L"third.eps"), HandOverAnswer::kTaken},
      {handOver({meeting.linkIni, KindKey(std::string("DRAW"), "1")}, L"second.eps"), HandOverAnswer::kTaken},
      {handOver({meeting.linkIni, KindKey(std::string("Draw"), "2")}, L"other kind.eps"), HandOverAnswer::kOther},
      {handOver({L"D:\\LINK.INI", meeting.kind}, L"other link.ini.eps"), HandOverAnswer::kOther},
      {L"no hand-over", HandOverAnswer::kOther},
  };
  for (const Case& c : whileOpen) EXPECT_EQ(group.Take(c.text), c.answer) << testing::PrintToString(c.text);
  EXPECT_EQ(group.files(), (Strings{L"first.eps", L"third.eps", L"second.eps"}));
  EXPECT_EQ(group.Prompt(), launcher::ChooserPrompt(true, 3));
  group.Close();
  EXPECT_EQ(group.Take(handOver(meeting, L"late.eps")), HandOverAnswer::kClosing);
  EXPECT_EQ(group.Take(handOver({L"D:\\LINK.INI", meeting.kind}, L"late.eps")), HandOverAnswer::kOther);
  EXPECT_EQ(group.files().size(), 3u);
}

}  // namespace
