// The control numbers of the list editor's windows, which the tests look for too.
#pragma once

namespace editor_ids {

// frmQuelby
inline constexpr int kQuelbyList = 101;
inline constexpr int kQuelbyEdit = 102;
inline constexpr int kQuelbyAdd = 103;
inline constexpr int kQuelbyDelete = 104;
inline constexpr int kQuelbyEnd = 105;
// frmEdit; its cancel button is IDCANCEL, so that Esc presses it
inline constexpr int kEditLabel1 = 201;
inline constexpr int kEditName = 202;
inline constexpr int kEditLabel2 = 203;
inline constexpr int kEditPath = 204;
inline constexpr int kEditFile = 205;
inline constexpr int kEditOk = 206;

}  // namespace editor_ids
