// A list box of programs, drawn by its owner: each row shows its number (optionally), the
// program's small icon and the row's text, and a program that has gone is shown as gone. The
// rows' strings stay the list box's own, exactly as given, for anyone who reads them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win_handle.h"

namespace winform {

// The small-icon size of the system at a DPI: 16 pixels at 96, 24 at 144, 32 at 192.
int SmallIconSize(int dpi);

// Wraps the list box `id` of a window's control table, created with LBS_OWNERDRAWFIXED |
// LBS_HASSTRINGS. The window hands the list its owner messages (OnMessage) and its layouts
// (Layout), and fills it through Insert, Remove and Clear.
//
// Whether each program is there, and its icon, are found out off the window's thread once the
// window has first been painted, so that a slow disk or network path never holds the window up:
// until then a row shows the system's application icon and is drawn as one whose program is there;
// a program file without an icon, or one that has gone, keeps the application icon for good.
class IconList {
 public:
  enum class Numbers { kNone, kFirstNine };

  // `missingMark` follows the text of a row whose program is not there; it must outlive the list.
  IconList(int id, Numbers numbers, const wchar_t* missingMark);
  IconList(const IconList&) = delete;
  IconList& operator=(const IconList&) = delete;
  ~IconList();

  // The owner's messages: measuring and drawing the rows, icons that have been read, the owner's
  // end. True when the list has handled the message.
  bool OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam);
  // After the owner has laid out its controls at `dpi` (at creation and when the DPI changes):
  // the icons' size and the rows' height follow; icons of another size are read again.
  void Layout(HWND owner, int dpi);

  // A row at `row` (from 0) for the program at `path`; throws err::AppError when the list cannot
  // take it.
  void Insert(int row, const std::wstring& text, const std::wstring& path);
  void Remove(int row);
  void Clear();

  int count() const { return static_cast<int>(rows_.size()); }
  HWND window() const { return list_; }

  struct Loading;  // what the list shares with the thread that reads its icons

 private:
  struct Row {
    unsigned id;
    std::wstring path;
    bool missing;
    winhandle::Icon icon;  // none until read
  };

  void Attach(HWND owner);
  void Detach();
  void Request(const Row& row);
  void StartReading();
  void TakeIcons();
  void Draw(const DRAWITEMSTRUCT& item) const;
  int RowHeight(int textHeight) const;
  static void CALLBACK OnFirstPaint(HWND list, UINT, UINT_PTR timer, DWORD);

  const int id_;
  const Numbers numbers_;
  const wchar_t* const missingMark_;
  HWND list_ = nullptr;
  int iconSize_ = 0;
  int largeIconSize_ = 0;
  int margin_ = 0;
  int digitWidth_ = 0;
  winhandle::Icon stock_;
  std::vector<Row> rows_;
  unsigned nextId_ = 1;
  bool painted_ = false;
  std::shared_ptr<Loading> loading_;
};

}  // namespace winform
