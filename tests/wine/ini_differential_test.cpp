// Our INI reader and writer against the system's private-profile functions, on tricky files.
// Where Wine is known to differ from Windows, the expected value is Windows' own, given here.
#include <gtest/gtest.h>

#include <optional>

#include "../unit/utf16_bytes.h"
#include "driver.h"
#include "error.h"
#include "ini.h"

namespace {

using namespace drive;

struct ReadCase {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  int size = 1024;
  // Set where Wine gives another result than Windows: what Windows gives.
  std::optional<std::string> windows = std::nullopt;
};

std::string SystemRead(const ReadCase& c, const fs::path& file) {
  std::string buffer(static_cast<std::size_t>(c.size) + 1, '\0');
  const std::string path = ToAnsi(file.wstring());
  GetPrivateProfileStringA(c.section.c_str(), c.key.c_str(), "", buffer.data(), static_cast<DWORD>(c.size),
                           path.c_str());
  return buffer.substr(0, buffer.find('\0'));
}

std::string Utf16(std::wstring_view text, bool bigEndian = false) { return Utf16Bytes(text, bigEndian); }

const std::string kLong(1023, 'x');
const std::string kKanji = "\x8A\xBF";  // one double-byte character

const ReadCase kReads[] = {
    {"missing key", "[main]\r\na=1\r\n", "main", "b"},
    {"missing section", "[main]\r\na=1\r\n", "other", "a"},
    {"value of 1023 bytes", "[main]\r\nk=" + kLong + "\r\n", "main", "k"},
    {"value of 1025 bytes", "[main]\r\nk=" + kLong + "yz\r\n", "main", "k"},
    {"cut inside a double-byte character", "[main]\r\nk=" + kLong.substr(1) + kKanji + "z\r\n", "main", "k"},
    {"cut after a double-byte character", "[main]\r\nk=" + kLong.substr(2) + kKanji + "z\r\n", "main", "k"},
    {"long double-byte value",
     "[main]\r\nk=" +
         [] {
           std::string v;
           for (int i = 0; i < 600; ++i) v += kKanji;
           return v;
         }() +
         "\r\n",
     "main", "k"},
    {"small buffer", "[main]\r\nk=abcdef\r\n", "main", "k", 4},
    {"buffer of one", "[main]\r\nk=abcdef\r\n", "main", "k", 1},
    {"quoted with blanks", "[main]\r\nk=\"  abc  \"\r\n", "main", "k"},
    {"unquoted with blanks", "[main]\r\nk=  abc  \r\n", "main", "k"},
    {"single quotes", "[main]\r\nk='x y'\r\n", "main", "k"},
    {"lone quote", "[main]\r\nk=\"abc\r\n", "main", "k"},
    {"mismatched quotes", "[main]\r\nk=\"abc'\r\n", "main", "k"},
    {"nested quotes", "[main]\r\nk=\"\"x\"\"\r\n", "main", "k"},
    {"only quotes", "[main]\r\nk=\"\"\r\n", "main", "k"},
    {"quoted blanks", "[main]\r\nk=\"   \"\r\n", "main", "k"},
    {"tabs around value", "[main]\r\nk=\t abc \t\r\n", "main", "k"},
    {"tabs around key", "[main]\r\n\t key \t=v\r\n", "main", "key"},
    {"case of section and key", "[Main]\r\nCreatorVersion1=8\r\n", "MAIN", "creatorversion1"},
    {"spaces in caller's names", "[main]\r\nk=v\r\n", " main ", " k "},
    {"duplicate key", "[main]\r\nk=1\r\nk=2\r\n", "main", "k"},
    {"duplicate section", "[main]\r\nk=1\r\n[x]\r\n[main]\r\nj=2\r\n", "main", "j", 1024, ""},
    {"CR-only lines", "[main]\rk=cr\rj=2\r", "main", "j"},
    {"LF-only lines", "[main]\nk=lf\nj=2\n", "main", "k"},
    {"no last line end", "[main]\r\nk=last", "main", "k"},
    {"blank lines", "\r\n\r\n[main]\r\n\r\nk=1\r\n\r\n", "main", "k"},
    {"Shift-JIS value", "[main]\r\nname1=\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67 \x93\xFA\x96\x7B\r\n", "main",
     "name1"},
    {"Shift-JIS value ending in a 0x5C byte", "[main]\r\nk=\x95\x5C\r\n", "main", "k"},
    {"equals sign in value", "[main]\r\nk=a=b\r\n", "main", "k"},
    {"key without equals sign", "[main]\r\nk\r\nj=1\r\n", "main", "j"},
    {"keys before any section", "k=0\r\n[main]\r\nj=1\r\n", "main", "k"},
    {"blanks in brackets", " [ main ] \r\nk=1\r\n", "main", "k"},
    {"text after the bracket", "[main] note\r\nk=1\r\n", "main", "k"},
    {"semicolon inside a value", "[main]\r\nk=a;b#c\r\n", "main", "k"},
    {"NUL inside a value", std::string("[main]\r\nk=ab\0cd\r\nj=2\r\n", 19), "main", "k"},
    {"key after a NUL", std::string("[main]\r\nk=ab\0cd\r\nj=2\r\n", 19), "main", "j"},
    {"UTF-16 file", Utf16(L"[main]\r\nname1=\x30EC\x30A4\x30A2\x30A6\x30C8 \x65E5\x672C\r\n"), "main", "name1"},
    {"UTF-16 file, quoted value", Utf16(L"[main]\r\nk= \" a \" \r\n"), "main", "k"},
    {"UTF-16 file, character outside the code page", Utf16(L"[main]\r\nk=a\x00E9\x0101b\r\n"), "main", "k"},
    {"UTF-16 file, long value", Utf16(L"[main]\r\nk=" + std::wstring(700, L'\x6F22') + L"\r\n"), "main", "k"},
    // A UTF-8 mark, which Windows does not recognise (its first header becomes unreadable), makes
    // the file UTF-8 text for us, as for Wine: a text editor put it there, not the system.
    {"UTF-8 byte-order mark", "\xEF\xBB\xBF[main]\r\nk=1\r\n", "main", "k"},
    {"UTF-8 file", "\xEF\xBB\xBF[main]\r\nname1=\xE3\x83\xAC\xE3\x82\xA4\xE3\x82\xA2\xE3\x82\xA6\xE3\x83\x88\r\n",
     "main", "name1"},
    // Big-endian UTF-16 is not recognised by Windows either; read like the other Unicode files.
    {"big-endian UTF-16 file", Utf16(L"[main]\r\nk=\x65E5\x672C\r\n", true), "main", "k"},
    // Known differences, with the Windows result.
    {"empty section name", "[]\r\nk=e\r\n", "", "k", 1024, "e"},
    {"comment line", "[main]\r\n;k=1\r\n", "main", ";k", 1024, ""},
    {"section without closing bracket", "[main\r\nk=1\r\n", "main", "k", 1024, "1"},
    {"second bracket in header", "[a]b]\r\nk=1\r\n", "a", "k", 1024, "1"},
    {"form feed after value", "[main]\r\nk=v\f\r\n", "main", "k", 1024, "v\f"},
};

TEST(IniDifferential, ReadsAsTheSystemDoes) {
  Sandbox box;
  const fs::path file = box.Path(L"test.ini");
  for (const ReadCase& c : kReads) {
    SCOPED_TRACE(c.name);
    box.Put(L"test.ini", c.content);
    const std::string ours = IniDocument::Load(file).Get(c.section, c.key, c.size);
    const std::string system = SystemRead(c, file);
    if (c.windows) {
      EXPECT_EQ(ours, *c.windows);
      if (system != *c.windows) std::printf("  known difference, Wine gives \"%s\": %s\n", system.c_str(), c.name);
    } else {
      EXPECT_EQ(ours, system);
    }
  }
}

struct Write {
  std::string section, key, value;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> content;  // no value: the file does not exist
  std::vector<Write> writes;
  std::vector<std::pair<std::string, std::string>> reads;  // read back from both files
  bool sameBytes;                                          // files that Wine writes as Windows does
};

const WriteCase kWrites[] = {
    {"new file", std::nullopt, {{"main", "Quelby", "1"}}, {{"main", "Quelby"}}, true},
    {"entries of link.ini",
     "[main]\r\nQuelby=1\r\n",
     {{"main", "link1", "\"Adobe Illustrator(R) 8.0\""},
      {"main", "path1", "\"C:\\Program Files\\d.exe\""},
      {"main", "CreatorVersion1", "\"\""}},
     {{"main", "link1"}, {"main", "path1"}, {"main", "CreatorVersion1"}, {"main", "Quelby"}},
     true},
    {"overwrite keeps place and spelling",
     "[Main]\r\nNAME1=old\r\nname2=b\r\n",
     {{"main", "name1", "new"}, {"MAIN", "name3", "c"}},
     {{"main", "name1"}, {"main", "name2"}, {"main", "name3"}},
     true},
    {"empty value", "[main]\r\nname1=x\r\n", {{"main", "name1", ""}}, {{"main", "name1"}}, true},
    {"new section", "[other]\r\na=1\r\n", {{"main", "k", "v"}}, {{"main", "k"}, {"other", "a"}}, true},
    {"Shift-JIS value",
     std::nullopt,
     {{"main", "name1", "\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67"}},
     {{"main", "name1"}},
     true},
    {"blank lines and comments",
     "; settings\r\n\r\n[main]\r\na = 1\r\n\r\n[x]\r\nb=2\r\n",
     {{"main", "c", "3"}, {"main", "a", "9"}},
     {{"main", "a"}, {"main", "c"}, {"x", "b"}},
     false},
    {"no last line end", "[main]\r\na=1", {{"main", "b", "2"}}, {{"main", "a"}, {"main", "b"}}, true},
    {"UTF-16 file",
     Utf16(L"[main]\r\nname1=a\r\n"),
     {{"main", "name1", "\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67"}, {"main", "path1", "C:\\x.exe"}},
     {{"main", "name1"}, {"main", "path1"}},
     true},
    {"UTF-8 file",
     "\xEF\xBB\xBF[main]\r\nname1=a\r\n",
     {{"main", "name1", "\x83\x8C\x83\x43\x83\x41\x83\x45\x83\x67"}, {"main", "path1", "C:\\x.exe"}},
     {{"main", "name1"}, {"main", "path1"}},
     true},
};

TEST(IniDifferential, WritesAsTheSystemDoes) {
  Sandbox box;
  for (const WriteCase& c : kWrites) {
    SCOPED_TRACE(c.name);
    const fs::path ours = box.Path(L"ours.ini");
    const fs::path system = box.Path(L"system.ini");
    fs::remove(ours);
    fs::remove(system);
    if (c.content) {
      box.Put(L"ours.ini", *c.content);
      box.Put(L"system.ini", *c.content);
    }
    for (const Write& w : c.writes) {
      EXPECT_NE(WriteIniString(w.section, w.key, w.value, ours), 0);
      EXPECT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                             ToAnsi(system.wstring()).c_str()));
    }
    for (const auto& [section, key] : c.reads) {
      ReadCase read{"", "", section, key};
      EXPECT_EQ(SystemRead(read, ours), SystemRead(read, system)) << section << "/" << key;
    }
    if (c.sameBytes) {
      EXPECT_EQ(box.Read(L"ours.ini"), box.Read(L"system.ini"));
    }
  }
}

TEST(IniDifferential, WritesKeepOtherBytesAndAttributes) {
  Sandbox box;
  const fs::path file = box.Put(L"link.ini", "; kept\r\n\r\n[main]\r\nQuelby=1\r\n");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_NE(WriteIniString("main", "link1", "\"x\"", file), 0);
  EXPECT_EQ(box.Read(L"link.ini"), "; kept\r\n\r\n[main]\r\nQuelby=1\r\nlink1=\"x\"\r\n");
  EXPECT_EQ(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(std::distance(fs::directory_iterator(box.folder()), fs::directory_iterator()), 1)
      << "no temporary file stays behind";
}

TEST(IniDifferential, AFileHeldOpenElsewhereIsLeftAsItWas) {
  Sandbox box;
  const fs::path file = box.Put(L"link.ini", "[main]\r\nQuelby=1\r\n");
  winhandle::FileHandle held(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(WriteIniString("main", "link1", "\"x\"", file), 0);
  held.reset();
  EXPECT_EQ(box.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
}

TEST(IniDifferential, AReplacementThatFailsLeavesTheFileAndNoTemporaryFile) {
  Sandbox box;
  const fs::path file = box.Put(L"link.ini", "[main]\r\nQuelby=1\r\n");
  // Readable, but not to be replaced while this handle is open.
  winhandle::FileHandle held(
      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(WriteIniString("main", "link1", "\"x\"", file), 0);
  held.reset();
  EXPECT_EQ(box.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
  // Wine's ReplaceFileW leaves an empty file of its own (rf*.tmp) behind when it fails.
  for (const auto& entry : fs::directory_iterator(box.folder())) {
    EXPECT_NE(entry.path().filename().wstring().rfind(L"ini", 0), 0u) << "the temporary file stayed behind";
  }
}

TEST(IniDifferential, AFileBeingReadByTheOtherProgramCanStillBeReplaced) {
  Sandbox box;
  const fs::path file = box.Put(L"link.ini", "[main]\r\nQuelby=1\r\n");
  fileio::Reader reader;
  ASSERT_TRUE(reader.Open(file));
  EXPECT_NE(WriteIniString("main", "link1", "\"x\"", file), 0);
  reader.Close();
  EXPECT_EQ(box.Read(L"link.ini"), "[main]\r\nQuelby=1\r\nlink1=\"x\"\r\n");
}

TEST(IniDifferential, ALineBreakIsRefusedWithItsErrorNumber) {
  Sandbox box;
  const fs::path file = box.Put(L"link.ini", "[main]\r\nQuelby=1\r\n");
  try {
    WriteIniString("main", "CreatorVersion1", "\"10.0\nline\"", file);
    ADD_FAILURE() << "written";
  } catch (const err::AppError& error) {
    EXPECT_EQ(err::ReportText(error.number()),
              L"設定ファイルに書き込む値に改行が含まれているため、書き込めません。 (エラー番号:N1001)");
  }
  EXPECT_EQ(box.Read(L"link.ini"), "[main]\r\nQuelby=1\r\n");
}

}  // namespace
