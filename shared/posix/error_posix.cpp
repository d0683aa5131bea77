// Native stand-ins for what the Windows build takes from the system.
#include "error.h"

namespace err {

std::wstring SystemErrorDescription(std::uint32_t code) { return UnknownSystemErrorText(code); }

}  // namespace err
