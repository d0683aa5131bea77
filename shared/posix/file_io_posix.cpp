// Native file operations, used where the portable core is built and tested outside Windows.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "file_io.h"

namespace fileio {

ReadStatus ReadAll(const FilePath& path, std::string& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kFailed;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? ReadStatus::kFailed : ReadStatus::kOk;
}

bool ReplaceContent(const FilePath& path, const std::string& bytes) {
  struct stat old {};
  const bool existed = ::stat(path.c_str(), &old) == 0;
  if (path.empty() || (existed && (old.st_mode & S_IWUSR) == 0)) {
    errno = EACCES;
    return false;
  }
  std::string temp = (path.parent_path() / ".ini-XXXXXX").string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = ok && ::fsync(fd) == 0;
  if (existed) ok = ok && ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool IsOrdinaryFile(const FilePath& path) {
  if (path.empty() || HasWildcard(path)) return false;
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileKind KindOf(const FilePath& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return FileKind::kMissing;
  return IsOrdinaryFile(path) ? FileKind::kOrdinary : FileKind::kOther;
}

std::wstring IdentityKey(const FilePath& path) {
  // Linux names differ by letter case; the stand-in folds it all the same, as Windows does.
  std::error_code ignored;
  std::wstring key = std::filesystem::absolute(path, ignored).lexically_normal().wstring();
  for (wchar_t& c : key) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return key;
}

std::uint32_t LastError() { return static_cast<std::uint32_t>(errno); }

struct Reader::File {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> stream;
};

Reader::Reader() = default;

Reader::~Reader() = default;

void Reader::Close() { file_.reset(); }

bool Reader::Open(const FilePath& path) {
  Close();
  failed_ = false;
  std::unique_ptr<std::FILE, File::Closer> stream(std::fopen(path.c_str(), "rb"));
  if (!stream) return false;
  file_ = std::make_unique<File>(File{std::move(stream)});
  return true;
}

std::size_t Reader::Read(char* buffer, std::size_t size) {
  if (!file_ || failed_) return 0;
  std::FILE* stream = file_->stream.get();
  const std::size_t got = std::fread(buffer, 1, size, stream);
  if (got == 0 && std::ferror(stream)) failed_ = true;
  return got;
}

std::optional<std::uint64_t> Reader::Size() const {
  struct stat info {};
  if (!file_ || ::fstat(::fileno(file_->stream.get()), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace fileio
