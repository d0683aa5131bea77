// Finds the creator text ("%%Creator:") and the creator version ("%%AI8_CreatorVersion:") in the
// header of a PostScript file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_io.h"
#include "text.h"

// How the scanner passes over stretches in which nothing but counting happens: byte by byte, or
// 64 bytes at a time with the processor's vector instructions. kFastest takes the best one the
// processor has; the others are there so that each can be checked against the rest.
enum class ScanPath { kFastest, kScalar, kSse2, kAvx2, kAvx512 };

// Whether this processor can run the path (the scalar path and SSE2 always can).
bool ScanPathAvailable(ScanPath path);

// A DOS EPS binary file starts with the bytes C5 D0 D3 C6 and the offset of its PostScript section
// (little-endian, at byte 4); what comes before that section (the 30-byte header, previews) is not
// text. Returns the offset when the file starts so and the offset lies in the file after the
// header, else 0. `firstBytes` are the file's first bytes (at least 12, where the file has them).
std::size_t BinaryPreviewPrefix(std::string_view firstBytes, std::uint64_t fileSize);

// Scans the characters of a file as they arrive, without keeping them: a limit counts characters
// of the ANSI code page (a lead byte and the byte after it are one character), and the result at a
// limit is what the rules give for exactly the first `limit` characters.
class EpsHeaderScanner {
 public:
  explicit EpsHeaderScanner(const text::LeadByteTable& leads = text::Cp932LeadBytes());
  // The vector paths know the lead bytes of code page 932 only; other tables go byte by byte.
  explicit EpsHeaderScanner(ScanPath path, const text::LeadByteTable& leads = text::Cp932LeadBytes());

  // The first `bytes` bytes to come are binary: each is a character of its own, and lead bytes
  // pair again from the byte after them. Before the first Feed.
  void SetBinaryPrefix(std::size_t bytes) { binaryLeft_ = bytes; }
  // Takes bytes until `charLimit` characters have been scanned; returns how many it took.
  std::size_t Feed(const char* data, std::size_t size, std::int64_t charLimit);
  // The file has ended: a lead byte without its second byte is a character of its own.
  void EndOfFile();
  // More characters are needed to reach `charLimit` (or to finish the last character).
  bool NeedsMore(std::int64_t charLimit) const;

  // No further character can change the result.
  bool Settled() const;
  std::int64_t charsScanned() const { return chars_; }

  // The creator text, or no value when the format is unknown, for the characters scanned so far.
  std::optional<std::string> CreatorText() const;
  // The creator version for the characters scanned so far (empty when there is none).
  std::string CreatorVersion() const;

 private:
  // A marker looked for without regard to letter case; only its first occurrence counts.
  struct Marker {
    std::string lower;
    std::vector<std::size_t> fallback;  // matched length to fall back to after a mismatch
    std::size_t matched = 0;
    bool found = false;
    explicit Marker(std::string text);
    bool Step(int c);  // true when this character completes the marker
  };
  // The text after a marker, up to the first CR or LF.
  struct Capture {
    bool active = false;
    bool ended = false;
    std::string raw;
  };

  void Character(int c, const char* bytes, std::size_t width);
  // Feed within the binary prefix.
  std::size_t FeedBinary(const char* data, std::size_t size, std::int64_t charLimit);
  // No marker is partly matched and no value is being taken.
  bool Idle() const;

  // Skips whole blocks from a character start while nothing but counting happens (see
  // eps_block_scan.inc); null for the byte-by-byte path.
  using BlockSkipper = std::size_t (*)(const char* data, std::size_t pos, std::size_t size, std::int64_t& chars,
                                       std::int64_t limit, bool& trail);

  const text::LeadByteTable& leads_;
  BlockSkipper skipBlocks_ = nullptr;
  std::int64_t chars_ = 0;
  std::size_t binaryLeft_ = 0;  // bytes of the binary prefix still to come
  bool pendingTrail_ = false;
  char pendingLead_ = 0;
  Marker postscript_;
  Marker version_;
  Marker creator_;
  Capture versionLine_;
  Capture creatorLine_;
};

// Characters scanned for the header, tried in this order until a creator text is found.
inline constexpr std::int32_t kScanLimits[] = {100 * 1024, 2000 * 1024, 40000 * 1024};

// One file's analysis. Each call reaches further into the file from where the last one stopped, so
// the file is read once however many limits are tried; it is opened on the first call and closed
// when the analysis is settled, the file has ended, or the object goes.
// The bytes before the PostScript section of a file with a binary header (BinaryPreviewPrefix) are
// scanned as binary.
class EpsFileAnalysis {
 public:
  explicit EpsFileAnalysis(fileio::FilePath path, const text::LeadByteTable& leads = text::Cp932LeadBytes());
  EpsFileAnalysis(fileio::FilePath path, ScanPath scanPath);

  // The creator text within the first `scanLimit` characters of the file (no value when the format
  // is unknown); `creatorVersion` gets the creator version. Never fails: a file that cannot be
  // opened or read gives no value and an empty version.
  std::optional<std::string> AnalyzeEpsFile(std::int32_t scanLimit, std::string& creatorVersion);

 private:
  fileio::FilePath path_;
  EpsHeaderScanner scanner_;
  // The reads land on whole pages: copying from the page cache into a buffer that starts at an
  // odd place costs the system several times as much.
  static constexpr std::size_t kBufferAlignment = 4096;
  struct AlignedDelete {
    void operator()(char* buffer) const { ::operator delete[](buffer, std::align_val_t{kBufferAlignment}); }
  };

  fileio::Reader reader_;
  std::unique_ptr<char[], AlignedDelete> buffer_;
  std::size_t bufferBegin_ = 0;
  std::size_t bufferEnd_ = 0;
  bool opened_ = false;
  bool started_ = false;  // the scanner has been told how many bytes are binary
  bool finished_ = false;
  bool failed_ = false;
};

// The file's creator text as the launcher finds it: every scan limit in turn until one is found.
// `beforeLongerScans` runs once, when the first limit found none (the launcher shows its wait
// notice then). No value when the format is unknown; `creatorVersion` gets the creator version.
std::optional<std::string> AnalyzeWithEveryLimit(const fileio::FilePath& file, std::string& creatorVersion,
                                                 const std::function<void()>& beforeLongerScans = nullptr);
