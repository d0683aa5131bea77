// The header analysis against the whole-buffer reference: for any bytes (with or without a binary
// header before the PostScript section), fed in any chunking and with any sequence of growing
// limits, by every way of scanning, the same creator text and version at every limit; and the same
// through the file, as the launcher reads it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../unit/eps_reference.h"
#include "eps_header.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

// Feeds the scanner as the file analysis does, in chunks whose sizes come from `seed`.
ReferenceResult ScanTo(EpsHeaderScanner& scanner, const std::string& data, std::size_t& pos, bool& ended,
                       std::int64_t limit, std::uint32_t& seed) {
  while (!ended && !scanner.Settled() && scanner.NeedsMore(limit)) {
    if (pos == data.size()) {
      scanner.EndOfFile();
      ended = true;
      break;
    }
    seed = seed * 1103515245u + 12345u;
    const std::size_t chunk = 1 + (seed >> 16) % 97;
    const std::size_t size = std::min(chunk, data.size() - pos);
    pos += scanner.Feed(data.data() + pos, size, limit);
  }
  return {scanner.CreatorText(), scanner.CreatorVersion()};
}

// Every way of scanning, and the file analysis, against the reference for one file; `picks` are the
// four bytes that pick the chunking and the limits.
void CheckFile(const std::string& data, const std::uint8_t* picks) {
  const std::uint32_t seed = picks[0] | picks[1] << 8;
  // Up to three growing limits around the data's length, as the launcher tries them.
  const std::int64_t span = static_cast<std::int64_t>(data.size()) + 4;
  std::int64_t limits[3] = {picks[2] % span, 0, 0};
  limits[1] = limits[0] + (picks[3] & 0x0F) * span / 15;
  limits[2] = limits[1] + (picks[3] >> 4) * span / 15 + 1;

  // Every way of scanning that the processor has: the byte rule, and the blocks of SSE2 and AVX2.
  for (const ScanPath path : {ScanPath::kScalar, ScanPath::kSse2, ScanPath::kAvx2, ScanPath::kAvx512}) {
    if (!ScanPathAvailable(path)) continue;
    EpsHeaderScanner scanner(path);
    scanner.SetBinaryPrefix(BinaryPreviewPrefix(data, data.size()));
    std::size_t pos = 0;
    bool ended = false;
    std::uint32_t chunkSeed = seed;
    for (const std::int64_t limit : limits) {
      Check(ScanTo(scanner, data, pos, ended, limit, chunkSeed) == ReferenceAnalysis(data, limit), "chunked scan");
    }
  }

  // The file analysis, on the same bytes.
  static const std::string path = "/tmp/fuzz_eps_header_" + std::to_string(::getpid()) + ".eps";
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
    EpsFileAnalysis analysis{fileio::FilePath(path)};
    for (const std::int64_t limit : limits) {
      std::string version;
      const auto creator = analysis.AnalyzeEpsFile(static_cast<std::int32_t>(limit), version);
      Check(ReferenceResult{creator, version} == ReferenceAnalysis(data, limit), "file analysis");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  // Four bytes that pick the chunking and the limits, then the file; or, after the flag C5, a file
  // with a binary header: the four bytes, two that pick the PostScript offset, then the file from
  // its byte 12 (after the magic, the offset and a length).
  const bool preview = size > 0 && input[0] == 0xC5;
  if (preview) {
    ++input;
    --size;
  }
  const std::size_t before = preview ? 6 : 4;
  if (size < before) return 0;
  const std::string rest(reinterpret_cast<const char*>(input) + before, size - before);
  if (!preview) {
    CheckFile(rest, input);
    return 0;
  }
  // The offset counts from the file's start or, with the pick's top bit set, back from two bytes past
  // its end; the offsets next to it are tried too, so that wherever a pick lands beside an edge (of
  // the header or of the file) the edge itself is tried.
  const std::size_t fileSize = 12 + rest.size();
  const std::size_t pick = input[4] | input[5] << 8;
  const std::size_t distance = (pick & 0x7FFF) % (fileSize + 3);
  const std::size_t picked = pick & 0x8000 ? fileSize + 2 - distance : distance;
  for (std::size_t offset = picked > 0 ? picked - 1 : 0; offset <= picked + 1; ++offset) {
    std::string data = "\xC5\xD0\xD3\xC6";
    for (const std::size_t value : {offset, std::size_t{0}}) {  // the length is not read
      for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>(value >> shift & 0xFF);
    }
    CheckFile(data + rest, input);
  }
  return 0;
}
