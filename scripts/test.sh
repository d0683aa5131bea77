#!/usr/bin/env bash
# Runs every test: installs what a fresh Debian machine lacks, builds the portable core natively and
# the Windows programs with mingw-w64, then runs the unit tests and the tests of the real programs
# under Wine through CTest, whose summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $(id -u) -eq 0 ]]; then
  scripts/deps.sh
else
  sudo scripts/deps.sh
fi

if [[ ! -f ../shared/corpus/README.md ]]; then
  echo "test.sh: ../shared/corpus (the team's real EPS files) is not beside this clone: the tests of" \
       "real files say that they are skipped, and the fuzzers start from generated files"
fi

# Every C++ file as .clang-format says.
scripts/check-format.sh

cmake --preset windows
cmake --build --preset windows
scripts/package.sh --bin build/windows/bin  # the installer and the zip, tested under Wine below
cmake --preset native
cmake --build --preset native
# The layers link and include as docs/architecture.md says.
scripts/check-layers.sh
# The benchmarks still build and run: a short run only (the figures come from scripts/bench.sh).
scripts/bench.sh --quick
ctest --preset native -j2

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer (clang), then each
# fuzz target for a bounded time (VARNOCK_FUZZ_SECONDS, 60 by default).
cmake --preset sanitize -DVARNOCK_FUZZ_SECONDS="${VARNOCK_FUZZ_SECONDS:-60}"
cmake --build --preset sanitize
ctest --preset sanitize -j2
