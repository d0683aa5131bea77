#!/usr/bin/env bash
# Runs a suite of the test driver under Wine:  scripts/wine-test.sh BIN_DIR GTEST_FILTER [CORPUS_DIR]
# Starts its own virtual display when none is set, so CTest can run it as it is.
set -euo pipefail
if [[ -z ${DISPLAY:-} ]]; then
  # A screen that holds the largest window at the DPI of the run (VARNOCK_DPI, see wine-env.sh).
  dpi=${VARNOCK_DPI:-96}
  exec xvfb-run -a -s "-screen 0 $((1280 * dpi / 96))x$((1024 * dpi / 96))x24" "$0" "$@"
fi
bin=$1
filter=$2
corpus=${3:-}
. "$(dirname "$0")/wine-env.sh"
wine_prefix_ready
if [[ -n $corpus ]]; then
  VARNOCK_CORPUS=$(wine_path_w "$corpus")
  export VARNOCK_CORPUS
fi
cd "$bin"
# Bounded below CTest's TIMEOUT of 900 s, so that this script ends the suite and its prefix itself
# and says so: the driver at most 780 s, then at most 60 s for what it left running (normally the
# system's processes, gone within seconds); a launcher left showing a message is ended then.
status=0
wine_run_and_wait 780 60 driver.exe --gtest_filter="$filter" --gtest_color=no || status=$?
exit "$status"
