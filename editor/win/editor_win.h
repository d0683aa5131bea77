// The control numbers of the list editor's windows, which the tests look for too.
#pragma once

namespace editor_ids {

// frmQuelby
inline constexpr int kQuelbyList = 101;
inline constexpr int kQuelbyEdit = 102;
inline constexpr int kQuelbyAdd = 103;
inline constexpr int kQuelbyDelete = 104;
inline constexpr int kQuelbyEnd = 105;
inline constexpr int kQuelbyLinks = 106;
inline constexpr int kQuelbyFind = 107;
// frmEdit; its cancel button is IDCANCEL, so that Esc presses it
inline constexpr int kEditLabel1 = 201;
inline constexpr int kEditName = 202;
inline constexpr int kEditLabel2 = 203;
inline constexpr int kEditPath = 204;
inline constexpr int kEditFile = 205;
inline constexpr int kEditOk = 206;
// frmLinks; its OK and cancel buttons are IDOK and IDCANCEL, so that Enter and Esc press them
inline constexpr int kLinksList = 301;
inline constexpr int kLinksChange = 302;
inline constexpr int kLinksForget = 303;
inline constexpr int kLinksTest = 304;
// frmLinkEdit; OK and cancel are IDOK and IDCANCEL
inline constexpr int kLinkEditLabel1 = 401;
inline constexpr int kLinkEditCreator = 402;
inline constexpr int kLinkEditLabel2 = 403;
inline constexpr int kLinkEditVersion = 404;
inline constexpr int kLinkEditLabel3 = 405;
inline constexpr int kLinkEditProgram = 406;
// frmFindApps; its add and cancel buttons are IDOK and IDCANCEL
inline constexpr int kFindList = 501;
inline constexpr int kFindStatus = 502;

}  // namespace editor_ids
