#!/usr/bin/env bash
# Builds the launcher and runs it under Wine on a sample .EPS file, as a double-click would, with a
# sample link.ini and name.ini; a small recording program stands in for the drawing application
# and shows the command line it was started with.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
if [[ $(id -u) -eq 0 ]]; then scripts/deps.sh; else sudo scripts/deps.sh; fi
cmake --preset windows >/dev/null
cmake --build --preset windows

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/Program Files/ExampleDraw" "$demo/work"
cp build/windows/bin/Varnock.exe "$demo/"
cp build/windows/bin/recorder.exe "$demo/Program Files/ExampleDraw/draw.exe"

. scripts/wine-env.sh
wine_prefix_ready
win() { wine_path_w "$1"; }
draw=$(win "$demo/Program Files/ExampleDraw/draw.exe")
file=$(win "$demo/work/logo.eps")

printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n%%%%EndComments\r\n' \
  >"$demo/work/logo.eps"
printf '[main]\r\nname1=ExampleDraw 10\r\npath1=%s\r\n' "$draw" >"$demo/name.ini"
printf '[main]\r\nQuelby=1\r\nlink1="Adobe Illustrator(R) 10.0"\r\npath1="%s"\r\nCreatorVersion1="10.0"\r\n' \
  "$draw" >"$demo/link.ini"

echo "== link.ini"; tr -d '\r' <"$demo/link.ini"
echo "== running: Varnock.exe \"$file\""
# The launcher starts the program and ends within seconds: at most 120 s for it, then at most 60 s
# for what it left running in the prefix (wine_run_and_wait, scripts/wine-env.sh), all on the
# virtual display; a launcher left showing a message is ended then, and the demo fails.
xvfb-run -a bash -c '. scripts/wine-env.sh && wine_run_and_wait 120 60 "$@"' demo "$demo/Varnock.exe" "$file"
echo "== the drawing application was started with:"
cat "$demo/Program Files/ExampleDraw/record.txt"
