#include "eps_header.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "eps_reference.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

ReferenceResult Scan(const std::string& bytes, std::int64_t limit) {
  EpsHeaderScanner scanner;
  const std::size_t taken = scanner.Feed(bytes.data(), bytes.size(), limit);
  if (taken == bytes.size()) scanner.EndOfFile();
  return {scanner.CreatorText(), scanner.CreatorVersion()};
}

const std::string kIllustrator =
    "%!PS-Adobe-3.0 EPSF-3.0\r\n%%Creator: Adobe Illustrator(R) 10.0\r\n"
    "%%AI8_CreatorVersion: 10.0\r\n";

// The analysis of files, each test in a folder of its own.
class EpsFile : public TempFolderTest {};

TEST(EpsHeader, WorkedExampleWithEachKindOfLineEnd) {
  EXPECT_EQ(Scan(kIllustrator, 102400), (ReferenceResult{"Adobe Illustrator(R) 10.0", "10.0"}));
  std::string crOnly = kIllustrator;
  crOnly.erase(std::remove(crOnly.begin(), crOnly.end(), '\n'), crOnly.end());
  EXPECT_EQ(Scan(crOnly, 102400), (ReferenceResult{"Adobe Illustrator(R) 10.0", "10.0"}));
  std::string lfOnly = kIllustrator;
  lfOnly.erase(std::remove(lfOnly.begin(), lfOnly.end(), '\r'), lfOnly.end());
  // The creator version ends at an LF as well, so LF-only files keep their version.
  EXPECT_EQ(Scan(lfOnly, 102400), (ReferenceResult{"Adobe Illustrator(R) 10.0", "10.0"}));
  EXPECT_EQ(Scan(lfOnly + std::string(500, 'b') + "\rmore", 102400).creatorVersion, "10.0");
}

TEST(EpsHeader, NoPostScriptMarkerMeansUnknownFormat) {
  EXPECT_EQ(Scan("", 100), ReferenceResult{});
  EXPECT_EQ(Scan("%%Creator: X\r\n%%AI8_CreatorVersion: 1\r\n", 100), ReferenceResult{});
  EXPECT_EQ(Scan("%!PS-Adobe\r\n", 100), ReferenceResult{});
}

TEST(EpsHeader, MarkersInAnyCaseAnywhereOnALine) {
  EXPECT_EQ(Scan("%%creator: a\r\nx %!ps-ADOBE\r\n", 100), (ReferenceResult{"a", ""}));
  EXPECT_EQ(Scan("%!PS-Adobe %%CREATOR:b\n%%ai8_creatorversion:2\r", 100), (ReferenceResult{"b", "2"}));
}

TEST(EpsHeader, CreatorLineEdgeCases) {
  const std::string ps = "%!PS-Adobe\r\n";
  EXPECT_EQ(Scan(ps + "%%Creator:\r\n", 100).creatorText, std::nullopt);
  EXPECT_EQ(Scan(ps + "%%Creator:   \r\n", 100).creatorText, "");
  EXPECT_EQ(Scan(ps + "%%Creator: last", 100).creatorText, std::nullopt);
  EXPECT_EQ(Scan(ps + "%%Creator: a\rb\n", 100).creatorText, "a");
  EXPECT_EQ(Scan(ps + "%%Creator: a\nb\r", 100).creatorText, "a");
  EXPECT_EQ(Scan(ps + "%%Creator:\tTab \r", 100).creatorText, "\tTab");
  // Only the first occurrence counts, even when it gives nothing.
  EXPECT_EQ(Scan(ps + "%%Creator:\r%%Creator: second\r", 100).creatorText, std::nullopt);
}

TEST(EpsHeader, CreatorVersionEdgeCases) {
  const std::string ps = "%!PS-Adobe\r\n%%Creator: c\r\n";
  EXPECT_EQ(Scan(ps + "%%AI8_CreatorVersion:\r\n", 100).creatorVersion, "");
  EXPECT_EQ(Scan(ps + "%%AI8_CreatorVersion: 13.0.2 \r\n", 100).creatorVersion, "13.0.2");
  EXPECT_EQ(Scan(ps + "%%AI8_CreatorVersion: 9", 100).creatorVersion, "");
}

TEST(EpsHeader, ShiftJisTextAndTheLeadByteRule) {
  const std::string kanji = "\x93\xFA\x96\x7B";  // two characters
  EXPECT_EQ(Scan("%!PS-Adobe\r%%Creator: " + kanji + " \r", 100).creatorText, kanji);
  // A lead byte takes the byte after it, even a CR: the line goes on.
  EXPECT_EQ(Scan("%!PS-Adobe\r%%Creator: a\x81\rb\r", 100).creatorText, "a\x81\rb");
  // A '%' taken as a second byte starts no marker.
  EXPECT_EQ(Scan("\x81%!PS-Adobe\r%%Creator: a\r", 100), ReferenceResult{});
}

TEST(EpsHeader, LimitCountsCharactersNotBytes) {
  const std::string header = "%!PS-Adobe\r%%Creator: x\r";
  const std::string file = std::string(10, '\x82') + header;  // 5 double-byte characters
  const auto needed = static_cast<std::int64_t>(5 + header.size());
  EXPECT_EQ(Scan(file, needed).creatorText, "x");
  EXPECT_EQ(Scan(file, needed - 1).creatorText, std::nullopt);
}

// The results at each of three growing limits, from one analysis that reads the file once.
std::vector<ReferenceResult> Analyse(const fs::path& file, const std::vector<std::int32_t>& limits) {
  EpsFileAnalysis analysis(file);
  std::vector<ReferenceResult> results;
  for (const auto limit : limits) {
    ReferenceResult result;
    result.creatorText = analysis.AnalyzeEpsFile(limit, result.creatorVersion);
    results.push_back(result);
  }
  return results;
}

// Random files built from the pieces that matter: markers in mixed case, line ends, blanks, tabs,
// double-byte characters (with CR, LF and '%' as second bytes) and plain filler.
std::string RandomFile(std::mt19937& random) {
  // The pieces stand in rows of their kind.
  // clang-format off
  static const std::vector<std::string> pieces = {
      "%!PS-Adobe", "%!ps-adobe-3.0", "%%Creator:", "%%CREATOR: ", "%%creator:",
      "%%AI8_CreatorVersion:", "%%ai8_creatorversion: ", "%%%Creator:", "%%Cre", "%%AI8_",
      "\r", "\n", "\r\n", " ", "  ", "\t", "x", "Adobe Illustrator(R) 8.0", "10.0", "%",
      "\x82\xA0", "\x81\r", "\x81\n", "\x81%", "\x93\xFA", "\xB1", "\x81", "\0"};
  // clang-format on
  std::string file;
  const int count = std::uniform_int_distribution<int>(0, 40)(random);
  for (int i = 0; i < count; ++i) {
    file += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
  }
  return file;
}

TEST_F(EpsFile, StreamingMatchesTheWholeTextRulesAtEveryLimit) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    const std::string file = RandomFile(random);
    const auto size = static_cast<std::int32_t>(file.size());
    std::uniform_int_distribution<std::int32_t> limit(0, size + 2);
    std::vector<std::int32_t> limits = {limit(random), limit(random), limit(random)};
    std::sort(limits.begin(), limits.end());
    const fs::path temp = Put("file.eps", file);
    const auto results = Analyse(temp, limits);
    for (std::size_t i = 0; i < limits.size(); ++i) {
      ASSERT_EQ(results[i], ReferenceAnalysis(file, limits[i]))
          << "round " << round << " limit " << limits[i] << " file " << testing::PrintToString(file);
    }
    // Fed in small random pieces, the scanner gives the same as fed all at once.
    EpsHeaderScanner scanner;
    std::size_t pos = 0;
    while (pos < file.size()) {
      const std::size_t piece = std::uniform_int_distribution<std::size_t>(1, 7)(random);
      pos += scanner.Feed(file.data() + pos, std::min(piece, file.size() - pos), limits[2]);
      if (!scanner.NeedsMore(limits[2])) break;
    }
    if (pos == file.size()) scanner.EndOfFile();
    ASSERT_EQ((ReferenceResult{scanner.CreatorText(), scanner.CreatorVersion()}), ReferenceAnalysis(file, limits[2]));
  }
}

// Every way of passing over the text gives what the whole-text rules give. The files are built
// to put what matters where the vector paths change hands: runs of lead bytes of odd and even
// length (so that second bytes, which may be lead bytes or '%' themselves, fall across the 64-byte
// blocks), '%' before and after block ends, markers, CR and LF, across the 64 KiB reads, with
// limits on and around block ends.
class EpsHeaderPaths : public TempFolderTest, public testing::WithParamInterface<ScanPath> {
 protected:
  void SetUp() override {
    if (!ScanPathAvailable(GetParam())) GTEST_SKIP() << "this processor lacks the path";
  }
};

std::string AdversarialFile(std::mt19937& random, std::size_t size) {
  // The pieces stand in rows of their kind.
  // clang-format off
  static const std::vector<std::string> pieces = {
      "%!PS-Adobe", "%!ps-adobe-3.0", "%%Creator:", "%%CREATOR: x", "%%AI8_CreatorVersion: 1",
      "%%", "%!", "%", "%%%", "\r", "\n", "\r\n", " ", "ab", "\x81%", "\x81\r", "\x81\n", "\xE0!",
      "\xA0", "\x80", "\xFD", "\x9F\x40", "\xFC\xFC"};
  // clang-format on
  std::string file;
  std::uniform_int_distribution<int> choice(0, 10);
  while (file.size() < size) {
    const int kind = choice(random);
    if (kind == 10) {  // a long stretch of plain ASCII, which is taken many blocks at a time
      static const char* const plain[] = {"x", " ", "\r", "\n", "%x"};
      for (int i = std::uniform_int_distribution<int>(100, 700)(random); i > 0; --i) file += plain[random() % 5];
    } else if (kind < 3) {  // a run of lead bytes, odd or even
      file.append(std::uniform_int_distribution<std::size_t>(1, 70)(random), kind == 0 ? '\x81' : '\xE5');
    } else if (kind < 5) {  // filler up to just before, at or after a block end
      const std::size_t end = (file.size() / 64 + 1) * 64 + std::uniform_int_distribution<int>(-2, 1)(random);
      while (file.size() < end) file += (kind == 4 && random() % 4 == 0) ? '\x82' : 'q';
    } else if (kind < 6) {  // random bytes
      for (int i = std::uniform_int_distribution<int>(1, 200)(random); i > 0; --i) file += static_cast<char>(random());
    } else {
      file += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    }
  }
  return file;
}

// The characters of the file, of which the first `binary` bytes are one each.
std::int64_t CharacterCount(const std::string& file, std::size_t binary = 0) {
  std::int64_t count = 0;
  for (std::size_t pos = 0; pos < file.size(); ++count)
    pos += (pos >= binary && text::Cp932LeadBytes()[static_cast<unsigned char>(file[pos])]) ? 2 : 1;
  return count;
}

// Limits that stop on and next to block ends, and anywhere.
std::int64_t SomeLimit(std::mt19937& random, std::size_t size) {
  if (random() % 2) return std::uniform_int_distribution<std::int64_t>(0, static_cast<std::int64_t>(size) + 2)(random);
  return static_cast<std::int64_t>(random() % (size / 64 + 1)) * 64 + std::uniform_int_distribution<int>(-2, 2)(random);
}

TEST_P(EpsHeaderPaths, FedInPiecesMatchesTheWholeTextRules) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 3000; ++round) {
    const std::string file = AdversarialFile(random, std::uniform_int_distribution<std::size_t>(0, 1500)(random));
    const std::int64_t limit = SomeLimit(random, file.size());
    EpsHeaderScanner scanner(GetParam());
    std::size_t pos = 0;
    while (pos < file.size() && scanner.NeedsMore(limit)) {
      const std::size_t piece = random() % 3 ? std::uniform_int_distribution<std::size_t>(1, 200)(random) : file.size();
      pos += scanner.Feed(file.data() + pos, std::min(piece, file.size() - pos), limit);
    }
    if (pos == file.size()) scanner.EndOfFile();
    ASSERT_EQ((ReferenceResult{scanner.CreatorText(), scanner.CreatorVersion()}), ReferenceAnalysis(file, limit))
        << "round " << round << " limit " << limit << " file " << testing::PrintToString(file);
    ASSERT_EQ(scanner.charsScanned(), std::clamp<std::int64_t>(limit, 0, CharacterCount(file))) << "round " << round;
  }
}

// Each byte value at each place of a block, before a header: a lead byte takes the '%' after it.
TEST_P(EpsHeaderPaths, EveryByteValueAtEveryPlaceOfABlock) {
  for (int value = 0; value < 256; ++value) {
    for (std::size_t place = 0; place < 64; place += 9) {
      const std::string file =
          std::string(place, 'q') + static_cast<char>(value) + "%!PS-Adobe\r%%Creator: x\r" + std::string(100, 'q');
      EpsHeaderScanner scanner(GetParam());
      scanner.Feed(file.data(), file.size(), 1000);
      scanner.EndOfFile();
      ASSERT_EQ((ReferenceResult{scanner.CreatorText(), scanner.CreatorVersion()}), ReferenceAnalysis(file, 1000))
          << "byte " << value << " at " << place;
      ASSERT_EQ(scanner.charsScanned(), CharacterCount(file)) << "byte " << value << " at " << place;
    }
  }
}

TEST_P(EpsHeaderPaths, ReadsOfAWholeFileMatchTheWholeTextRulesAtEachLimit) {
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    // A header (or a part of one) behind about 64 KiB of hard text, so that it crosses the reads.
    std::string file = AdversarialFile(random, 65536 - 200 + random() % 400);
    file += AdversarialFile(random, 100) + kIllustrator + AdversarialFile(random, 70000);
    const fs::path temp = Put("file.eps", file);
    std::vector<std::int32_t> limits;
    for (int i = 0; i < 3; ++i)
      limits.push_back(static_cast<std::int32_t>(std::max<std::int64_t>(0, SomeLimit(random, file.size()))));
    std::sort(limits.begin(), limits.end());
    EpsFileAnalysis analysis(temp, GetParam());
    for (const auto limit : limits) {
      ReferenceResult result;
      result.creatorText = analysis.AnalyzeEpsFile(limit, result.creatorVersion);
      ASSERT_EQ(result, ReferenceAnalysis(file, limit)) << "round " << round << " limit " << limit;
    }
  }
}

std::string PathName(const testing::TestParamInfo<ScanPath>& info) {
  switch (info.param) {
    case ScanPath::kScalar: return "Scalar";
    case ScanPath::kSse2: return "Sse2";
    case ScanPath::kAvx2: return "Avx2";
    case ScanPath::kAvx512: return "Avx512";
    default: return "Fastest";
  }
}

// A marker whose '%' is the last byte handed over: what follows it arrives only with the next piece.
TEST_P(EpsHeaderPaths, AMarkerSplitRightAfterItsFirstByte) {
  for (const std::size_t piece : {64, 128, 65536}) {
    for (const bool creatorFirst : {true, false}) {
      const std::string before = creatorFirst ? "%%Creator: x\r" : "%!PS-Adobe\r";
      const std::string split = creatorFirst ? "%!PS-Adobe\r" : "%%Creator: x\r";
      const std::string file = std::string(piece - 1, 'q') + split + before;
      EpsHeaderScanner scanner(GetParam());
      const std::size_t taken = scanner.Feed(file.data(), piece, 100000);
      scanner.Feed(file.data() + taken, file.size() - taken, 100000);
      scanner.EndOfFile();
      EXPECT_EQ(scanner.CreatorText(), "x") << piece << " " << creatorFirst;
    }
  }
}

// A DOS EPS binary header of 30 bytes: the magic, the PostScript section's offset and length, the
// offsets and lengths of a metafile and a TIFF preview (none here), and a checksum of FFFF.
std::string PreviewHeader(std::uint32_t offset, std::uint32_t length) {
  std::string header = "\xC5\xD0\xD3\xC6";
  for (const std::uint32_t value : {offset, length, 0u, 0u, 0u, 0u}) {
    for (int shift = 0; shift < 32; shift += 8) header += static_cast<char>(value >> shift & 0xFF);
  }
  return header + "\xFF\xFF";
}

// A file whose header puts `section` at `offset`, with a lead byte (8F) just before it: after
// `padding` (repeated) when the offset is past the header, else in place of the header's last bytes.
std::string PreviewFile(std::uint32_t offset, const std::string& section, char padding = '\xDF') {
  std::string file = PreviewHeader(offset, static_cast<std::uint32_t>(section.size()));
  file.resize(offset - 1, padding);
  return file + '\x8F' + section;
}

const std::string kAcrobat = "%!PS-Adobe-3.1 EPSF-3.0\r\n%%Creator: Adobe Acrobat 9.0\r\n%%EndComments\r\n";

struct PreviewCase {
  const char* what;
  std::string file;
  std::int64_t limit;
  ReferenceResult expected;
};

std::vector<PreviewCase> PreviewCases() {
  // As Acrobat 9 writes it: two padding bytes DF 8F after the header, and 8F is a lead byte.
  const std::string acrobat = PreviewFile(32, kAcrobat);
  const ReferenceResult found{"Adobe Acrobat 9.0", ""};
  // Characters up to the end of the creator line.
  const auto throughCreator = static_cast<std::int64_t>(kAcrobat.find("9.0\r") + 4);
  // Lead bytes before the section: binary, they count one character each.
  const std::string leadPadded = PreviewFile(40, kAcrobat, '\x81');
  // Markers in a preview, after an odd run of lead bytes.
  const std::string inPreview = "%!PS-Adobe\r%%Creator: p\r";
  const std::int64_t previewEnd = 30 + 9 + static_cast<std::int64_t>(inPreview.size());
  std::string previewMarkers = PreviewHeader(80, 0) + std::string(9, '\x81') + inPreview;
  previewMarkers.resize(79, 'q');
  previewMarkers += "\x8F%%Creator: section\r";
  // A value that begins in the binary part and ends with three lead bytes, then the section's CR.
  std::string lineAcross = PreviewHeader(47, 0) + "%%Creator: abc";
  lineAcross.resize(47, '\xE0');
  lineAcross += "\r\n%!PS-Adobe\r\n";
  std::string wrongMagic = acrobat;
  wrongMagic[3] = '\xC7';
  // The whole file after its header, with its offset at the end of the file or past it.
  const std::string rest = "\x8F%!PS-Adobe\r\n%%Creator: x\r\n";
  const auto size = static_cast<std::uint32_t>(30 + rest.size());
  return {
      {"Acrobat 9: the section's first '%' is no second byte", acrobat, 102400, found},
      {"the offset right after the header", PreviewFile(30, kAcrobat), 102400, found},
      {"the offset at the file's last byte", PreviewHeader(size - 1, 1) + rest, 102400, {"x", ""}},
      {"an offset inside the header is ignored", PreviewFile(29, kAcrobat), 102400, {}},
      {"an offset at the file's end is ignored", PreviewHeader(size, 0) + rest, 102400, {}},
      {"an offset past the file's end is ignored", PreviewHeader(size + 1, 0) + rest, 102400, {}},
      {"an offset of FFFFFFFF is ignored", PreviewHeader(0xFFFFFFFF, 0) + rest, 102400, {}},
      {"without the magic, as ever", wrongMagic, 102400, {}},
      {"the limit at the binary part's end", acrobat, 32, {}},
      {"the limit one short of the creator line's end", acrobat, 32 + throughCreator - 1, {}},
      {"the limit at the creator line's end", acrobat, 32 + throughCreator, found},
      {"binary lead bytes count one each", leadPadded, 40 + throughCreator - 1, {}},
      {"binary lead bytes count one each, at the limit", leadPadded, 40 + throughCreator, found},
      {"markers in the binary part count first", previewMarkers, 102400, {"p", ""}},
      {"the limit among the binary part's lead bytes", previewMarkers, 35, {}},
      {"the limit inside the binary part, short of its markers", previewMarkers, previewEnd - 1, {}},
      {"the limit inside the binary part, after its markers", previewMarkers, previewEnd, {"p", ""}},
      {"a value begun in the binary part ends at the section's CR", lineAcross, 102400, {"abc\xE0\xE0\xE0", ""}},
  };
}

// The scanner told what the file's header makes binary, fed pieces of `piece` bytes while it needs
// more; `chars` gets the characters scanned.
ReferenceResult ScanWithPrefix(ScanPath path, const std::string& file, std::int64_t limit, std::size_t piece,
                               std::int64_t* chars = nullptr) {
  EpsHeaderScanner scanner(path);
  scanner.SetBinaryPrefix(BinaryPreviewPrefix(file, file.size()));
  std::size_t pos = 0;
  while (pos < file.size() && scanner.NeedsMore(limit)) {
    pos += scanner.Feed(file.data() + pos, std::min(piece, file.size() - pos), limit);
  }
  if (pos == file.size()) scanner.EndOfFile();
  if (chars) *chars = scanner.charsScanned();
  return {scanner.CreatorText(), scanner.CreatorVersion()};
}

// Files with a binary header before their PostScript section: read as the launcher reads them,
// and fed to the scanner in pieces of several sizes.
TEST_P(EpsHeaderPaths, PreviewHeaderCases) {
  for (const PreviewCase& test : PreviewCases()) {
    SCOPED_TRACE(test.what);
    ASSERT_EQ(ReferenceAnalysis(test.file, test.limit), test.expected);
    const fs::path temp = Put("file.eps", test.file);
    EpsFileAnalysis analysis(temp, GetParam());
    ReferenceResult result;
    result.creatorText = analysis.AnalyzeEpsFile(static_cast<std::int32_t>(test.limit), result.creatorVersion);
    EXPECT_EQ(result, test.expected);
    const std::int64_t characters = CharacterCount(test.file, BinaryPreviewPrefix(test.file, test.file.size()));
    for (const std::size_t piece : {1, 2, 31, 64, 65536}) {
      std::int64_t chars = 0;
      EXPECT_EQ(ScanWithPrefix(GetParam(), test.file, test.limit, piece, &chars), test.expected)
          << "pieces of " << piece;
      EXPECT_EQ(chars, std::min(test.limit, characters)) << "pieces of " << piece;
    }
  }
}

TEST(EpsHeader, BinaryPreviewPrefixIsTheSectionOffsetWhenItLiesInTheFile) {
  const std::string header = PreviewHeader(0x00012345, 7);
  EXPECT_EQ(BinaryPreviewPrefix(header, 0x00012346), 0x00012345u);
  EXPECT_EQ(BinaryPreviewPrefix(header.substr(0, 12), 0x00012346), 0x00012345u);  // the rest is not read
  EXPECT_EQ(BinaryPreviewPrefix(header, 0x00012345), 0u);
  EXPECT_EQ(BinaryPreviewPrefix(PreviewHeader(30, 0), 31), 30u);
  EXPECT_EQ(BinaryPreviewPrefix(PreviewHeader(29, 0), 31), 0u);
  EXPECT_EQ(BinaryPreviewPrefix(PreviewHeader(0, 0), 31), 0u);
  // An offset with its top bit set is no negative number.
  EXPECT_EQ(BinaryPreviewPrefix(PreviewHeader(0x80000020, 0), 0x80000021), 0x80000020u);
  std::string wrongMagic = header;
  wrongMagic[0] = '\xC4';
  EXPECT_EQ(BinaryPreviewPrefix(wrongMagic, 0x00012346), 0u);
}

// Each byte value as the last binary byte, with binary lead bytes before it, the section at each
// place of a block, fed at once and split around the section's start: the section's first '%'
// begins a character whatever comes before it.
TEST_P(EpsHeaderPaths, EveryByteValueAsTheLastBinaryByte) {
  const std::string section = "%!PS-Adobe\r%%Creator: x\r" + std::string(150, 'q');
  for (int value = 0; value < 256; ++value) {
    for (std::size_t offset = 30; offset < 30 + 2 * 64; offset += 7) {
      std::string file = PreviewHeader(static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(section.size()));
      file.resize(offset - 1, '\x81');
      file += static_cast<char>(value) + section;
      for (const std::size_t split : {std::size_t{0}, offset - 1, offset, offset + 1}) {
        EpsHeaderScanner scanner(GetParam());
        scanner.SetBinaryPrefix(BinaryPreviewPrefix(file, file.size()));
        const std::size_t taken = split == 0 ? 0 : scanner.Feed(file.data(), split, 100000);
        scanner.Feed(file.data() + taken, file.size() - taken, 100000);
        scanner.EndOfFile();
        ASSERT_EQ(scanner.CreatorText(), "x") << "byte " << value << " offset " << offset << " split " << split;
        ASSERT_EQ(scanner.charsScanned(), static_cast<std::int64_t>(file.size()))
            << "byte " << value << " offset " << offset << " split " << split;
      }
    }
  }
}

// Hard text behind a header whose offset falls anywhere: often at a marker, on the header's end, on
// the file's end and past it; with a lead byte just before the offset, and limits around it.
TEST_P(EpsHeaderPaths, PreviewHeaderFilesFedInPiecesMatchTheWholeFileRules) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 3000; ++round) {
    std::string file =
        PreviewHeader(0, 0) + AdversarialFile(random, std::uniform_int_distribution<std::size_t>(0, 1500)(random));
    const std::size_t marker = std::uniform_int_distribution<std::size_t>(30, file.size())(random);
    file.insert(marker, "%!PS-Adobe\r%%Creator: y\r");
    std::size_t offset = 0;
    switch (random() % 4) {
      case 0: offset = marker; break;
      case 1: offset = 29 + random() % 2; break;
      case 2: offset = file.size() - 1 + random() % 3; break;
      default: offset = std::uniform_int_distribution<std::size_t>(0, file.size() + 2)(random);
    }
    for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<char>(offset >> (8 * i) & 0xFF);
    if (offset > 12 && offset <= file.size() && random() % 4 != 0) file[offset - 1] = '\x81';
    const auto near = static_cast<std::int64_t>(offset + random() % 5) - 2;
    const std::int64_t limit = random() % 3 ? SomeLimit(random, file.size()) : near;
    std::int64_t chars = 0;
    const std::size_t piece = random() % 3 ? std::uniform_int_distribution<std::size_t>(1, 200)(random) : file.size();
    ASSERT_EQ(ScanWithPrefix(GetParam(), file, limit, piece, &chars), ReferenceAnalysis(file, limit))
        << "round " << round << " offset " << offset << " limit " << limit << " file " << testing::PrintToString(file);
    const std::size_t binary = BinaryPreviewPrefix(file, file.size());
    ASSERT_EQ(chars, std::clamp<std::int64_t>(limit, 0, CharacterCount(file, binary))) << "round " << round;
  }
}

// A preview longer than one read: the binary part goes on across reads and across the calls with
// growing limits, and the text pairs afresh at the section.
TEST_P(EpsHeaderPaths, APreviewLongerThanOneRead) {
  constexpr std::uint32_t kOffset = 70001;
  const std::string section = "%!PS-Adobe-3.1\r\n%%Creator: section\r\n";
  std::string file = PreviewHeader(kOffset, static_cast<std::uint32_t>(section.size()));
  while (file.size() < 65536 - 12) file += "\x81\x81\x81%q\xE0\x9F";
  file += "%%Creator: from the preview\r";  // across the end of the first read
  file.resize(kOffset - 1, '\x81');
  file += '\x8F' + section;
  const fs::path temp = Put("file.eps", file);
  const std::int32_t limits[] = {65536, kOffset, kOffset + 9, kOffset + 10, 40960000};
  const ReferenceResult none;
  const ReferenceResult expected[] = {none, none, none, {"from the preview", ""}, {"from the preview", ""}};
  EpsFileAnalysis analysis(temp, GetParam());
  for (std::size_t i = 0; i < std::size(limits); ++i) {
    ReferenceResult result;
    result.creatorText = analysis.AnalyzeEpsFile(limits[i], result.creatorVersion);
    EXPECT_EQ(result, expected[i]) << "limit " << limits[i];
    EXPECT_EQ(ReferenceAnalysis(file, limits[i]), expected[i]) << "limit " << limits[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Every, EpsHeaderPaths,
                         testing::Values(ScanPath::kScalar, ScanPath::kSse2, ScanPath::kAvx2, ScanPath::kAvx512),
                         PathName);

TEST_F(EpsFile, HeaderBeyondTheFirstLimitIsFoundByTheLaterScans) {
  // Filler with double-byte characters across the real limits and the 64 KiB reading chunks.
  std::string filler;
  while (filler.size() < 150000) filler += "abc\x82\xA0\x81\r";
  const std::string file = filler + kIllustrator + std::string(2100000, 'z') + "%!PS-Adobe\r%%Creator: late\r";
  const fs::path temp = Put("file.eps", file);
  const auto results = Analyse(temp, {102400, 2048000, 40960000});
  EXPECT_EQ(results[0], ReferenceAnalysis(file, 102400));
  EXPECT_EQ(results[0].creatorText, std::nullopt);
  EXPECT_EQ(results[1], (ReferenceResult{"Adobe Illustrator(R) 10.0", "10.0"}));
  EXPECT_EQ(results[2], results[1]);
}

TEST(EpsHeader, AFileThatCannotBeOpenedGivesNoValueAndNoVersion) {
  std::string version = "stale";
  EpsFileAnalysis analysis("/nonexistent/x.eps");
  EXPECT_EQ(analysis.AnalyzeEpsFile(102400, version), std::nullopt);
  EXPECT_EQ(version, "");
}

// The corpus lists, for each real file, which scan first finds a creator text and what the rules
// give; every row is checked against the analysis with the launcher's three limits.
TEST(EpsHeader, RealFilesGiveWhatTheCorpusRecords) {
  const fs::path corpus = VARNOCK_CORPUS_DIR;
  std::ifstream readme(corpus / "README.md");
  if (!readme) GTEST_SKIP() << "the reference corpus is not there (" << corpus << "): no real files to check";
  const std::regex row(R"(^\| `([^`]+)` \|.*\| (\d) \| `(.*)` \| `(.*)` \|$)");
  int rows = 0;
  for (std::string line; std::getline(readme, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, row)) continue;
    ++rows;
    const auto results = Analyse(corpus / match[1].str(), {102400, 2048000, 40960000});
    const int scan = std::stoi(match[2]);
    const bool none = match[3] == "<none>";
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(match[1].str() + " scan " + std::to_string(i));
      if (i < scan || none) {
        EXPECT_EQ(results[i].creatorText, std::nullopt);
      } else {
        EXPECT_EQ(results[i].creatorText, match[3].str());
        EXPECT_EQ(results[i].creatorVersion, match[4].str());
      }
    }
  }
  EXPECT_GE(rows, 25);
}

}  // namespace
