// Windows file operations, all through the wide functions.
#include <windows.h>

#include <cwchar>
#include <iterator>

#include "file_io.h"
#include "win_handle.h"
#include "win_text.h"

namespace fileio {
namespace {

// Virus scanners, indexers and sync clients hold files for a moment; such errors pass quickly.
bool IsPassingError(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

template <typename Step>
bool WithRetry(Step step, int attempts = 5) {
  for (int attempt = 1;; ++attempt) {
    if (step()) return true;
    if (attempt >= attempts || !IsPassingError(GetLastError())) return false;
    Sleep(20);
  }
}

// The full path, as the system resolves it; empty when it cannot.
std::wstring FullPath(const std::wstring& path) {
  return wintext::BufferText(
      [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
}

// A path that the system takes at any length: a long one goes as its full path behind "\\?\".
std::wstring SystemPath(const FilePath& path) {
  const std::wstring given = path.wstring();
  if (given.size() < MAX_PATH - 12 || given.rfind(L"\\\\?\\", 0) == 0) return given;
  const std::wstring full = FullPath(given);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return full.empty() ? given : L"\\\\?\\" + full;
}

// A device name such as NUL or CON: the system resolves it into the device namespace.
bool IsDeviceName(const FilePath& path) {
  const std::wstring given = path.wstring();
  return given.rfind(L"\\\\", 0) != 0 && FullPath(given).rfind(L"\\\\.\\", 0) == 0;
}

// A new file beside `path` that holds the bytes, under a name that no file there has yet; its path
// in the form the system takes at any length, or the empty text when it could not be written (the
// system's error kept, nothing left behind).
std::wstring WriteFileBeside(const FilePath& path, const std::string& bytes) {
  const FilePath folder = path.has_parent_path() ? path.parent_path() : FilePath(L".");
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t name[32];
    swprintf(name, std::size(name), L"ini%08lX%08X.tmp", GetCurrentProcessId(), GetTickCount() + ++counter);
    const std::wstring temp = SystemPath(folder / name);
    winhandle::FileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return {};
    }
    DWORD written = 0;
    bool ok =
        bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    ok = ok && FlushFileBuffers(file.get());
    const DWORD error = GetLastError();
    file.reset();
    if (ok) return temp;
    DeleteFileW(temp.c_str());
    SetLastError(error);
    return {};
  }
  SetLastError(ERROR_FILE_EXISTS);
  return {};
}

}  // namespace

ReadStatus ReadAll(const FilePath& path, std::string& bytes) {
  bytes.clear();
  winhandle::FileHandle file;
  WithRetry([&] {
    file.reset(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
  });
  if (!file) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadStatus::kMissing
                                                                            : ReadStatus::kFailed;
  }
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) && got > 0) {
    bytes.append(buffer, got);
  }
  return ok ? ReadStatus::kOk : ReadStatus::kFailed;
}

bool ReplaceContent(const FilePath& path, const std::string& bytes) {
  if (path.empty()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // Both names in the form that the system takes at any length, as the reading takes them.
  const std::wstring target = SystemPath(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
  if (existed && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring temp = WriteFileBeside(path, bytes);
  bool ok = !temp.empty();
  if (ok) {
    // A rename over the old file, so that readers find the old or the new file and never none. It
    // is refused while another program reads the file, which takes a moment: wait for that.
    // ReplaceFileW comes last, for a reader that holds the file longer (it works while readers
    // share deletion; under Wine it is two renames, with a moment in which the file is missing).
    ok = WithRetry(
        [&] {
          return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        },
        12);
    ok = ok || (existed && WithRetry([&] {
                  return ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                      nullptr) != 0;
                }));
  }
  const DWORD error = GetLastError();
  if (!ok) {
    // A replacement that failed half way can leave the old file gone: the new content then stays
    // in the temporary file rather than being lost with it.
    if (!temp.empty() && (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES || !existed)) {
      DeleteFileW(temp.c_str());
    }
  } else if (existed) {
    // The new file keeps the old one's attributes; it has changed, so it is marked for backup.
    SetFileAttributesW(target.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
  }
  SetLastError(error);
  return ok;
}

bool IsOrdinaryFile(const FilePath& path) {
  if (path.empty() || HasWildcard(path) || IsDeviceName(path)) return false;
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

FileKind KindOf(const FilePath& path) {
  if (GetFileAttributesW(SystemPath(path).c_str()) == INVALID_FILE_ATTRIBUTES) return FileKind::kMissing;
  return IsOrdinaryFile(path) ? FileKind::kOrdinary : FileKind::kOther;
}

std::wstring IdentityKey(const FilePath& path) {
  std::wstring given = path.wstring();
  if (given.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    given = L"\\\\" + given.substr(8);
  } else if (given.rfind(L"\\\\?\\", 0) == 0) {
    given = given.substr(4);
  }
  const std::wstring full = FullPath(given);
  if (!full.empty()) given = full;
  const std::wstring longForm =
      wintext::BufferText([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(given.c_str(), buffer, size); });
  if (!longForm.empty()) given = longForm;
  return wintext::UpperCase(given);
}

std::uint32_t LastError() { return GetLastError(); }

struct Reader::File {
  winhandle::FileHandle handle;
};

Reader::Reader() = default;

Reader::~Reader() = default;

void Reader::Close() { file_.reset(); }

bool Reader::Open(const FilePath& path) {
  Close();
  failed_ = false;
  winhandle::FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    // A console, a pipe or a device would block the reader or never end.
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  file_ = std::make_unique<File>(File{std::move(file)});
  return true;
}

std::size_t Reader::Read(char* buffer, std::size_t size) {
  if (!file_ || failed_) return 0;
  DWORD got = 0;
  if (!ReadFile(file_->handle.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) {
    failed_ = true;
    return 0;
  }
  return got;
}

std::optional<std::uint64_t> Reader::Size() const {
  LARGE_INTEGER size{};
  if (!file_ || !GetFileSizeEx(file_->handle.get(), &size)) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace fileio
