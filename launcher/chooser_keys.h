// Which row of the selection dialog a key press chooses: the digits 1 to 9 pick the first nine
// rows at once.
#pragma once

namespace launcher {

// Virtual-key codes as Windows numbers them: the digit keys of the main keyboard and of the
// numeric keypad.
inline constexpr unsigned kKeyDigit1 = 0x31;
inline constexpr unsigned kKeyDigit9 = 0x39;
inline constexpr unsigned kKeyNumpad1 = 0x61;
inline constexpr unsigned kKeyNumpad9 = 0x69;

// The digit (1 to 9) that a key press means in the dialog, or 0 for any other key. A digit with
// Ctrl or Alt held is a shortcut of something else; Shift does not count, since the user may
// still be holding the Shift that brought the dialog up.
int ChooserDigit(unsigned virtualKey, bool ctrlDown, bool altDown);

// The row (from 0) that a digit chooses in a list of `rowCount` rows, or -1 when the list has no
// such row.
int RowOfDigit(int digit, int rowCount);

}  // namespace launcher
