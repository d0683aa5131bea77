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
win() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
draw=$(win "$demo/Program Files/ExampleDraw/draw.exe")
file=$(win "$demo/work/logo.eps")

printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n%%%%EndComments\r\n' \
  >"$demo/work/logo.eps"
printf '[main]\r\nname1=ExampleDraw 10\r\npath1=%s\r\n' "$draw" >"$demo/name.ini"
printf '[main]\r\nQuelby=1\r\nlink1="Adobe Illustrator(R) 10.0"\r\npath1="%s"\r\nCreatorVersion1="10.0"\r\n' \
  "$draw" >"$demo/link.ini"

echo "== link.ini"; tr -d '\r' <"$demo/link.ini"
echo "== running: Varnock.exe \"$file\""
xvfb-run -a wine "$demo/Varnock.exe" "$file"
wineserver -w
echo "== the drawing application was started with:"
cat "$demo/Program Files/ExampleDraw/record.txt"
