// A list box of programs, drawn by its owner: each row shows its number (optionally), the
// program's small icon and the row's text, and a program that has gone is shown as gone. The
// rows' strings stay the list box's own, exactly as given, for anyone who reads them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "version_info.h"
#include "win_form.h"
#include "win_handle.h"
#include "window_work.h"

namespace winform {

// The small-icon size of the system at a DPI: 16 pixels at 96, 24 at 144, 32 at 192.
int SmallIconSize(int dpi);

// Wraps the list box `id` of a window's control table, created with LBS_OWNERDRAWFIXED |
// LBS_HASSTRINGS. A part of the window: the dialog base hands it the owner's messages and layouts;
// the window fills it through Insert, Remove and Clear.
//
// Whether each program is there, and its icon, are found out off the window's thread once the
// window has first been painted, so that a slow disk or network path never holds the window up:
// until then a row shows the system's application icon and is drawn as one whose program is there;
// a program file without an icon, or one that has gone, keeps the application icon for good.
// Where the window asks for them, the programs' version resources are read there too, with the
// existence tests and before the icons.
//
// A row's item data (LB_GETITEMDATA) says what the list knows of it, for whoever reads the list from
// outside the program and cannot see the drawing (the tests): kRowChecked, kRowNoted.
class IconList : private Part {
 public:
  enum class Numbers { kNone, kFirstNine };
  enum class Versions { kNone, kRead };

  static constexpr LPARAM kRowChecked = 1;  // whether the program is there is known
  static constexpr LPARAM kRowNoted = 2;    // the row shows the window's note (SetNote)

  // `missingMark` follows the text of a row whose program is not there; it must outlive the list.
  IconList(Dialog& owner, int id, Numbers numbers, const wchar_t* missingMark, Versions versions = Versions::kNone);
  ~IconList();

  // A row at `row` (from 0) for the program at `path`; throws err::AppError when the list cannot
  // take it.
  void Insert(int row, const std::wstring& text, const std::wstring& path);
  void Remove(int row);
  void Clear();

  int count() const { return static_cast<int>(rows_.size()); }
  HWND window() const { return list_; }

  // Called on the window's thread whenever answers of the reading thread have come and every row's
  // program has been looked at (and its version resource read, with Versions::kRead).
  void OnAllChecked(std::function<void()> checked) { allChecked_ = std::move(checked); }
  // Per row, as far as the reading thread has answered: whether the program has gone, and its
  // version resource (none where it has none or the list does not read them).
  std::vector<bool> Gone() const;
  std::vector<std::optional<versioninfo::ProgramVersion>> ProgramVersions() const;
  // `note` is drawn after the row's text, in the row's usual colour; nullptr for none. It must
  // outlive the list.
  void SetNote(int row, const wchar_t* note);

  struct Loading;  // what the list shares with the thread that reads its icons

 private:
  struct Row {
    unsigned id;
    std::wstring path;
    bool checked = false;
    bool missing = false;
    std::optional<versioninfo::ProgramVersion> version;
    const wchar_t* note = nullptr;
    winhandle::Icon icon;  // none until read
  };

  // The owner's messages: measuring and drawing the rows, icons that have been read.
  bool OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) override;
  // The icons' size and the rows' height follow the owner's DPI; icons of another size are read
  // again.
  void Layout(HWND owner, int dpi) override;
  void OwnerDestroyed() override;
  void Attach(HWND owner);
  void Request(const Row& row);
  void TakeIcons();
  void Draw(const DRAWITEMSTRUCT& item) const;
  int RowHeight(int textHeight) const;
  void ShowRowData(std::size_t index) const;

  const int id_;
  const Numbers numbers_;
  const wchar_t* const missingMark_;
  const Versions versions_;
  std::function<void()> allChecked_;
  HWND list_ = nullptr;
  int iconSize_ = 0;
  int largeIconSize_ = 0;
  int margin_ = 0;
  int digitWidth_ = 0;
  winhandle::Icon stock_;
  std::vector<Row> rows_;
  unsigned nextId_ = 1;
  WindowWork<Loading> loading_;
};

}  // namespace winform
