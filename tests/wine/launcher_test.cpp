// The launcher as the desktop shell starts it, under Wine: its messages, what it starts, what it
// writes, and its windows.
#include <gtest/gtest.h>

#include <cstdint>

#include "../../launcher/launcher_texts.h"
#include "../../launcher/win/launcher_win.h"
#include "program_test.h"

namespace {

using namespace drive;

const std::string kIllustrator10 =
    "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: Adobe Illustrator(R) 10.0\r\n%%AI8_CreatorVersion: 10.0\r\n";

class LauncherTest : public ProgramTest {
 protected:
  void Register(const fs::path& program) { PutLinks(LinkEntry(1, "adobe illustrator(r) 10.0", Ansi(program), "10.0")); }

  const fs::path eps_ = box_.Put(L"work files\\logo.eps", kIllustrator10);
};

TEST_F(LauncherTest, ARegisteredFileOpensInItsProgramWithBothPathsQuoted) {
  // A program at the path cut at the blank must never run in place of the registered one.
  box_.Install(L"recorder.exe", L"Program.exe");
  Register(draw_);
  auto launcher = Open(eps_);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_TRUE(Windows(launcher->id()).empty());
  EXPECT_EQ(Started(draw_), std::vector<std::wstring>{StartOf(draw_, eps_)});
  EXPECT_FALSE(box_.Exists(L"record.txt")) << "the decoy ran";
}

TEST_F(LauncherTest, MissingFileIsReportedWithItsPath) {
  const auto box = ExpectMessage(L"  \"" + box_.Path(L"none.eps").wstring() + L"\"  ");
  EXPECT_EQ(box.title, L"Varnock");
  EXPECT_EQ(box.text, std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + box_.Path(L"none.eps").wstring());
  EXPECT_TRUE(box.icon);
  EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
}

TEST_F(LauncherTest, BlanksOnlyOrOneMissingPathWithBlanksOrAFolderAreAPathThatIsNotFound) {
  EXPECT_EQ(ExpectMessage(L"   ").text, std::wstring(launcher_texts::kFileNotFound) + L"\r\n");
  const fs::path missing = box_.Path(L"work files\\no such.eps");
  EXPECT_EQ(ExpectMessage(L" " + Quoted(missing)).text,
            std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + missing.wstring());
  EXPECT_EQ(ExpectMessage(L" " + Quoted(box_.folder())).text,
            std::wstring(launcher_texts::kFileNotFound) + L"\r\n" + box_.folder().wstring());
}

TEST_F(LauncherTest, MissingLinkIniIsReportedWithoutAnIcon) {
  fs::remove(box_.Path(L"link.ini"));
  const auto box = ExpectMessage(L" " + Quoted(eps_));
  EXPECT_EQ(box.text, launcher_texts::kLinkIniMissing);
  EXPECT_EQ(box.title, L"Varnock");
  EXPECT_FALSE(box.icon);
}

TEST_F(LauncherTest, ARegisteredProgramThatHasGoneIsReported) {
  Register(box_.Path(L"gone\\draw.exe"));
  const auto box = ExpectMessage(L" " + Quoted(eps_));
  EXPECT_EQ(box.text,
            std::wstring(launcher_texts::kProgramNotFound) + L"\r\n" + box_.Path(L"gone\\draw.exe").wstring());
  EXPECT_TRUE(box.icon);
}

TEST_F(LauncherTest, AProgramThatCannotStartGetsTheErrorReport) {
  const fs::path broken = box_.Put(L"broken\\draw.exe", "this is no program");
  Register(broken);
  const auto box = ExpectMessage(L" " + Quoted(eps_));
  EXPECT_EQ(box.title, L"Varnock");
  EXPECT_NE(box.text.find(L" (エラー番号:-2147"), std::wstring::npos) << ToUtf8(box.text);
  EXPECT_EQ(box.text.back(), L')');
  EXPECT_TRUE(box.icon);
}

// As Acrobat 9 writes it: a binary header of 30 bytes, the padding DF 8F, whose 8F is a lead byte,
// and the PostScript section at 32. Whether the offset lies in the file comes from the file's size.
TEST_F(LauncherTest, AFileWithABinaryHeaderOpensItsRegisteredProgram) {
  const std::string section = "%!PS-Adobe-3.1 EPSF-3.0\r\n%%Creator: Adobe Acrobat 9.0\r\n%%EndComments\r\n";
  std::string bytes = "\xC5\xD0\xD3\xC6";
  for (const std::uint32_t value : {32u, static_cast<std::uint32_t>(section.size()), 0u, 0u, 0u, 0u}) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift & 0xFF);
  }
  const fs::path file = box_.Put(L"work files\\acrobat.eps", bytes + "\xFF\xFF\xDF\x8F" + section);
  PutLinks(LinkEntry(1, "Adobe Acrobat 9.0", Ansi(draw_), ""));
  auto launcher = Open(file);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(Started(draw_), std::vector<std::wstring>{StartOf(draw_, file)});
}

TEST_F(LauncherTest, RealFilesFromTheCorpusOpenTheirRegisteredProgram) {
  const fs::path corpus = CorpusFolder();
  if (corpus.empty() || !fs::exists(corpus / L"README.md")) {
    GTEST_SKIP() << "the reference corpus is not there (VARNOCK_CORPUS: " << ToUtf8(corpus.wstring())
                 << "): no real file to open";
  }
  const fs::path file = box_.Path(L"illu10_preview.eps");
  fs::copy_file(corpus / L"Pillow__Tests_images_eps_illu10_preview.eps", file);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // the corpus is read-only
  PutLinks(LinkEntry(1, "Adobe Illustrator(R) 16.0", Ansi(layout_), "16.0.3"));
  auto launcher = Open(file);
  ASSERT_TRUE(launcher->Ended());
  EXPECT_EQ(Started(layout_), std::vector<std::wstring>{StartOf(layout_, file)});
}

}  // namespace
