// Reading a link.ini of 999 entries into the link table, against one parse of the same file.
//
//   bench_link_ini [--pairs=N]   N pairs (parse, read), measured in turn; prints
//                                "ratio link-ini X" (median of the pairs)
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
#include "tables.h"
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

}  // namespace

int main(int argc, char** argv) {
  int pairs = 201;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--pairs=", 8) == 0) pairs = std::max(1, std::atoi(argv[i] + 8));
  }
  const fs::path file = WriteLinkIni();
  std::size_t sink = 0;
  auto parse = [&] { sink += IniDocument::Load(file).bytes().size(); };
  auto read = [&] {
    LinkTable table;
    sink += static_cast<std::size_t>(ReadLinkIni(file, table));
  };
  parse();
  read();
  std::vector<double> parses, reads, ratios;
  for (int i = 0; i < pairs; ++i) {
    double parsed = 0, readTable = 0;
    if (i % 2 == 0) {
      parsed = Milliseconds(parse);
      readTable = Milliseconds(read);
    } else {
      readTable = Milliseconds(read);
      parsed = Milliseconds(parse);
    }
    parses.push_back(parsed);
    reads.push_back(readTable);
    ratios.push_back(readTable / parsed);
  }
  fs::remove(file);
  std::printf("link-ini: one parse %.3f ms, ReadLinkIni %.3f ms (medians of %d pairs, %zu)\n", Median(parses),
              Median(reads), pairs, sink % 10);
  std::printf("ratio link-ini %.2f\n", Median(ratios));
  return 0;
}
