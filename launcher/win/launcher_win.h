// The control numbers of the launcher's windows, which the tests look for too.
#pragma once

namespace launcher_ids {

// frmSelect
inline constexpr int kSelectLabel1 = 101;
inline constexpr int kSelectVersionString = 102;
inline constexpr int kSelectLabel2 = 103;
inline constexpr int kSelectCreatorVersion = 104;
inline constexpr int kSelectPrompt = 105;
inline constexpr int kSelectNames = 106;
inline constexpr int kSelectAlways = 107;
// frmWait
inline constexpr int kWaitLabel1 = 201;
inline constexpr int kWaitFile = 202;
// frmDummy
inline constexpr int kDummyIcon = 301;
inline constexpr int kDummyTitle = 302;
inline constexpr int kDummyVersion = 303;
inline constexpr int kDummyDescription = 304;
inline constexpr int kDummyText1 = 305;
inline constexpr int kDummySysInfo = 306;

}  // namespace launcher_ids
