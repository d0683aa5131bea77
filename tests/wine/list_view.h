// Reading and changing a list view of another process: its messages that carry a pointer need
// memory in that process, since the system copies no such pointer from one process to another.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "win_handle.h"

namespace drive {

// Memory in the process of a window, for the list view's messages that carry a pointer: the
// system copies no such pointer from one process to another.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, std::size_t size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (process_) address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  template <typename T>
  void Put(const T& value) {
    WriteProcessMemory(process_.get(), address_, &value, sizeof value, nullptr);
  }
  template <typename T>
  T Get() const {
    T value{};
    ReadProcessMemory(process_.get(), address_, &value, sizeof value, nullptr);
    return value;
  }
  std::wstring Text(std::size_t offset, std::size_t length) const {
    std::wstring text(length, L'\0');
    ReadProcessMemory(process_.get(), at(offset), text.data(), length * sizeof(wchar_t), nullptr);
    return text;
  }

 private:
  winhandle::KernelHandle process_;
  void* address_ = nullptr;
};

inline constexpr int kTextChars = 1100;

inline std::wstring CellText(HWND list, int row, int column) {
  RemoteMemory memory(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = kTextChars;
  item.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(LVITEMW)));
  memory.Put(item);
  const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory.address());
  return memory.Text(sizeof(LVITEMW), static_cast<std::size_t>(length));
}

// Each row's texts, column by column, separated by '|'.
inline std::vector<std::wstring> RowTexts(HWND list, int columns = 4) {
  std::vector<std::wstring> rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::wstring text = CellText(list, row, 0);
    for (int column = 1; column < columns; ++column) text += L"|" + CellText(list, row, column);
    rows.push_back(text);
  }
  return rows;
}

// The state image of a row: 0 without a check box, 1 unticked, 2 ticked.
inline int CheckState(HWND list, int row) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12);
}

inline void SetCheckState(HWND list, int row, int state) {
  RemoteMemory memory(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(state);
  memory.Put(item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.address());
}

}  // namespace drive
