// Which programs of a list are shown as gone (the chooser's and the list window's marked rows).
#pragma once

#include <vector>

#include "file_io.h"

namespace programs {

// For each program path in turn, whether it fails the launcher's existence test: nothing there, a
// folder, a device, or no path at all. Such a program is still offered; starting it gives the
// launcher's not-found message.
std::vector<bool> Gone(const std::vector<fileio::FilePath>& programPaths);

}  // namespace programs
