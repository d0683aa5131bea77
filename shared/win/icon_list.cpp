#include "icon_list.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

#include "error.h"
#include "file_io.h"
#include "programs_gone.h"
#include "version_info.h"
#include "win_form.h"

namespace winform {
namespace {

// The message by which a reading thread tells the owner that results are waiting; registered, so
// that it can be no message of the owner's own.
UINT IconsReadMessage() {
  static const UINT message = RegisterWindowMessageW(L"winform.IconList.IconsRead");
  return message;
}

}  // namespace

// Handed from the list to the thread that reads the icons, and back. Whoever lets go of it last
// releases it: icons read after the list has gone are destroyed with it.
struct IconList::Loading : WorkShared {
  struct Request {
    unsigned row;
    std::wstring path;
  };
  struct Icon {
    unsigned row;
    int size;
    winhandle::Icon icon;
  };
  struct Presence {
    unsigned row;
    bool missing;
    std::optional<versioninfo::ProgramVersion> version;
  };

  WPARAM list = 0;  // which list of the owner is told
  bool readVersions = false;
  int size = 0;  // the size the icons are read at
  int largeSize = 0;
  std::deque<Request> requests;
  std::vector<Presence> checked;
  std::vector<Icon> read;
};

namespace {

// Space around a row's number, icon and text: two pixels at 96 DPI.
constexpr int kMarginTwips = 30;

using ExtractFunction = HRESULT(WINAPI*)(LPCWSTR, int, UINT, HICON*, HICON*, UINT);
using MetricsForDpiFunction = int(WINAPI*)(int, UINT);

// shell32 is loaded by the first list that reads icons, on its reading thread: a launcher that
// opens a registered file never loads it. It is never unloaded, since a reading that is still
// going on when the program ends must keep its code.
ExtractFunction ShellExtractIcon() {
  static const ExtractFunction extract =
      SystemFunction<ExtractFunction>(LoadLibraryW(L"shell32.dll"), "SHDefExtractIconW");
  return extract;
}

int SystemMetricAtDpi(int metric, int dpi) {
  static const auto forDpi = SystemFunction<MetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(metric, static_cast<UINT>(dpi));
  // Older systems give their metrics at the screen's DPI.
  const winhandle::WindowDc screen(nullptr);
  const int screenDpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return MulDiv(GetSystemMetrics(metric), dpi, screenDpi > 0 ? screenDpi : 96);
}

// The reading thread, until no request is left or the list has gone: for the rows requested so far,
// first whether each program is there (the existence test can wait long on a network path, so it
// is made here too) and, where the list reads them, their version resources; then the first icon
// of each program file that is there. A file without an icon, or one that cannot be read,
// gives no icon: its row keeps the application icon.
void ReadIcons(const std::shared_ptr<IconList::Loading> loading) {
  const ExtractFunction extract = ShellExtractIcon();
  for (;;) {
    std::deque<IconList::Loading::Request> batch;
    int size = 0;
    int largeSize = 0;
    bool readVersions = false;
    {
      const std::lock_guard<std::mutex> lock(loading->mutex);
      if (!loading->owner || loading->requests.empty()) {
        loading->working = false;
        return;
      }
      batch.swap(loading->requests);
      size = loading->size;
      largeSize = loading->largeSize;
      readVersions = loading->readVersions;
    }
    std::vector<fileio::FilePath> paths;
    for (const auto& request : batch) paths.emplace_back(request.path);
    const std::vector<bool> gone = programs::Gone(paths);
    std::vector<IconList::Loading::Presence> checked;
    for (std::size_t i = 0; i < batch.size(); ++i) {
      checked.push_back({batch[i].row, gone[i], readVersions ? versioninfo::Read(paths[i]) : std::nullopt});
    }
    {
      const std::lock_guard<std::mutex> lock(loading->mutex);
      if (!loading->owner) {
        loading->working = false;
        return;
      }
      loading->checked.insert(loading->checked.end(), checked.begin(), checked.end());
      loading->Tell(IconsReadMessage(), loading->list);
    }
    for (std::size_t i = 0; i < batch.size() && extract; ++i) {
      if (checked[i].missing) continue;
      winhandle::Icon large;
      winhandle::Icon small;
      const HRESULT result = extract(batch[i].path.c_str(), 0, 0, large.receive(), small.receive(),
                                     MAKELONG(static_cast<WORD>(largeSize), static_cast<WORD>(size)));
      if (result != S_OK || !small) continue;
      const std::lock_guard<std::mutex> lock(loading->mutex);
      if (!loading->owner) {
        loading->working = false;
        return;
      }
      loading->read.push_back({batch[i].row, size, std::move(small)});
      loading->Tell(IconsReadMessage(), loading->list);
    }
  }
}

}  // namespace

int SmallIconSize(int dpi) { return SystemMetricAtDpi(SM_CXSMICON, dpi); }

IconList::IconList(Dialog& owner, int id, Numbers numbers, const wchar_t* missingMark, Versions versions)
    : id_(id), numbers_(numbers), missingMark_(missingMark), versions_(versions), loading_(ReadIcons) {
  owner.Plug(*this);
}

IconList::~IconList() = default;

bool IconList::OnMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_LISTBOX || static_cast<int>(item.CtlID) != id_) return false;
      // Asked while the list is being created, before it has its font: the icon decides for now,
      // and the layout that follows sets the height that the font needs as well.
      const int dpi = WindowDpi(owner);
      item.itemHeight = static_cast<UINT>(SmallIconSize(dpi) + 2 * winform::Pixels(kMarginTwips, dpi));
      return true;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_LISTBOX || static_cast<int>(item.CtlID) != id_) return false;
      Draw(item);
      return true;
    }
    default:
      if (message != IconsReadMessage() || wParam != static_cast<WPARAM>(id_)) return false;
      TakeIcons();
      return true;
  }
}

void IconList::Layout(HWND owner, int dpi) {
  if (!loading_.shared()) Attach(owner);
  margin_ = winform::Pixels(kMarginTwips, dpi);
  int textHeight = 0;
  {
    const winhandle::WindowDc dc(list_);
    const winhandle::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    textHeight = metrics.tmHeight;
    SIZE digit{};
    GetTextExtentPoint32W(dc.get(), L"9", 1, &digit);
    digitWidth_ = digit.cx;
  }
  const int size = SmallIconSize(dpi);
  if (size != iconSize_) {
    iconSize_ = size;
    largeIconSize_ = SystemMetricAtDpi(SM_CXICON, dpi);
    // An owned copy at the size asked for: the shared one keeps whatever size was loaded first.
    stock_.reset(static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, 0)));
    {
      Loading& loading = *loading_.shared();
      const std::lock_guard<std::mutex> lock(loading.mutex);
      loading.size = iconSize_;
      loading.largeSize = largeIconSize_;
      loading.requests.clear();
    }
    for (Row& row : rows_) {
      row.icon.reset();
      Request(row);
    }
  }
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(RowHeight(textHeight), 0));
  InvalidateRect(list_, nullptr, TRUE);
}

int IconList::RowHeight(int textHeight) const {
  return std::min(std::max(iconSize_, textHeight) + 2 * margin_, 255);  // a list's rows are at most 255 high
}

void IconList::Attach(HWND owner) {
  list_ = GetDlgItem(owner, id_);
  if (!list_) throw err::AppError(err::kInternalError);  // the window's table has no such list
  loading_.Attach(owner);
  loading_.shared()->list = static_cast<WPARAM>(id_);
  loading_.shared()->readVersions = versions_ == Versions::kRead;
}

void IconList::OwnerDestroyed() {
  loading_.Detach();
  rows_.clear();
  list_ = nullptr;
  iconSize_ = 0;
}

void IconList::Insert(int row, const std::wstring& text, const std::wstring& path) {
  const LRESULT inserted =
      SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.c_str()));
  if (inserted == LB_ERR || inserted == LB_ERRSPACE) throw err::AppError(err::kOutOfMemory);
  // Whether the program is there is known once the reading thread has looked: until then the row
  // is drawn as one whose program is.
  Row added;
  added.id = nextId_++;
  added.path = path;
  const auto at = rows_.insert(rows_.begin() + inserted, std::move(added));
  Request(*at);
}

void IconList::Remove(int row) {
  if (SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(row), 0) == LB_ERR) return;
  rows_.erase(rows_.begin() + row);
}

void IconList::Clear() {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  rows_.clear();
  Loading* loading = loading_.shared();
  if (!loading) return;
  const std::lock_guard<std::mutex> lock(loading->mutex);
  loading->requests.clear();
}

void IconList::Request(const Row& row) {
  Loading* loading = loading_.shared();
  if (!loading) return;
  {
    const std::lock_guard<std::mutex> lock(loading->mutex);
    loading->requests.push_back({row.id, row.path});
  }
  loading_.Start();
}

void IconList::TakeIcons() {
  Loading* loading = loading_.shared();
  std::vector<Loading::Presence> checked;
  std::vector<Loading::Icon> read;
  {
    const std::lock_guard<std::mutex> lock(loading->mutex);
    checked.swap(loading->checked);
    read.swap(loading->read);
    loading->told = false;
  }
  // A row removed meanwhile is left out, as is an icon of the size before a change of DPI.
  const auto redraw = [&](unsigned id) -> Row* {
    const auto row = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) { return r.id == id; });
    if (row == rows_.end()) return nullptr;
    RECT box{};
    if (SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row - rows_.begin()), reinterpret_cast<LPARAM>(&box)) !=
        LB_ERR) {
      InvalidateRect(list_, &box, FALSE);
    }
    return &*row;
  };
  for (Loading::Presence& presence : checked) {
    Row* row = redraw(presence.row);
    if (!row) continue;
    row->checked = true;
    row->missing = presence.missing;
    row->version = std::move(presence.version);
    ShowRowData(static_cast<std::size_t>(row - rows_.data()));
  }
  for (Loading::Icon& icon : read) {
    if (icon.size != iconSize_) continue;
    if (Row* row = redraw(icon.row)) row->icon = std::move(icon.icon);
  }
  if (!checked.empty() && allChecked_ &&
      std::all_of(rows_.begin(), rows_.end(), [](const Row& row) { return row.checked; })) {
    allChecked_();
  }
}

std::vector<bool> IconList::Gone() const {
  std::vector<bool> gone;
  for (const Row& row : rows_) gone.push_back(row.missing);
  return gone;
}

std::vector<std::optional<versioninfo::ProgramVersion>> IconList::ProgramVersions() const {
  std::vector<std::optional<versioninfo::ProgramVersion>> versions;
  for (const Row& row : rows_) versions.push_back(row.version);
  return versions;
}

void IconList::SetNote(int row, const wchar_t* note) {
  if (row < 0 || row >= count()) return;
  rows_[static_cast<std::size_t>(row)].note = note;
  ShowRowData(static_cast<std::size_t>(row));
  RECT box{};
  if (SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box)) != LB_ERR) {
    InvalidateRect(list_, &box, FALSE);
  }
}

void IconList::ShowRowData(std::size_t index) const {
  const Row& row = rows_[index];
  const LPARAM data = (row.checked ? kRowChecked : 0) | (row.note ? kRowNoted : 0);
  SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void IconList::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT box = item.rcItem;
  const bool focus = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
  if (item.itemID == static_cast<UINT>(-1)) {  // an empty list that has the focus
    if (focus) DrawFocusRect(dc, &box);
    return;
  }
  const std::size_t index = item.itemID;
  const Row* row = index < rows_.size() ? &rows_[index] : nullptr;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const int background = selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  FillRect(dc, &box, GetSysColorBrush(background));
  const COLORREF usualInk = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  COLORREF ink = usualInk;
  // A program that has gone is drawn in the disabled colour, unless a theme gives that colour to
  // the background as well.
  if (row && row->missing && GetSysColor(COLOR_GRAYTEXT) != GetSysColor(background)) ink = GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(dc, ink);
  SetBkMode(dc, TRANSPARENT);
  const winhandle::Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
  constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

  int x = box.left + margin_;
  if (numbers_ == Numbers::kFirstNine) {
    if (index < 9) {
      const wchar_t digit = static_cast<wchar_t>(L'1' + index);
      RECT cell{x, box.top, x + digitWidth_, box.bottom};
      DrawTextW(dc, &digit, 1, &cell, kLine | DT_CENTER);
    }
    x += digitWidth_ + 2 * margin_;
  }
  const HICON icon = row && row->icon ? row->icon.get() : stock_.get();
  if (icon) {
    DrawIconEx(dc, x, box.top + (box.bottom - box.top - iconSize_) / 2, icon, iconSize_, iconSize_, 0, nullptr,
               DI_NORMAL);
  }
  x += iconSize_ + 2 * margin_;

  const auto length = SendMessageW(list_, LB_GETTEXTLEN, item.itemID, 0);
  std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
  const auto copied = SendMessageW(list_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  // Each piece after the one before it.
  RECT textBox{x, box.top, box.right, box.bottom};
  const auto put = [&](const wchar_t* piece, int size) {
    DrawTextW(dc, piece, size, &textBox, kLine);
    RECT measured = textBox;
    DrawTextW(dc, piece, size, &measured, kLine | DT_CALCRECT);
    if (size != 0) textBox.left = measured.right;
  };
  put(text.c_str(), static_cast<int>(text.size()));
  if (row && row->missing) put(missingMark_, -1);
  if (row && row->note) {
    SetTextColor(dc, usualInk);
    put(row->note, -1);
  }
  if (focus) DrawFocusRect(dc, &box);
}

}  // namespace winform
