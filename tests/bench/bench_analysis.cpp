// The header analysis of a 40 MB file without a header (the launcher's worst case: all three
// scans run), against a plain read of the same bytes and against the whole-buffer rules.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <random>

#include "../unit/eps_reference.h"
#include "eps_header.h"
#include "launcher_main.h"

namespace {

std::atomic<std::size_t> gCurrent{0};
std::atomic<std::size_t> gPeak{0};

void Track(std::size_t size) {
  const std::size_t now = gCurrent += size;
  std::size_t peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {}
}

}  // namespace

// Peak heap use is counted by the program's own allocation functions (malloc underneath, which
// GCC cannot see through when it pairs them).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
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

namespace {

const std::filesystem::path& SampleFile() {
  static const std::filesystem::path path = [] {
    auto file = std::filesystem::temp_directory_path() / ("bench_noheader_" + std::to_string(::getpid()) + ".eps");
    std::mt19937 random(7);
    std::string bytes;
    bytes.reserve(40u << 20);
    const char* pieces[] = {"moveto ", "lineto ", "0.5 ", "%data ", "\x82\xA0", "\x93\xFA\x96\x7B", "\r\n", "gsave "};
    while (bytes.size() < (40u << 20)) bytes += pieces[random() % 8];
    bytes.resize(40u << 20);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }();
  return path;
}

class PeakMemory {
 public:
  PeakMemory() { gPeak = gCurrent.load(); base_ = gCurrent; }
  double bytes() const { return static_cast<double>(gPeak - base_); }

 private:
  std::size_t base_;
};

void PlainRead(benchmark::State& state) {
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    PeakMemory peak;
    fileio::Reader reader;
    reader.Open(SampleFile());
    std::size_t total = 0;
    while (const std::size_t got = reader.Read(buffer.data(), buffer.size())) total += got;
    benchmark::DoNotOptimize(total);
    state.counters["peak_bytes"] = peak.bytes() + static_cast<double>(buffer.size());
  }
}

void Analysis(benchmark::State& state) {
  for (auto _ : state) {
    PeakMemory peak;
    EpsFileAnalysis analysis(SampleFile());
    std::string version;
    for (const auto limit : launcher::kScanLimits) benchmark::DoNotOptimize(analysis.AnalyzeEpsFile(limit, version));
    state.counters["peak_bytes"] = peak.bytes();
  }
}

// Each scan reads the file from the start into one buffer and applies the rules to it.
void WholeBufferReference(benchmark::State& state) {
  for (auto _ : state) {
    PeakMemory peak;
    for (const auto limit : launcher::kScanLimits) {
      std::string bytes;
      fileio::ReadAll(SampleFile(), bytes);
      benchmark::DoNotOptimize(ReferenceAnalysis(bytes, limit));
    }
    state.counters["peak_bytes"] = peak.bytes();
  }
}

BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Analysis)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WholeBufferReference)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the two ratios after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration) times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (times_.count("Analysis") && times_.count("PlainRead") && times_.count("WholeBufferReference")) {
      std::printf("analysis / plain read: %.2f\nanalysis / whole-buffer reference: %.3f\n",
                  times_["Analysis"] / times_["PlainRead"],
                  times_["Analysis"] / times_["WholeBufferReference"]);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove(SampleFile());
  return 0;
}
