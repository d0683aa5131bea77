#include "frm_find_apps.h"

#include <commctrl.h>

#include <deque>
#include <mutex>
#include <utility>

#include "editor_texts.h"
#include "editor_win.h"
#include "error.h"
#include "program_finder.h"
#include "programs_gone.h"

// Handed from the window to the finding thread, and back: the list as it was, the rows found.
// Whoever lets go of it last releases it, so that the window never waits for the thread, which
// can be held up long by a slow disk or a network path.
struct frmFindApps::Finding : winform::WorkShared {
  struct Request {
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
  };
  std::deque<Request> requests;
  std::vector<editor::FoundRow> found;
  bool finished = false;
};

namespace {

using namespace editor_ids;

// The message by which the finding thread tells the window that rows are waiting.
UINT FoundMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quelby.FindApps.Found");
  return message;
}

// The list as it was when finding began: which programs have gone and what file each path names,
// tested here, since a test can wait long on a network path.
editor::FoundRows ListAsItWas(const frmFindApps::Finding::Request& request) {
  std::vector<fileio::FilePath> paths(request.paths.begin(), request.paths.end());
  std::vector<std::wstring> keys;
  for (const fileio::FilePath& path : paths) keys.push_back(path.empty() ? std::wstring() : fileio::IdentityKey(path));
  return editor::FoundRows(request.names, request.paths, programs::Gone(paths), std::move(keys));
}

void FindPrograms(const std::shared_ptr<frmFindApps::Finding> finding) {
  frmFindApps::Finding::Request request;
  {
    const std::lock_guard<std::mutex> lock(finding->mutex);
    if (!finding->owner || finding->requests.empty()) {
      finding->working = false;
      return;
    }
    request = std::move(finding->requests.front());
    finding->requests.pop_front();
  }
  try {
    editor::FoundRows rows = ListAsItWas(request);
    finder::ProgramFinder finder;
    std::optional<finder::FoundProgram> program;
    for (bool more = true; more;) {
      more = finder.Step(program);
      const std::optional<editor::FoundRow> row = program ? std::optional(rows.Add(*program)) : std::nullopt;
      const std::lock_guard<std::mutex> lock(finding->mutex);
      if (!finding->owner) break;  // the window has closed: nothing more is wanted
      if (row) {
        finding->found.push_back(*row);
        finding->Tell(FoundMessage(), 0);
      }
    }
  } catch (...) {
    // Out of memory or a thread's end of resources: what was found stays, finding ends.
  }
  const std::lock_guard<std::mutex> lock(finding->mutex);
  finding->finished = true;
  finding->working = false;
  finding->Tell(FoundMessage(), 0);
}

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

const winform::Control kControls[] = {
    {kFindList, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 240, 240, 11280, 4800},
    {kFindStatus, L"STATIC", editor_texts::kFindSearching, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 240, 5400, 7200,
     300},
    {IDOK, L"BUTTON", editor_texts::kFindAdd, WS_TABSTOP | BS_DEFPUSHBUTTON, 7770, 5280, 1815, 420},
    {IDCANCEL, L"BUTTON", editor_texts::kFindCancel, kButton, 9705, 5280, 1815, 420},
};

// The list view's columns, widths in twips.
const winform::ListColumn kColumns[] = {
    {editor_texts::kFindNameColumn, 2700},
    {editor_texts::kFindVersionColumn, 1080},
    {editor_texts::kFindProgramColumn, 4500},
    {editor_texts::kFindStateColumn, 2700},
};

// A fixed single border and a close box.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
const winform::FormSpec kForm{nullptr, kStyle, 0, 11760, 5940, kControls, std::size(kControls)};

constexpr UINT kNoBox = INDEXTOSTATEIMAGEMASK(0);
constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

frmFindApps::frmFindApps(HWND owner, std::vector<std::wstring> names, std::vector<std::wstring> paths)
    : Dialog(kForm), owner_(owner), mstrNames(std::move(names)), mstrPaths(std::move(paths)), mWork(FindPrograms) {}

frmFindApps::~frmFindApps() = default;

bool frmFindApps::Show(std::vector<editor::FoundRow>& rRows) {
  mblnAdd = false;
  Create(owner_);
  winform::CenterOnOwner(window(), owner_);
  RunModal();
  rRows = mRows;
  return mblnAdd;
}

HWND frmFindApps::lvwFound() const { return Item(kFindList); }

void frmFindApps::Form_Load() {
  SetWindowTextW(window(), editor_texts::kFindCaption);
  SendMessageW(window(), DM_SETDEFID, IDOK, 0);
  const LPARAM extended = LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES;
  SendMessageW(lvwFound(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  // Finding starts once the window has been painted, and runs off its thread.
  mWork.Attach(window());
  {
    const std::lock_guard<std::mutex> lock(mWork.shared()->mutex);
    mWork.shared()->requests.push_back({mstrNames, mstrPaths});
  }
  mWork.Start();
}

void frmFindApps::OnLayout() { winform::LayOutColumns(lvwFound(), kColumns, std::size(kColumns), dpi()); }

void frmFindApps::OnCommand(int id, int) {
  if (id == IDOK) cmdAdd_Click();
  if (id == IDCANCEL) cmdCancel_Click();
}

INT_PTR frmFindApps::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message == FoundMessage()) {
    Run([&] { TakeFound(); });
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const auto& notice = *reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (notice.hdr.idFrom == kFindList && notice.hdr.code == LVN_ITEMCHANGED && (notice.uChanged & LVIF_STATE)) {
      Run([&] { lvwFound_ItemChanged(notice.iItem); });
    }
  }
  return FALSE;
}

void frmFindApps::TakeFound() {
  Finding* finding = mWork.shared();
  if (!finding) return;
  std::vector<editor::FoundRow> found;
  bool finished = false;
  {
    const std::lock_guard<std::mutex> lock(finding->mutex);
    found.swap(finding->found);
    finished = finding->finished;
    finding->told = false;
  }
  for (const editor::FoundRow& row : found) AddRow(row);
  if (finished) SetDlgItemTextW(window(), kFindStatus, editor::FinishedText(mRows.size()).c_str());
}

void frmFindApps::AddRow(const editor::FoundRow& row) {
  const int index = static_cast<int>(mRows.size());
  mRows.push_back(row);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.lParam = index;
  item.pszText = const_cast<wchar_t*>(row.name.c_str());
  if (SendMessageW(lvwFound(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
    mRows.pop_back();
    throw err::AppError(err::kOutOfMemory);
  }
  const std::wstring program = row.path.wstring();
  const std::wstring state = editor::StateText(row);
  const std::wstring* columns[] = {&row.version, &program, &state};
  for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
    LVITEMW sub{};
    sub.iSubItem = i + 1;
    sub.pszText = const_cast<wchar_t*>(columns[i]->c_str());
    SendMessageW(lvwFound(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
  }
  LVITEMW box{};
  box.stateMask = LVIS_STATEIMAGEMASK;
  box.state = row.state == editor::FoundState::kInList ? kNoBox : row.ticked ? kTicked : kUnticked;
  SendMessageW(lvwFound(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&box));
}

void frmFindApps::lvwFound_ItemChanged(int item) {
  if (item < 0 || item >= static_cast<int>(mRows.size())) return;
  if (mRows[static_cast<std::size_t>(item)].state != editor::FoundState::kInList) return;
  const auto state = static_cast<UINT>(SendMessageW(lvwFound(), LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
  if (state == kNoBox) return;
  LVITEMW box{};
  box.stateMask = LVIS_STATEIMAGEMASK;
  box.state = kNoBox;
  SendMessageW(lvwFound(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&box));
}

void frmFindApps::cmdAdd_Click() {
  // The rows keep their order in the list view, which never sorts.
  for (std::size_t i = 0; i < mRows.size(); ++i) {
    const auto state = static_cast<UINT>(SendMessageW(lvwFound(), LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
    mRows[i].ticked = mRows[i].state != editor::FoundState::kInList && state == kTicked;
  }
  mWork.Detach();
  mblnAdd = true;
  Close();
}

void frmFindApps::cmdCancel_Click() {
  // Finding may go on for a while: the window closes at once and the thread ends on its own.
  mWork.Detach();
  Close();
}
