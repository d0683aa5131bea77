// The header analysis of 40 MB files without a header (the launcher's worst case: all three scans
// run), against a plain read of the same bytes in the same 64 KiB reads from the page cache.
//
//   bench_analysis [Google Benchmark flags]   the table: each kind of content, each scan path
//   bench_analysis --pairs=N                  N pairs (read, analysis) per kind, measured in turn;
//                                             prints "ratio analysis-<kind> X" (median of the pairs)
//   bench_analysis --sizes=N                  analysis time (shortest of N) against file size
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "../unit/eps_reference.h"
#include "eps_header.h"
#include "launcher_main.h"
#include "timing.h"

namespace {

std::atomic<std::size_t> gCurrent{0};
std::atomic<std::size_t> gPeak{0};

void Track(std::size_t size) {
  const std::size_t now = gCurrent += size;
  std::size_t peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// Peak heap use is counted by the program's own allocation functions (malloc underneath, which
// GCC cannot see through when it pairs them).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#pragma GCC diagnostic ignored "-Warray-bounds"
void* operator new(std::size_t size) {
  void* block = std::malloc(size + 16);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  Track(size);
  return static_cast<char*>(block) + 16;
}
void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  void* block = static_cast<char*>(pointer) - 16;
  gCurrent -= *static_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }
// Aligned blocks keep their size just before the aligned start.
void* operator new(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  void* block = std::aligned_alloc(align, (size + align + align - 1) / align * align);
  if (!block) throw std::bad_alloc();
  char* start = static_cast<char*>(block) + align;
  *reinterpret_cast<std::size_t*>(start - sizeof(std::size_t)) = size;
  Track(size);
  return start;
}
void operator delete(void* pointer, std::align_val_t alignment) noexcept {
  if (!pointer) return;
  char* start = static_cast<char*>(pointer);
  gCurrent -= *reinterpret_cast<std::size_t*>(start - sizeof(std::size_t));
  std::free(start - static_cast<std::size_t>(alignment));
}
void operator delete(void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  operator delete(pointer, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete[](void* pointer, std::align_val_t alignment) noexcept { operator delete(pointer, alignment); }
void operator delete[](void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  operator delete(pointer, alignment);
}

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileSize = std::size_t{40} << 20;

// ASCII drawing operators and numbers in lines, CR LF; no '%'.
std::string AsciiText(std::mt19937& random, std::size_t size) {
  std::string bytes;
  bytes.reserve(size + 16);
  const char* pieces[] = {"moveto ", "lineto ", "curveto ", "closepath ", "0.5 ", "12.75 ", "300 ", "\r\n"};
  while (bytes.size() < size) bytes += pieces[random() % 8];
  return bytes;
}

// Japanese text: double-byte characters of JIS X 0208 (second bytes 0x40-0x7E, 0x80-0xFC, many of
// them lead bytes too) with a few ASCII digits and blanks, in lines of 20 to 40 characters, CR LF.
std::string ShiftJisText(std::mt19937& random, std::size_t size) {
  std::string bytes;
  std::uniform_int_distribution<int> lead(0x88, 0xEA - 0x40);  // 0x88-0x9F, then 0xE0-0xEA
  std::uniform_int_distribution<int> second(0x40, 0xFB);
  std::uniform_int_distribution<int> percent(0, 99);
  while (bytes.size() < size) {
    const int length = std::uniform_int_distribution<int>(20, 40)(random);
    for (int i = 0; i < length; ++i) {
      if (percent(random) < 8) {
        bytes += static_cast<char>(std::uniform_int_distribution<int>('0', '9')(random));
        continue;
      }
      int first = lead(random);
      if (first > 0x9F) first += 0xE0 - 0xA0;
      int trail = second(random);
      if (trail >= 0x7F) ++trail;
      bytes += static_cast<char>(first);
      bytes += static_cast<char>(trail);
    }
    bytes += "\r\n";
  }
  return bytes;
}

// Uniformly random bytes: about a quarter of them lead bytes.
std::string RandomBytes(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// PostScript-like text with a '%' every few dozen bytes and some double-byte characters.
std::string PostScriptText(std::mt19937& random, std::size_t size) {
  std::string bytes;
  bytes.reserve(size + 16);
  const char* pieces[] = {"moveto ", "lineto ", "0.5 ", "%data ", "\x82\xA0", "\x93\xFA\x96\x7B", "\r\n", "gsave "};
  while (bytes.size() < size) bytes += pieces[random() % 8];
  return bytes;
}

struct Kind {
  const char* name;
  std::string (*make)(std::mt19937&, std::size_t);
};
const Kind kKinds[] = {
    {"ascii", AsciiText}, {"sjis", ShiftJisText}, {"random", RandomBytes}, {"postscript", PostScriptText}};

// The sample files, written on first use into the temporary folder and removed at the end.
class SampleFiles {
 public:
  ~SampleFiles() {
    for (const auto& [name, path] : paths_) fs::remove(path);
  }
  const fs::path& Get(const Kind& kind, std::size_t size = kFileSize) {
    const std::string name = std::string(kind.name) + "_" + std::to_string(size);
    auto found = paths_.find(name);
    if (found != paths_.end()) return found->second;
    const fs::path path =
        fs::temp_directory_path() / ("bench_noheader_" + std::to_string(::getpid()) + "_" + name + ".eps");
    std::mt19937 random(7);
    std::string bytes = kind.make(random, size);
    bytes.resize(size);
    std::ofstream(path, std::ios::binary) << bytes;
    return paths_.emplace(name, path).first->second;
  }

 private:
  std::map<std::string, fs::path> paths_;
};

SampleFiles& Samples() {
  static SampleFiles samples;
  return samples;
}

class PeakMemory {
 public:
  PeakMemory() {
    gPeak = gCurrent.load();
    base_ = gCurrent;
  }
  double bytes() const { return static_cast<double>(gPeak - base_); }

 private:
  std::size_t base_;
};

// The plain read's buffer starts on a page, as the analysis's does (where a read lands changes what
// the system's copy costs several times over).
class ReadBuffer {
 public:
  static constexpr std::size_t kSize = 64 * 1024;
  ReadBuffer() : bytes_(new (std::align_val_t{4096}) char[kSize]) {}
  ~ReadBuffer() { ::operator delete[](bytes_, std::align_val_t{4096}); }
  ReadBuffer(const ReadBuffer&) = delete;
  ReadBuffer& operator=(const ReadBuffer&) = delete;
  char* data() { return bytes_; }
  std::size_t size() const { return kSize; }

 private:
  char* bytes_;
};

std::size_t PlainReadOnce(const fs::path& file, ReadBuffer& buffer) {
  fileio::Reader reader;
  reader.Open(file);
  std::size_t total = 0;
  while (const std::size_t got = reader.Read(buffer.data(), buffer.size())) total += got;
  return total;
}

std::optional<std::string> AnalysisOnce(const fs::path& file, ScanPath path) {
  EpsFileAnalysis analysis(file, path);
  std::string version;
  std::optional<std::string> creator;
  for (const auto limit : kScanLimits) creator = analysis.AnalyzeEpsFile(limit, version);
  return creator;
}

void PlainRead(benchmark::State& state, const Kind& kind) {
  ReadBuffer buffer;
  const fs::path& file = Samples().Get(kind);
  for (auto _ : state) {
    PeakMemory peak;
    benchmark::DoNotOptimize(PlainReadOnce(file, buffer));
    state.counters["peak_bytes"] = peak.bytes() + static_cast<double>(buffer.size());
  }
}

void Analysis(benchmark::State& state, const Kind& kind, ScanPath path) {
  if (!ScanPathAvailable(path)) {
    state.SkipWithError("the processor lacks this path");
    return;
  }
  const fs::path& file = Samples().Get(kind);
  for (auto _ : state) {
    PeakMemory peak;
    benchmark::DoNotOptimize(AnalysisOnce(file, path));
    state.counters["peak_bytes"] = peak.bytes();
  }
}

// Each scan reads the file from the start into one buffer and applies the rules to it.
void WholeBufferReference(benchmark::State& state) {
  const fs::path& file = Samples().Get(kKinds[3]);
  for (auto _ : state) {
    PeakMemory peak;
    for (const auto limit : kScanLimits) {
      std::string bytes;
      fileio::ReadAll(file, bytes);
      benchmark::DoNotOptimize(ReferenceAnalysis(bytes, limit));
    }
    state.counters["peak_bytes"] = peak.bytes();
  }
}

void RegisterBenchmarks() {
  const std::pair<const char*, ScanPath> paths[] = {{"fastest", ScanPath::kFastest},
                                                    {"avx512", ScanPath::kAvx512},
                                                    {"avx2", ScanPath::kAvx2},
                                                    {"sse2", ScanPath::kSse2},
                                                    {"scalar", ScanPath::kScalar}};
  for (const Kind& kind : kKinds) {
    benchmark::RegisterBenchmark((std::string("PlainRead/") + kind.name).c_str(), PlainRead, kind)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const auto& [name, path] : paths) {
      benchmark::RegisterBenchmark((std::string("Analysis/") + kind.name + "/" + name).c_str(), Analysis, kind, path)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::RegisterBenchmark("WholeBufferReference/postscript", WholeBufferReference)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

// Pairs of one plain read and one analysis of the same file, measured in turn (the order
// alternates, so that neither always runs on a cache the other has warmed or cooled).
void Pairs(int count) {
  ReadBuffer buffer;
  for (const Kind& kind : kKinds) {
    const fs::path& file = Samples().Get(kind);
    PlainReadOnce(file, buffer);
    AnalysisOnce(file, ScanPath::kFastest);
    std::vector<double> reads, analyses, ratios;
    double peak = 0;
    for (int i = 0; i < count; ++i) {
      double read = 0, analysis = 0;
      auto timeRead = [&] { read = Milliseconds([&] { benchmark::DoNotOptimize(PlainReadOnce(file, buffer)); }); };
      auto timeAnalysis = [&] {
        PeakMemory memory;
        analysis = Milliseconds([&] { benchmark::DoNotOptimize(AnalysisOnce(file, ScanPath::kFastest)); });
        peak = std::max(peak, memory.bytes());
      };
      if (i % 2 == 0) {
        timeRead();
        timeAnalysis();
      } else {
        timeAnalysis();
        timeRead();
      }
      reads.push_back(read);
      analyses.push_back(analysis);
      ratios.push_back(analysis / read);
    }
    std::printf("analysis-%s: plain read %.2f ms, analysis %.2f ms (medians of %d pairs), peak heap %.0f bytes\n",
                kind.name, Median(reads), Median(analyses), count, peak);
    std::printf("ratio analysis-%s %.2f\n", kind.name, Median(ratios));
    std::fflush(stdout);
  }
}

// Analysis time against file size: each size of PostScript-like text, all three scans. The
// shortest of the runs, which the other work on the machine disturbed least.
void Sizes(int count) {
  std::printf("# size_mb analysis_ms plain_read_ms peak_heap_bytes (shortest of %d)\n", count);
  ReadBuffer buffer;
  for (std::size_t megabytes = 4; megabytes <= 40; megabytes += 4) {
    const fs::path& file = Samples().Get(kKinds[3], megabytes << 20);
    AnalysisOnce(file, ScanPath::kFastest);
    std::vector<double> analyses, reads;
    double peak = 0;
    for (int i = 0; i < count; ++i) {
      PeakMemory memory;
      analyses.push_back(Milliseconds([&] { benchmark::DoNotOptimize(AnalysisOnce(file, ScanPath::kFastest)); }));
      peak = std::max(peak, memory.bytes());
      reads.push_back(Milliseconds([&] { benchmark::DoNotOptimize(PlainReadOnce(file, buffer)); }));
    }
    std::printf("%zu %.3f %.3f %.0f\n", megabytes, *std::min_element(analyses.begin(), analyses.end()),
                *std::min_element(reads.begin(), reads.end()), peak);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--pairs=", 8) == 0) {
      Pairs(std::max(1, std::atoi(argv[i] + 8)));
      return 0;
    }
    if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
      Sizes(std::max(1, std::atoi(argv[i] + 8)));
      return 0;
    }
  }
  RegisterBenchmarks();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
