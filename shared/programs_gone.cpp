#include "programs_gone.h"

namespace programs {

std::vector<bool> Gone(const std::vector<fileio::FilePath>& programPaths) {
  std::vector<bool> gone;
  gone.reserve(programPaths.size());
  for (const fileio::FilePath& path : programPaths) gone.push_back(!fileio::IsOrdinaryFile(path));
  return gone;
}

}  // namespace programs
