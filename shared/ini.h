// INI access: reading and writing single values of an INI file, byte for byte as the Windows
// private-profile functions (GetPrivateProfileStringA / WritePrivateProfileStringA) do on Windows.
// Texts are in the ANSI code page, as they stand in the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "file_io.h"

// One INI file's content, parsed once, so that many values can be read from a single read of it.
// Values come and go in the ANSI code page whatever the file's encoding.
class IniDocument {
 public:
  // The system writes ANSI files; a text editor may have saved the file as Unicode, marked by a
  // byte-order mark at its start.
  enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

  IniDocument() = default;
  // The file's bytes; a byte-order mark decides the encoding.
  explicit IniDocument(std::string bytes);
  // The lines and the lookup refer into the document's own bytes, so a copy parses its own.
  IniDocument(const IniDocument& other);
  IniDocument(IniDocument&& other);
  IniDocument& operator=(const IniDocument& other);
  IniDocument& operator=(IniDocument&& other);

  // Loads the file; a missing or unreadable file reads as an empty document.
  static IniDocument Load(const fileio::FilePath& file);

  // The value, as GetPrivateProfileStringA gives it with the empty default and a buffer of `size`
  // bytes: blanks around it and one pair of enclosing quotes removed, at most size - 1 bytes.
  std::string Get(std::string_view section, std::string_view key, std::int32_t size) const;

  // Sets the key to the value as WritePrivateProfileStringA does on Windows: an existing key keeps
  // its place and spelling, a new key follows the section's last key, a new section is appended,
  // and every other byte stays. Throws err::AppError when a text holds a CR or LF.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Sets several keys of one section as that many calls of Set in this order would, in one pass
  // over the document; nothing changes when any text holds a CR or LF (err::AppError).
  void Set(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values);

  // Removes the lines of the keys that `remove` picks (given each key's name in ANSI, as the file
  // spells it) from the section that reads find (the first of that name); every other byte stays.
  void RemoveKeys(std::string_view section, const std::function<bool(const std::string& key)>& remove);

  // The file's bytes, in the encoding the file came in.
  std::string bytes() const;
  Encoding encoding() const { return encoding_; }

 private:
  struct Line {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // end of its text, before the line end
    std::size_t next = 0;   // first byte of the next line
    enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
    std::string_view name;       // section or key name, trimmed
    std::size_t valueBegin = 0;  // key lines: the raw value after '='
  };

  // A name as the file holds it, compared without regard to ASCII letter case.
  struct NameHash {
    std::size_t operator()(std::string_view name) const;
  };
  struct NameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct KeyName {
    std::size_t sectionLine;
    std::string_view name;
  };
  struct KeyNameHash {
    std::size_t operator()(const KeyName& key) const;
  };
  struct KeyNameEqual {
    bool operator()(const KeyName& a, const KeyName& b) const;
  };

  void Parse();
  // ANSI text (a name or a value) in the document's own text: UTF-8 for a Unicode file.
  std::string OwnText(std::string_view ansi) const;
  // Index of the first line of the first section with that name, or npos.
  std::size_t FindSection(std::string_view section) const;
  std::size_t FindKey(std::size_t sectionLine, std::string_view key) const;

  std::string bytes_;  // the text as parsed: ANSI, or UTF-8 for a Unicode file
  Encoding encoding_ = Encoding::kAnsi;
  std::string oddByte_;  // the last byte of a UTF-16 file of odd length, kept as it was
  std::vector<Line> lines_;
  // What a search from the top finds first: each section name's first header, and each key
  // name's first line within each section.
  std::unordered_map<std::string_view, std::size_t, NameHash, NameEqual> sections_;
  std::unordered_map<KeyName, std::size_t, KeyNameHash, KeyNameEqual> keys_;
};

// Writes one value, creating the file and the section when missing. The file is never left half
// written: the new content is written beside it and then replaces it. Returns nonzero on success
// and 0 on failure, like WritePrivateProfileStringA. A text holding CR or LF throws err::AppError.
std::int32_t WriteIniString(std::string section, std::string key, std::string value, fileio::FilePath file);

// Reads the file as it stands, lets `change` set values in it, and replaces the file in one step:
// either every change reaches the file or, on failure (false, the system's error kept), none does.
// A file that exists but cannot be read is left alone rather than overwritten.
bool UpdateIniFile(const fileio::FilePath& file, const std::function<void(IniDocument&)>& change);

// Writes several values of one section in a single replacement of the file: either all of them
// reach the file or, on failure (0), none does.
std::int32_t WriteIniStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values,
                             const fileio::FilePath& file);

// The part of the text before its first NUL character.
std::string CutAtNull(const std::string& value);
