// Owners of system handles: each releases its handle when it goes, whatever path leaves the scope.
#pragma once

#include <windows.h>

#include <utility>

namespace winhandle {

// A handle and the one call that releases it. `Traits` gives the handle type, the value that means
// "none" and the release.
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Owned() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::None(); }
  // The place for a call that hands back a new handle through a pointer; the old one goes first.
  Handle* receive() {
    reset();
    return &handle_;
  }
  Handle release() { return std::exchange(handle_, Traits::None()); }
  void reset(Handle handle = Traits::None()) {
    if (handle_ != Traits::None()) Traits::Release(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::None();
};

struct KernelTraits {  // processes, threads, events, mutexes
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { CloseHandle(handle); }
};
struct FileTraits {  // CreateFileW, whose failure is INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle handle) { CloseHandle(handle); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle handle) { FindClose(handle); }
};
struct KeyTraits {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { RegCloseKey(handle); }
};
template <typename GdiObject>
struct GdiTraits {  // fonts, pens, brushes, bitmaps
  using Handle = GdiObject;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { DeleteObject(handle); }
};
struct ModuleTraits {  // LoadLibraryW
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { FreeLibrary(handle); }
};
struct MemoryDcTraits {  // CreateCompatibleDC
  using Handle = HDC;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { DeleteDC(handle); }
};
struct IconTraits {  // icons made or extracted for the program (not shared ones)
  using Handle = HICON;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { DestroyIcon(handle); }
};
struct WindowTraits {  // windows that their creator destroys
  using Handle = HWND;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { DestroyWindow(handle); }
};
template <typename Pointer>
struct LocalMemoryTraits {  // memory the system allocated for the caller (FormatMessageW)
  using Handle = Pointer;
  static Handle None() { return nullptr; }
  static void Release(Handle handle) { LocalFree(handle); }
};

using KernelHandle = Owned<KernelTraits>;
using FileHandle = Owned<FileTraits>;
using FindHandle = Owned<FindTraits>;
using RegistryKey = Owned<KeyTraits>;
using Font = Owned<GdiTraits<HFONT>>;
using Pen = Owned<GdiTraits<HPEN>>;
using Brush = Owned<GdiTraits<HBRUSH>>;
using Bitmap = Owned<GdiTraits<HBITMAP>>;
using MemoryDc = Owned<MemoryDcTraits>;
using Module = Owned<ModuleTraits>;
using Icon = Owned<IconTraits>;
using Window = Owned<WindowTraits>;
template <typename Pointer>
using LocalMemory = Owned<LocalMemoryTraits<Pointer>>;

// The device context of a window (the screen for none), from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Painting of a window between BeginPaint and EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context for a while; the old one is selected back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace winhandle
