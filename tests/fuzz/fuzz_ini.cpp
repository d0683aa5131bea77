// The INI reader and writer on any file: every value reads as the reference rules give it; a value
// without CR or LF, written in quotes, reads back as it was; every other key keeps its value; and
// the written file still parses by the reference rules. Files with a byte-order mark keep it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codepage.h"
#include "ini.h"
#include "ini_reference.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

const char* const kKeys[] = {"k", "link1", "path1", "Quelby", "name99", "CreatorVersion1000", "K"};
const char* const kSections[] = {"main", "MAIN", "other", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size < 2) return 0;
  // The first byte picks the key and section; the value follows up to a 0xFF byte, the file after.
  const char* key = kKeys[input[0] % std::size(kKeys)];
  const char* section = kSections[(input[0] >> 4) % std::size(kSections)];
  const std::string rest(reinterpret_cast<const char*>(input) + 1, size - 1);
  const std::size_t split = rest.find('\xFF');
  std::string value = rest.substr(0, split);
  const std::string file = split == std::string::npos ? std::string() : rest.substr(split + 1);

  const IniDocument before(file);
  const bool ansi = before.encoding() == IniDocument::Encoding::kAnsi;
  const auto parsed = reference::Parse(file);
  if (ansi) {
    for (const auto& s : parsed) {
      for (const auto& k : s.keys) {
        for (const std::int32_t limit : {1024, 7, 1}) {
          const std::string ours = before.Get(s.name, k.name, limit);
          const std::string rule = reference::Get(parsed, s.name, k.name, static_cast<std::size_t>(limit));
          if (ours != rule) {
            std::fprintf(stderr, "[%s] %s, buffer %d: \"%s\" against \"%s\"\n", s.name.c_str(), k.name.c_str(), limit,
                         ours.c_str(), rule.c_str());
          }
          Check(ours == rule, "read");
        }
      }
    }
  }

  IniDocument after(file);
  const std::string quoted = "\"" + value + "\"";
  try {
    after.Set(section, key, quoted);
  } catch (...) {
    Check(value.find_first_of("\r\n") != std::string::npos, "a value without a line break refused");
    return 0;
  }
  Check(value.find_first_of("\r\n") == std::string::npos, "a line break written");
  Check(after.encoding() == before.encoding(), "encoding kept");
  const IniDocument reread(after.bytes());
  // A value comes back as it was when the file's encoding can hold it and a read can return it.
  const bool holdable = ansi || codepage::AnsiFromUtf8(codepage::Utf8FromAnsi(value)) == value;
  if (holdable && value.size() <= 1023 && value.find('\0') == std::string::npos) {
    Check(reread.Get(section, key, 1024) == value, "round trip");
  }
  if (ansi) {
    const auto written = reference::Parse(after.bytes());
    Check(reference::Get(written, section, key, 1024) == reread.Get(section, key, 1024), "written file parses");
    for (const auto& s : parsed) {
      for (const auto& k : s.keys) {
        if (reference::Same(s.name, section) && reference::Same(k.name, key)) continue;
        Check(reread.Get(s.name, k.name, 1024) == before.Get(s.name, k.name, 1024), "other key kept");
      }
    }
  }
  return 0;
}
