// The window of installed drawing applications: what finding turns up, row by row as it comes,
// with a box to tick for each program to add to the application list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "found_rows.h"
#include "win_form.h"
#include "window_work.h"

class frmFindApps : private winform::Dialog {
 public:
  // Finds against the application list as the list window holds it.
  frmFindApps(HWND owner, std::vector<std::wstring> names, std::vector<std::wstring> paths);
  ~frmFindApps();

  // Shows the window modally over its owner. True when closed with 一覧に追加: `rRows` then holds
  // every row found, each with its tick.
  bool Show(std::vector<editor::FoundRow>& rRows);

  struct Finding;  // what the window shares with the thread that finds

 private:
  void Form_Load() override;
  void OnCommand(int id, int code) override;
  void OnClose() override { cmdCancel_Click(); }
  void OnLayout() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void cmdAdd_Click();
  void cmdCancel_Click();
  // Rows found since the last call, and the end of finding.
  void TakeFound();
  void AddRow(const editor::FoundRow& row);
  // A program of the list has no box to tick; one that gets one (a click, the space key) loses it.
  void lvwFound_ItemChanged(int item);

  HWND lvwFound() const;

  HWND owner_;
  std::vector<std::wstring> mstrNames;
  std::vector<std::wstring> mstrPaths;
  std::vector<editor::FoundRow> mRows;
  bool mblnAdd = false;
  winform::WindowWork<Finding> mWork;
};
