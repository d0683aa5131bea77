// The lock that the launchers and the list editor take while they read and replace link.ini, so
// that an association chosen in one launcher is never lost to another that stores at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "file_io.h"

namespace linklock {

// How long a program waits for another to finish with link.ini (normally a few milliseconds).
inline constexpr std::uint32_t kWaitMilliseconds = 10000;

// The file's full path as the file system resolves it (links, short names and the drive's own
// spelling undone where the system can tell), upper-cased as the file system compares names: one
// name per file, from whichever program and spelling of its path. The lock and the launchers'
// meetings are named after it.
std::wstring CanonicalUpperPath(const fileio::FilePath& linkIni);

// The lock's name for a link.ini whose full path, upper-cased, is given: a hash of the path, since
// names of the system's objects cannot hold backslashes. Programs of one installation share the
// name; two installations do not block each other.
std::wstring LockName(std::wstring_view upperCaseFullPath);
// The name of something that the programs of one installation share about one part of what
// link.ini holds (the kind of file whose chooser is open): the lock's name and a hash of the part.
std::wstring LockName(std::wstring_view upperCaseFullPath, std::string_view part);

// Taken on construction (waiting at most `waitMilliseconds`), released when the object goes. A
// holder that ended without releasing it (a killed launcher) leaves it free to take.
class LinkIniLock {
 public:
  explicit LinkIniLock(const fileio::FilePath& linkIni, std::uint32_t waitMilliseconds = kWaitMilliseconds);
  ~LinkIniLock();
  LinkIniLock(const LinkIniLock&) = delete;
  LinkIniLock& operator=(const LinkIniLock&) = delete;

  bool held() const { return held_; }
  // The system's error code when the lock could not be taken (a time-out among them).
  std::uint32_t error() const { return error_; }

 private:
  struct Lock;  // the system's lock object, as each platform owns it; let go and closed when it goes
  std::unique_ptr<Lock> lock_;
  bool held_ = false;
  std::uint32_t error_ = 0;
};

}  // namespace linklock
