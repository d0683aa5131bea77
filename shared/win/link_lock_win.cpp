// The lock on Windows: a named mutex in the session's namespace.
#include <windows.h>

#include "link_lock.h"
#include "win_handle.h"
#include "win_text.h"

namespace linklock {

struct LinkIniLock::Lock {
  winhandle::KernelHandle mutex;
  bool held = false;
  ~Lock() {
    if (held) ReleaseMutex(mutex.get());
  }
};

std::wstring CanonicalUpperPath(const fileio::FilePath& linkIni) {
  std::wstring full = wintext::BufferText(
      [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(linkIni.c_str(), size, buffer, nullptr); });
  if (full.empty()) full = linkIni.wstring();
  const fileio::FilePath path(full);
  const winhandle::FileHandle folder(CreateFileW(path.parent_path().c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (folder) {
    const std::wstring final = wintext::BufferText(
        [&](wchar_t* buffer, DWORD size) { return GetFinalPathNameByHandleW(folder.get(), buffer, size, 0); });
    if (!final.empty()) full = (fileio::FilePath(final) / path.filename()).wstring();
  }
  return wintext::UpperCase(full);
}

LinkIniLock::LinkIniLock(const fileio::FilePath& linkIni, std::uint32_t waitMilliseconds) {
  // Local: the programs run in the user's session, and no other session can then hold or deny
  // the name; the file's own replacement in one step still guards against anyone else.
  winhandle::KernelHandle mutex(CreateMutexW(nullptr, FALSE, LockName(CanonicalUpperPath(linkIni)).c_str()));
  if (!mutex) {
    error_ = GetLastError();
    return;
  }
  switch (WaitForSingleObject(mutex.get(), waitMilliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder ended without releasing it: the file is whole all the same
      held_ = true;
      break;
    case WAIT_TIMEOUT: error_ = WAIT_TIMEOUT; break;
    default: error_ = GetLastError(); break;
  }
  lock_.reset(new Lock{std::move(mutex), held_});  // built in place: a Lock is never copied
}

LinkIniLock::~LinkIniLock() = default;

}  // namespace linklock
