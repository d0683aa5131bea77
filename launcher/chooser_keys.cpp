#include "chooser_keys.h"

namespace launcher {

int ChooserDigit(unsigned virtualKey, bool ctrlDown, bool altDown) {
  if (ctrlDown || altDown) return 0;
  if (virtualKey >= kKeyDigit1 && virtualKey <= kKeyDigit9) return static_cast<int>(virtualKey - kKeyDigit1) + 1;
  if (virtualKey >= kKeyNumpad1 && virtualKey <= kKeyNumpad9) return static_cast<int>(virtualKey - kKeyNumpad1) + 1;
  return 0;
}

int RowOfDigit(int digit, int rowCount) { return digit >= 1 && digit <= rowCount ? digit - 1 : -1; }

}  // namespace launcher
