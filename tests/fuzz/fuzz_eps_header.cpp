// The header analysis against the whole-buffer reference: for any bytes, fed in any chunking and
// with any sequence of growing limits, by every way of scanning, the same creator text and version
// at every limit; and the same through the file, as the launcher reads it.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t seed = input[0] | input[1] << 8;
  const std::string data(reinterpret_cast<const char*>(input) + 4, size - 4);
  // Up to three growing limits around the data's length, as the launcher tries them.
  const std::int64_t span = static_cast<std::int64_t>(data.size()) + 4;
  std::int64_t limits[3] = {input[2] % span, 0, 0};
  limits[1] = limits[0] + (input[3] & 0x0F) * span / 15;
  limits[2] = limits[1] + (input[3] >> 4) * span / 15 + 1;

  // Every way of scanning that the processor has: the byte rule, and the blocks of SSE2 and AVX2.
  for (const ScanPath path : {ScanPath::kScalar, ScanPath::kSse2, ScanPath::kAvx2}) {
    if (!ScanPathAvailable(path)) continue;
    EpsHeaderScanner scanner(path);
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
  return 0;
}
