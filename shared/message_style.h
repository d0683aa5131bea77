// The styles of the programs' message boxes: the numbers that the hosts hand to MessageBoxW as they
// stand and that the tests' stand-in hosts record.
#pragma once

namespace messagestyle {

inline constexpr int kOkOnly = 0;                // MB_OK
inline constexpr int kYesNoCancelQuestion = 35;  // MB_YESNOCANCEL | MB_ICONQUESTION
inline constexpr int kExclamation = 48;          // MB_OK | MB_ICONEXCLAMATION

}  // namespace messagestyle
