// Reading a link.ini of 999 entries into the link table, against one parse of the same file; and
// the launcher's look-up of a file that only the last of 100 entries ending in '*' matches (the
// table read, then looked up), against one parse of that file.
//
//   bench_link_ini [--pairs=N]   N pairs of each (parse, then the work), measured in turn; prints
//                                "ratio link-ini X" and "ratio link-ini-pattern X" (medians of the
//                                pairs)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "config.h"
#include "ini.h"
#include "link_rules.h"
#include "link_table.h"
#include "name_list.h"
#include "timing.h"

namespace {

namespace fs = std::filesystem;

// The most link.ini can hold: the marker entry, then 999 associations as the launcher writes them.
fs::path WriteLinkIni() {
  const fs::path path = fs::temp_directory_path() / ("bench_link_" + std::to_string(::getpid()) + ".ini");
  std::string bytes = "[main]\r\nQuelby=1\r\n";
  for (int i = 1; i <= config::kMaxLinkEntries; ++i) {
    const std::string n = std::to_string(i);
    bytes += "link" + n + "=\"Adobe Illustrator(R) " + n + ".0\"\r\n";
    bytes += "path" + n + "=\"C:\\Program Files\\Adobe\\Illustrator " + n +
             "\\Support Files\\Contents\\Windows\\Illustrator.exe\"\r\n";
    bytes += "CreatorVersion" + n + "=\"" + n + ".0.1\"\r\n";
  }
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Entries that end in '*', at the end of the pattern file.
constexpr int kPatternEntries = 100;

// The same, the last 100 associations each for every version of one creator text ("Example Draw
// 950 *"): the file "Example Draw 999 Pro" matches only the last.
fs::path WritePatternLinkIni() {
  const fs::path path = fs::temp_directory_path() / ("bench_link_pattern_" + std::to_string(::getpid()) + ".ini");
  std::string bytes = "[main]\r\nQuelby=1\r\n";
  for (int i = 1; i <= config::kMaxLinkEntries; ++i) {
    const std::string n = std::to_string(i);
    const bool pattern = i > config::kMaxLinkEntries - kPatternEntries;
    bytes +=
        "link" + n + "=\"" + (pattern ? "Example Draw " + n + " *" : "Adobe Illustrator(R) " + n + ".0") + "\"\r\n";
    bytes += "path" + n + "=\"C:\\Program Files\\Adobe\\Illustrator " + n +
             "\\Support Files\\Contents\\Windows\\Illustrator.exe\"\r\n";
    bytes += "CreatorVersion" + n + "=\"" + (pattern ? "*" : n + ".0.1") + "\"\r\n";
  }
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// The median ratio of `work` to one parse of `file`, the two measured in turn; prints the medians.
template <typename Work>
double RatioToParse(const fs::path& file, Work work, int pairs, const char* what) {
  std::size_t sink = 0;
  auto parse = [&] { sink += IniDocument::Load(file).bytes().size(); };
  parse();
  work();
  std::vector<double> parses, works, ratios;
  for (int i = 0; i < pairs; ++i) {
    double parsed = 0, worked = 0;
    if (i % 2 == 0) {
      parsed = Milliseconds(parse);
      worked = Milliseconds(work);
    } else {
      worked = Milliseconds(work);
      parsed = Milliseconds(parse);
    }
    parses.push_back(parsed);
    works.push_back(worked);
    ratios.push_back(worked / parsed);
  }
  std::printf("%s: one parse %.3f ms, %.3f ms (medians of %d pairs, %zu)\n", what, Median(parses), Median(works), pairs,
              sink % 10);
  return Median(ratios);
}

}  // namespace

int main(int argc, char** argv) {
  int pairs = 201;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--pairs=", 8) == 0) pairs = std::max(1, std::atoi(argv[i] + 8));
  }
  const fs::path file = WriteLinkIni();
  const double read = RatioToParse(
      file,
      [&] {
        LinkTable table;
        ReadLinkIni(file, table);
      },
      pairs, "link-ini: ReadLinkIni");
  fs::remove(file);
  const fs::path patterns = WritePatternLinkIni();
  const double lookUp = RatioToParse(
      patterns,
      [&] {
        LinkTable table;
        ReadLinkIni(patterns, table);
        // Only the last entry matches; anything else is a fault of the look-up, not a figure.
        if (FindLinkWithPatterns(table, "Example Draw 999 Pro", "24.0.1") != config::kMaxLinkEntries) std::abort();
      },
      pairs, "link-ini-pattern: ReadLinkIni and the look-up");
  fs::remove(patterns);
  std::printf("ratio link-ini %.2f\n", read);
  std::printf("ratio link-ini-pattern %.2f\n", lookUp);
  return 0;
}
