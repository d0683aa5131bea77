// The lock where the portable core runs outside Windows: an advisory lock on link.ini's folder,
// which stays the same object while the file in it is replaced.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "link_lock.h"

namespace linklock {

struct LinkIniLock::Lock {
  explicit Lock(int descriptor) : fd(descriptor) {}
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  ~Lock() { ::close(fd); }  // releases the lock with it
  const int fd;
};

LinkIniLock::LinkIniLock(const fileio::FilePath& linkIni, std::uint32_t waitMilliseconds) {
  const fileio::FilePath folder = linkIni.has_parent_path() ? linkIni.parent_path() : fileio::FilePath(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error_ = static_cast<std::uint32_t>(errno);
    return;
  }
  lock_ = std::make_unique<Lock>(fd);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      errno = ETIMEDOUT;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  error_ = static_cast<std::uint32_t>(errno);
}

LinkIniLock::~LinkIniLock() = default;

std::wstring CanonicalUpperPath(const fileio::FilePath& linkIni) {
  std::error_code unknown;
  fileio::FilePath path = std::filesystem::weakly_canonical(std::filesystem::absolute(linkIni, unknown), unknown);
  if (unknown) path = linkIni;
  std::wstring upper;
  for (const char c : path.string()) upper += static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return upper;
}

}  // namespace linklock
