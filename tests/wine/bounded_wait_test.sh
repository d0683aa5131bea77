#!/usr/bin/env bash
# The bounded waits of scripts/wine-env.sh, on launchers left showing a message (for a file that is
# not there), in two Wine prefixes of the test's own (copies of the prepared one):
#   tests/wine/bounded_wait_test.sh BIN_DIR
# - the wait on the first prefix ends at its limit with its line and a failing status, and ends
#   that prefix's launcher; the launcher of the second prefix and a process outside Wine go on;
# - a program that runs past its limit is ended with its line, and its prefix with it;
# - a program that ends by itself passes with its own status and no line.
# About half a minute. Starts its own virtual display when none is set, so CTest can run it as it is.
set -euo pipefail
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
repo=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd)
. "$repo/scripts/wine-env.sh"
wine_prefix_ready
# The prepared prefix is copied whole: its wineserver, which stays a few seconds after the last
# program of the test before, must have written its registry and gone, or a copy can be torn.
wine_wait_bounded 120 || true
work=$repo/build/bounded-wait-test
rm -rf "$work"
mkdir -p "$work"
a=$work/prefix-a b=$work/prefix-b
cp -a "$WINEPREFIX" "$a"
cp -a "$WINEPREFIX" "$b"
cp "$bin/recorder.exe" "$work/"

failures=0
fail() {
  echo "bounded_wait_test: FAIL: $*" >&2
  failures=$((failures + 1))
}
# Whether process $1 is running (a child that has ended but is not yet reaped counts as ended).
alive() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]]
}
# Whether the wineserver of prefix $1 is running.
server_running() { ! WINEPREFIX=$1 timeout 1 wineserver -w; }

# What the test started, ended whatever happens: by pid, and by its own two prefixes.
outsider=""
cleanup() {
  [[ -z $outsider ]] || kill "$outsider" 2>/dev/null || true
  WINEPREFIX=$a wine_end_prefix || true
  WINEPREFIX=$b wine_end_prefix || true
}
trap cleanup EXIT

missing='C:\no such file.eps'
# The processes whose message windows are on the screen: X windows titled as the launcher.
shown=""
look() {
  shown=$(xwininfo -root -tree | awk '/"Varnock": \("varnock.exe"/ { print $1 }' |
    while read -r id; do xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{ print $3 }'; done | sort -n | xargs)
}
# Waits at most a minute until each of the processes given shows its message.
wait_shown() {
  local pid missing_one
  for _ in $(seq 1 600); do
    look
    missing_one=0
    for pid in "$@"; do [[ " $shown " == *" $pid "* ]] || missing_one=1; done
    ((missing_one == 0)) && return 0
    sleep 0.1
  done
  return 1
}
# One prefix after the other: each new prefix starts its own wineserver and desktop first.
WINEPREFIX=$a wine "$bin/Varnock.exe" "$missing" </dev/null &
launcher_a=$!
wait_shown "$launcher_a" || true
WINEPREFIX=$b wine "$bin/Varnock.exe" "$missing" </dev/null &
launcher_b=$!
sleep 600 &
outsider=$!
wait_shown "$launcher_a" "$launcher_b" ||
  fail "the launchers $launcher_a and $launcher_b did not both show their message (windows of: $shown)"

echo "== the wait on prefix a, 5 s, with its launcher showing a message"
start=$SECONDS
status=0
WINEPREFIX=$a wine_wait_bounded 5 2>"$work/wait.err" || status=$?
elapsed=$((SECONDS - start))
cat "$work/wait.err"
((status != 0)) || fail "the wait returned 0"
grep -qxF "wine-env: processes of $a still running after 5 s; ending them" "$work/wait.err" ||
  fail "the wait did not say that it ended the processes"
((elapsed >= 5 && elapsed < 40)) || fail "the wait took $elapsed s with a limit of 5 s"
! alive "$launcher_a" || fail "the launcher of prefix a is still running"
! server_running "$a" || fail "the wineserver of prefix a is still running"
alive "$launcher_b" || fail "the launcher of prefix b was ended"
server_running "$b" || fail "the wineserver of prefix b was ended"
alive "$outsider" || fail "a process outside Wine was ended"

echo "== a launcher showing a message run in prefix a with a limit of 5 s"
start=$SECONDS
status=0
WINEPREFIX=$a wine_run_and_wait 5 60 "$bin/Varnock.exe" "$missing" 2>"$work/run.err" </dev/null || status=$?
elapsed=$((SECONDS - start))
cat "$work/run.err"
((status == 124)) || fail "the run returned $status, not 124"
grep -qxF "wine-env: wine Varnock.exe still running after 5 s; ended it" "$work/run.err" ||
  fail "the run did not say that it ended the launcher"
grep -qxF "wine-env: ending the processes of $a" "$work/run.err" ||
  fail "the run did not say that it ended the prefix"
((elapsed >= 5 && elapsed < 50)) || fail "the run took $elapsed s with a limit of 5 s"
! server_running "$a" || fail "the wineserver of prefix a is still running"
alive "$launcher_b" || fail "the launcher of prefix b was ended"
alive "$outsider" || fail "a process outside Wine was ended"

echo "== programs that end by themselves in prefix a"
status=0
WINEPREFIX=$a wine_run_and_wait 120 60 "$work/recorder.exe" bounded 2>"$work/done.err" </dev/null || status=$?
cat "$work/done.err"
((status == 0)) || fail "the recorder's run returned $status"
grep -q 'bounded' "$work/record.txt" 2>/dev/null || fail "the recorder did not run"
status=0
WINEPREFIX=$a wine_run_and_wait 120 60 cmd /c exit 3 2>>"$work/done.err" </dev/null || status=$?
((status == 3)) || fail "cmd /c exit 3 returned $status"
! grep -q 'wine-env:' "$work/done.err" || fail "a program that ended by itself was reported"
alive "$launcher_b" || fail "the launcher of prefix b was ended"

# The launcher of prefix b is ended by its own prefix, the process outside by its pid.
WINEPREFIX=$b wine_end_prefix
! alive "$launcher_b" || fail "the launcher of prefix b outlived its prefix"
kill "$outsider"
outsider=""
if ((failures)); then
  echo "bounded_wait_test: $failures checks failed" >&2
  exit 1
fi
rm -rf "$work"
echo "bounded_wait_test: every check passed"
