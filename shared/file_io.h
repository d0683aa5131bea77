// The few file operations both programs need, over the platform's own calls (wide paths on Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace fileio {

using FilePath = std::filesystem::path;

enum class ReadStatus { kOk, kMissing, kFailed };

// Reads a whole file. kMissing when it does not exist, kFailed when it exists but cannot be read.
ReadStatus ReadAll(const FilePath& path, std::string& bytes);

// Writes the bytes to a new file beside `path` and then puts it in place of `path`, keeping the
// old file's attributes, so that a reader sees either the old or the new content, never a part.
// Returns false, leaving `path` untouched, when anything fails (the system's error is kept).
bool ReplaceContent(const FilePath& path, const std::string& bytes);

// An existing ordinary file: not a folder, not hidden or system, not a wildcard pattern, not empty.
bool IsOrdinaryFile(const FilePath& path);

// Whether something of that name is there, and whether it is an ordinary file as above.
enum class FileKind { kMissing, kOrdinary, kOther };
FileKind KindOf(const FilePath& path);

// A text that is the same for every spelling of one file's path: letter case, a leading "\\?\" and
// short (8.3) names make no difference. Meant for files that are there; for others, the full path
// in upper case.
std::wstring IdentityKey(const FilePath& path);

// The system's error code of the last operation that failed (GetLastError, errno).
std::uint32_t LastError();

// Sequential reading of one file, closed when the reader goes.
class Reader {
 public:
  Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  ~Reader();

  bool Open(const FilePath& path);
  // Returns the number of bytes read; 0 at the end of the file. Sets failed() on a read error.
  std::size_t Read(char* buffer, std::size_t size);
  bool failed() const { return failed_; }
  // The size of the open file in bytes; no value when the system cannot tell.
  std::optional<std::uint64_t> Size() const;
  void Close();

 private:
  struct File;  // the open file, as each platform owns it; closed when it goes
  std::unique_ptr<File> file_;
  bool failed_ = false;
};

// True when the path holds a character that a directory listing takes as a wildcard.
inline bool HasWildcard(const FilePath& path) {
  for (const auto c : path.native()) {
    if (c == '*' || c == '?') return true;
  }
  return false;
}

}  // namespace fileio
