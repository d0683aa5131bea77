#include "eps_header.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// A character that is no ASCII letter or mark: the double-byte characters.
constexpr int kOtherCharacter = -1;

int AsciiLower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

constexpr std::string_view kPreviewMagic = "\xC5\xD0\xD3\xC6";
constexpr std::size_t kPreviewHeaderSize = 30;

constexpr std::size_t kBlock = 64;

// XOR with 0x20 turns the two ranges of lead bytes into the one range 0xA1-0xDC; adding 0xDF
// moves that range to the bottom of the signed bytes, -128 to -69, so that one signed compare
// finds the lead bytes.
constexpr char kLeadFlip = 0x20;
constexpr char kLeadShift = static_cast<char>(0xDF);
constexpr char kLeadBelow = -68;

// Which bytes of a block begin a character (the others are second bytes), from its lead bytes and `carry` (0 or 1: its
// first byte is the second byte of a character begun in the block before), which becomes the carry into the next block.
// In a run of lead bytes that begins at a character start, the bytes alternate between first and second bytes, and the
// byte after the run is a second byte when the run is odd; subtracting the runs from their own shifted copy with the
// odd bits set marks runs that begin on even and on odd bits at once (Langdale and Lemire, "Parsing Gigabytes of JSON
// per Second", on backslashes). That much is worked out without the carry, so that blocks need not wait for one
// another: a carry swaps first and second bytes in the run at the block's start and in the byte
// after it, which is what adding it to the lead bytes flips.
inline std::uint64_t CharacterStarts(std::uint64_t lead, std::uint64_t& carry) {
  constexpr std::uint64_t kOddBits = 0xAAAAAAAAAAAAAAAAull;
  constexpr std::uint64_t kEvenBits = ~kOddBits;
  const std::uint64_t starts = ((((lead << 1) | kOddBits) - lead) ^ kEvenBits) ^ (lead + carry);
  carry = (lead & starts) >> 63;  // the last byte is a lead byte that begins a character
  return starts;
}

}  // namespace

// Each instruction set gives a Block: 64 bytes loaded at once, and masks of them, bit i for
// byte i: lead bytes of code page 932 (0x81-0x9F, 0xE0-0xFC), '%' and '!' ('%' then '%' or '!'
// may begin a marker).

namespace sse2_blocks {
namespace {

int CountBits(std::uint64_t bits) {  // no popcnt instruction is assumed on this path
  bits -= (bits >> 1) & 0x5555555555555555ull;
  bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
}

class Block {
 public:
  explicit Block(const char* bytes) {
    for (int i = 0; i < 4; ++i) bytes_[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes) + i);
  }
  std::uint64_t Leads() const {
    return Masks([](__m128i bytes) {
      const __m128i shifted = _mm_add_epi8(_mm_xor_si128(bytes, _mm_set1_epi8(kLeadFlip)), _mm_set1_epi8(kLeadShift));
      return _mm_cmpgt_epi8(_mm_set1_epi8(kLeadBelow), shifted);
    });
  }
  bool Below0x80() const {
    return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(bytes_[0], bytes_[1]), _mm_or_si128(bytes_[2], bytes_[3]))) == 0;
  }
  std::uint64_t Percents() const {
    return Masks([](__m128i bytes) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8('%')); });
  }
  std::uint64_t Bangs() const {
    return Masks([](__m128i bytes) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8('!')); });
  }
  // '%' followed by '%' or '!'; reads the byte after the block, which must be there.
  std::uint64_t MarkerPairs(const char* bytes) const {
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1) + i);
      const __m128i pair = _mm_and_si128(_mm_cmpeq_epi8(bytes_[i], _mm_set1_epi8('%')), SecondOfPair(next));
      mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(pair))) << (16 * i);
    }
    return mask;
  }
  // Whether a '%' followed by '%' or '!' is anywhere in the block (at a character start or not);
  // reads the byte after the block, which must be there.
  bool MayBeginMarker(const char* bytes) const {
    __m128i any = _mm_setzero_si128();
    for (int i = 0; i < 4; ++i) {
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1) + i);
      any = _mm_or_si128(any, _mm_and_si128(_mm_cmpeq_epi8(bytes_[i], _mm_set1_epi8('%')), SecondOfPair(next)));
    }
    return _mm_movemask_epi8(any) != 0;
  }

 private:
  // '%' (0x25) or '!' (0x21): the two differ in one bit only.
  static __m128i SecondOfPair(__m128i next) {
    return _mm_cmpeq_epi8(_mm_or_si128(next, _mm_set1_epi8(0x04)), _mm_set1_epi8('%'));
  }
  template <class Test>
  std::uint64_t Masks(Test test) const {
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
      mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(test(bytes_[i])))) << (16 * i);
    }
    return mask;
  }
  __m128i bytes_[4];
};

bool AnyPercent(const Block& block, const Block& next) { return (block.Percents() | next.Percents()) != 0; }

// Whether either of two blocks holds a '%' followed by '%' or '!'; reads the byte after them.
bool MayBeginMarker(const Block& block, const Block& next, const char* bytes) {
  return block.MayBeginMarker(bytes) || next.MayBeginMarker(bytes + kBlock);
}

// Two blocks of bytes below 0x80 without a '%' followed by '%' or '!'; reads the byte after them.
bool PlainAscii(const char* bytes) {
  const Block block(bytes);
  const Block next(bytes + kBlock);
  return block.Below0x80() && next.Below0x80() && !MayBeginMarker(block, next, bytes);
}

#include "eps_block_scan.inc"

}  // namespace
}  // namespace sse2_blocks

// Compiled for AVX2 without building the whole program for it; chosen only when the processor
// has it (ScanPathAvailable).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,bmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt,bmi")
#endif
namespace avx2_blocks {
namespace {

int CountBits(std::uint64_t bits) { return __builtin_popcountll(bits); }

inline std::uint64_t Mask(__m256i low, __m256i high) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
         (static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high))) << 32);
}

inline __m256i LeadBytes(__m256i bytes) {
  const __m256i shifted =
      _mm256_add_epi8(_mm256_xor_si256(bytes, _mm256_set1_epi8(kLeadFlip)), _mm256_set1_epi8(kLeadShift));
  return _mm256_cmpgt_epi8(_mm256_set1_epi8(kLeadBelow), shifted);
}

class Block {
 public:
  explicit Block(const char* bytes)
      : low_(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes))),
        high_(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes) + 1)) {}
  std::uint64_t Leads() const { return Mask(LeadBytes(low_), LeadBytes(high_)); }
  __m256i Bytes() const { return _mm256_or_si256(low_, high_); }
  __m256i PercentBytes() const {
    const __m256i percent = _mm256_set1_epi8('%');
    return _mm256_or_si256(_mm256_cmpeq_epi8(low_, percent), _mm256_cmpeq_epi8(high_, percent));
  }
  std::uint64_t Percents() const { return Equal('%'); }
  std::uint64_t Bangs() const { return Equal('!'); }
  // '%' followed by '%' or '!'; reads the byte after the block, which must be there.
  std::uint64_t MarkerPairs(const char* bytes) const {
    return Mask(Pair(low_, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 1))),
                Pair(high_, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 33))));
  }
  // Whether a '%' followed by '%' or '!' is anywhere in the block (at a character start or not);
  // reads the byte after the block, which must be there.
  bool MayBeginMarker(const char* bytes) const {
    const __m256i pairs = Pairs(bytes);
    return !_mm256_testz_si256(pairs, pairs);
  }
  // All ones in the bytes that are a '%' followed by '%' or '!'.
  __m256i Pairs(const char* bytes) const {
    return _mm256_or_si256(Pair(low_, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 1))),
                           Pair(high_, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 33))));
  }

 private:
  // '%' (0x25) or '!' (0x21): the two differ in one bit only.
  static __m256i Pair(__m256i bytes, __m256i next) {
    const __m256i percent = _mm256_set1_epi8('%');
    const __m256i second = _mm256_cmpeq_epi8(_mm256_or_si256(next, _mm256_set1_epi8(0x04)), percent);
    return _mm256_and_si256(_mm256_cmpeq_epi8(bytes, percent), second);
  }
  std::uint64_t Equal(char c) const {
    const __m256i wanted = _mm256_set1_epi8(c);
    return Mask(_mm256_cmpeq_epi8(low_, wanted), _mm256_cmpeq_epi8(high_, wanted));
  }
  __m256i low_;
  __m256i high_;
};

bool AnyPercent(const Block& block, const Block& next) {
  const __m256i percents = _mm256_or_si256(block.PercentBytes(), next.PercentBytes());
  return !_mm256_testz_si256(percents, percents);
}

// Whether either of two blocks holds a '%' followed by '%' or '!'; reads the byte after them.
bool MayBeginMarker(const Block& block, const Block& next, const char* bytes) {
  const __m256i pairs = _mm256_or_si256(block.Pairs(bytes), next.Pairs(bytes + kBlock));
  return !_mm256_testz_si256(pairs, pairs);
}

// Two blocks of bytes below 0x80 without a '%' followed by '%' or '!'; reads the byte after them.
// (The pairs are all ones, so one test of the top bits finds both.)
bool PlainAscii(const char* bytes) {
  const Block block(bytes);
  const Block next(bytes + kBlock);
  const __m256i any = _mm256_or_si256(_mm256_or_si256(block.Bytes(), next.Bytes()),
                                      _mm256_or_si256(block.Pairs(bytes), next.Pairs(bytes + kBlock)));
  return _mm256_movemask_epi8(any) == 0;
}

#include "eps_block_scan.inc"

}  // namespace
}  // namespace avx2_blocks
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

// Compiled for AVX-512 (byte instructions) in the same way: one register holds a whole block, and
// compares give its masks directly.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw,popcnt,bmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,popcnt,bmi")
#endif
namespace avx512_blocks {
namespace {

int CountBits(std::uint64_t bits) { return __builtin_popcountll(bits); }

class Block {
 public:
  explicit Block(const char* bytes) : bytes_(_mm512_loadu_si512(bytes)) {}
  std::uint64_t Leads() const {
    const __m512i shifted =
        _mm512_add_epi8(_mm512_xor_si512(bytes_, _mm512_set1_epi8(kLeadFlip)), _mm512_set1_epi8(kLeadShift));
    return _mm512_cmplt_epi8_mask(shifted, _mm512_set1_epi8(kLeadBelow));
  }
  std::uint64_t Percents() const { return _mm512_cmpeq_epi8_mask(bytes_, _mm512_set1_epi8('%')); }
  std::uint64_t Bangs() const { return _mm512_cmpeq_epi8_mask(bytes_, _mm512_set1_epi8('!')); }
  std::uint64_t High() const { return _mm512_movepi8_mask(bytes_); }
  // '%' followed by '%' or '!' ('%' is 0x25, '!' 0x21: the two differ in one bit only); reads the
  // byte after the block, which must be there.
  std::uint64_t MarkerPairs(const char* bytes) const {
    const __m512i next = _mm512_or_si512(_mm512_loadu_si512(bytes + 1), _mm512_set1_epi8(0x04));
    return _mm512_mask_cmpeq_epi8_mask(Percents(), next, _mm512_set1_epi8('%'));
  }
  // Whether a '%' followed by '%' or '!' is anywhere in the block (at a character start or not).
  bool MayBeginMarker(const char* bytes) const { return MarkerPairs(bytes) != 0; }

 private:
  __m512i bytes_;
};

bool AnyPercent(const Block& block, const Block& next) { return (block.Percents() | next.Percents()) != 0; }

// Whether either of two blocks holds a '%' followed by '%' or '!'; reads the byte after them.
bool MayBeginMarker(const Block& block, const Block& next, const char* bytes) {
  return (block.MarkerPairs(bytes) | next.MarkerPairs(bytes + kBlock)) != 0;
}

// Two blocks of bytes below 0x80 without a '%' followed by '%' or '!'; reads the byte after them.
bool PlainAscii(const char* bytes) {
  const Block block(bytes);
  const Block next(bytes + kBlock);
  return (block.High() | next.High() | block.MarkerPairs(bytes) | next.MarkerPairs(bytes + kBlock)) == 0;
}

#include "eps_block_scan.inc"

}  // namespace
}  // namespace avx512_blocks
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

bool ScanPathAvailable(ScanPath path) {
  // The run-time library asks the system too: a system that does not save the wider registers
  // (AVX-512 on Windows 7) reports the processor's instructions as missing.
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
  }();
  static const bool avx512 = [] {
    __builtin_cpu_init();
    return avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
  }();
  if (path == ScanPath::kAvx2) return avx2;
  if (path == ScanPath::kAvx512) return avx512;
  return true;
}

std::size_t BinaryPreviewPrefix(std::string_view firstBytes, std::uint64_t fileSize) {
  if (firstBytes.size() < 12 || firstBytes.substr(0, kPreviewMagic.size()) != kPreviewMagic) return 0;
  std::uint32_t offset = 0;
  for (std::size_t i = 8; i-- > 4;) offset = offset << 8 | static_cast<unsigned char>(firstBytes[i]);
  // An offset inside the header or beyond the file is no such header's: the file is then text like any other.
  if (offset < kPreviewHeaderSize || offset >= fileSize) return 0;
  return offset;
}

EpsHeaderScanner::Marker::Marker(std::string text) : lower(std::move(text)), fallback(lower.size() + 1, 0) {
  for (auto& c : lower) c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
  // Knuth-Morris-Pratt: after a mismatch, keep the longest matched part that is also a prefix.
  for (std::size_t length = 2; length <= lower.size(); ++length) {
    std::size_t k = fallback[length - 1];
    while (k > 0 && lower[k] != lower[length - 1]) k = fallback[k];
    if (lower[k] == lower[length - 1]) ++k;
    fallback[length] = k;
  }
}

bool EpsHeaderScanner::Marker::Step(int c) {
  const int lowered = AsciiLower(c);
  while (matched > 0 && static_cast<unsigned char>(lower[matched]) != lowered) matched = fallback[matched];
  if (static_cast<unsigned char>(lower[matched]) == lowered) ++matched;
  if (matched < lower.size()) return false;
  found = true;
  matched = 0;  // never stepped again
  return true;
}

EpsHeaderScanner::EpsHeaderScanner(const text::LeadByteTable& leads) : EpsHeaderScanner(ScanPath::kFastest, leads) {}

EpsHeaderScanner::EpsHeaderScanner(ScanPath path, const text::LeadByteTable& leads)
    : leads_(leads), postscript_("%!PS-Adobe"), version_("%%AI8_CreatorVersion:"), creator_("%%Creator:") {
  if (leads != text::Cp932LeadBytes()) return;
  if (path == ScanPath::kFastest) path = ScanPath::kAvx512;
  if (path == ScanPath::kAvx512 && !ScanPathAvailable(path)) path = ScanPath::kAvx2;
  if (path == ScanPath::kAvx2 && !ScanPathAvailable(path)) path = ScanPath::kSse2;
  if (path == ScanPath::kAvx512) skipBlocks_ = avx512_blocks::SkipBlocks;
  if (path == ScanPath::kAvx2) skipBlocks_ = avx2_blocks::SkipBlocks;
  if (path == ScanPath::kSse2) skipBlocks_ = sse2_blocks::SkipBlocks;
}

void EpsHeaderScanner::Character(int c, const char* bytes, std::size_t width) {
  for (Capture* line : {&versionLine_, &creatorLine_}) {
    if (!line->active || line->ended) continue;
    if (c == '\r' || c == '\n') {
      line->ended = true;
    } else {
      line->raw.append(bytes, width);
    }
  }
  if (!postscript_.found) postscript_.Step(c);
  if (!version_.found && version_.Step(c)) versionLine_.active = true;
  if (!creator_.found && creator_.Step(c)) creatorLine_.active = true;
}

bool EpsHeaderScanner::Idle() const {
  return postscript_.matched == 0 && version_.matched == 0 && creator_.matched == 0 &&
         (!versionLine_.active || versionLine_.ended) && (!creatorLine_.active || creatorLine_.ended);
}

std::size_t EpsHeaderScanner::FeedBinary(const char* data, std::size_t size, std::int64_t charLimit) {
  const std::size_t end = std::min(size, binaryLeft_);
  std::size_t pos = 0;
  while (pos < end && chars_ < charLimit) {
    if (Idle()) {
      // As in text, only a '%' can change anything; here every byte counts as a character.
      const auto room = static_cast<std::uint64_t>(charLimit - chars_);
      const std::size_t stop = pos + static_cast<std::size_t>(std::min<std::uint64_t>(end - pos, room));
      const void* percent = std::memchr(data + pos, '%', stop - pos);
      const std::size_t next = percent ? static_cast<std::size_t>(static_cast<const char*>(percent) - data) : stop;
      chars_ += static_cast<std::int64_t>(next - pos);
      pos = next;
      if (pos == stop) break;
    }
    ++chars_;
    Character(static_cast<unsigned char>(data[pos]), data + pos, 1);
    ++pos;
  }
  binaryLeft_ -= pos;
  return pos;
}

std::size_t EpsHeaderScanner::Feed(const char* data, std::size_t size, std::int64_t charLimit) {
  std::size_t pos = 0;
  if (binaryLeft_ != 0) {
    // Binary bytes pair with nothing, so no lead byte is pending where the text begins.
    pos = FeedBinary(data, size, charLimit);
    if (binaryLeft_ != 0) return pos;
  }
  if (pendingTrail_ && size > 0) {
    const char pair[2] = {pendingLead_, data[0]};
    pendingTrail_ = false;
    Character(kOtherCharacter, pair, 2);
    pos = 1;
  }
  while (pos < size && chars_ < charLimit) {
    if (Idle()) {
      // Nothing is under way, so only a '%' can change anything: count the characters up to it.
      if (skipBlocks_) {
        bool trail = false;
        pos = skipBlocks_(data, pos, size, chars_, charLimit, trail);
        if (trail && pos == size) {
          pendingLead_ = data[pos - 1];
          pendingTrail_ = true;
          return size;
        }
        if (trail) ++pos;
      }
      while (pos < size && chars_ < charLimit && data[pos] != '%') {
        ++chars_;
        if (!leads_[static_cast<unsigned char>(data[pos])]) {
          ++pos;
        } else if (pos + 1 < size) {
          pos += 2;
        } else {
          pendingLead_ = data[pos];
          pendingTrail_ = true;
          return size;
        }
      }
      if (pos == size || chars_ == charLimit) break;
    }
    const auto byte = static_cast<unsigned char>(data[pos]);
    ++chars_;
    if (!leads_[byte]) {
      Character(byte, data + pos, 1);
      ++pos;
    } else if (pos + 1 < size) {
      Character(kOtherCharacter, data + pos, 2);
      pos += 2;
    } else {
      pendingLead_ = data[pos];
      pendingTrail_ = true;
      return size;
    }
  }
  return pos;
}

void EpsHeaderScanner::EndOfFile() {
  if (!pendingTrail_) return;
  pendingTrail_ = false;
  Character(kOtherCharacter, &pendingLead_, 1);
}

bool EpsHeaderScanner::NeedsMore(std::int64_t charLimit) const { return pendingTrail_ || chars_ < charLimit; }

bool EpsHeaderScanner::Settled() const {
  return postscript_.found && versionLine_.ended && creatorLine_.ended && !pendingTrail_;
}

std::optional<std::string> EpsHeaderScanner::CreatorText() const {
  if (!postscript_.found || !creatorLine_.ended || creatorLine_.raw.empty()) return std::nullopt;
  return text::TrimBlanksAnsi(creatorLine_.raw, leads_);
}

std::string EpsHeaderScanner::CreatorVersion() const {
  if (!postscript_.found || !versionLine_.ended) return {};
  return text::TrimBlanksAnsi(versionLine_.raw, leads_);
}

EpsFileAnalysis::EpsFileAnalysis(fileio::FilePath path, const text::LeadByteTable& leads)
    : path_(std::move(path)), scanner_(leads) {}

EpsFileAnalysis::EpsFileAnalysis(fileio::FilePath path, ScanPath scanPath)
    : path_(std::move(path)), scanner_(scanPath) {}

std::optional<std::string> EpsFileAnalysis::AnalyzeEpsFile(std::int32_t scanLimit, std::string& creatorVersion) {
  creatorVersion.clear();
  if (!opened_) {
    opened_ = true;
    buffer_.reset(new (std::align_val_t{kBufferAlignment}) char[kReadChunk]);
    failed_ = !reader_.Open(path_);
  }
  while (!failed_ && !finished_ && !scanner_.Settled() && scanner_.NeedsMore(scanLimit)) {
    if (bufferBegin_ == bufferEnd_) {
      bufferBegin_ = 0;
      bufferEnd_ = reader_.Read(buffer_.get(), kReadChunk);
      if (reader_.failed()) failed_ = true;
      if (bufferEnd_ == 0) {
        scanner_.EndOfFile();
        finished_ = true;
      }
      continue;
    }
    if (!started_) {
      // The first read holds the header when there is one: a read is short only at the file's end.
      // A file whose size the system cannot tell is taken as text.
      started_ = true;
      const std::string_view first(buffer_.get(), bufferEnd_);
      scanner_.SetBinaryPrefix(BinaryPreviewPrefix(first, reader_.Size().value_or(0)));
    }
    bufferBegin_ += scanner_.Feed(buffer_.get() + bufferBegin_, bufferEnd_ - bufferBegin_, scanLimit);
  }
  if (failed_ || finished_ || scanner_.Settled()) {
    reader_.Close();
    buffer_.reset();
  }
  if (failed_) return std::nullopt;
  creatorVersion = scanner_.CreatorVersion();
  return scanner_.CreatorText();
}

std::optional<std::string> AnalyzeWithEveryLimit(const fileio::FilePath& file, std::string& creatorVersion,
                                                 const std::function<void()>& beforeLongerScans) {
  EpsFileAnalysis analysis{file};
  std::optional<std::string> creatorText = analysis.AnalyzeEpsFile(kScanLimits[0], creatorVersion);
  if (creatorText) return creatorText;
  if (beforeLongerScans) beforeLongerScans();
  for (std::size_t scan = 1; scan < std::size(kScanLimits) && !creatorText; ++scan) {
    creatorText = analysis.AnalyzeEpsFile(kScanLimits[scan], creatorVersion);
  }
  return creatorText;
}
