#!/usr/bin/env bash
# Takes a picture of each window of the two programs under Wine, for docs/.
# Needs a Windows build (cmake --build --preset windows).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
. "$repo/scripts/wine-env.sh"
wine_prefix_ready
out=$repo/docs
work=$repo/build/screenshots
rm -rf "$work"
mkdir -p "$work/Apps" "$out"
cp "$repo/build/windows/bin/Varnock.exe" "$repo/build/windows/bin/recorder.exe" "$work/"
[[ -f $repo/build/windows/bin/Quelby.exe ]] && cp "$repo/build/windows/bin/Quelby.exe" "$work/"
cp "$repo/build/windows/bin/recorder.exe" "$work/Apps/draw.exe"
win() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
draw=$(win "$work/Apps/draw.exe")
printf '[main]\r\nQuelby=1\r\n' >"$work/link.ini"
printf '[main]\r\nname1=Adobe Illustrator 10\r\npath1=%s\r\nname2=Adobe Illustrator CS6\r\npath2=%s\r\nname3=%s\r\npath3=%s\r\n' \
  "$draw" "$draw" "$(printf '\x83\x43\x83\x89\x83\x58\x83\x67\x83\x8C\x81\x5B\x83\x5E 8.0')" "$draw" >"$work/name.ini"
printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n' >"$work/logo.eps"
python3 -c "import sys; open(sys.argv[1],'wb').write((b'x'*80+b'\n')*500000+b'%!PS-Adobe\r\n')" "$work/large file.eps"

# Waits for the X window titled $1 and writes its picture to docs/$2.
shoot() {
  local id=""
  for _ in $(seq 1 200); do
    id=$(xwininfo -root -tree | grep -F "\"$1\": (" | awk '{ print $1; exit }' || true)
    [[ -n $id ]] && break
    sleep 0.05
  done
  [[ -n $id ]] || { echo "screenshots: no window \"$1\"" >&2; return 1; }
  sleep 0.5
  import -window "$id" "$out/$2"
  echo "docs/$2"
}

wine "$work/Varnock.exe" "$(win "$work/logo.eps")" & shoot "Varnock 3.0" select-dialog.png; wineserver -k
wine "$work/Varnock.exe" "$(win "$work/large file.eps")" &
for _ in $(seq 1 100); do  # the notice shows only while the scan runs: stop the launcher to take it
  pid=$(pgrep -f 'Varnock.exe' | head -n 1 || true)
  xwininfo -root -tree | grep -q '"Varnock": ("varnock.exe"' && { kill -STOP $pid; break; }
  sleep 0.01
done
shoot "Varnock" wait-window.png; kill -CONT $pid || true; wineserver -k
wine "$work/Varnock.exe" & shoot "Varnockのバージョン情報" about-window.png; wineserver -k
if [[ -f $work/Quelby.exe ]]; then

  wine "$work/Quelby.exe" & shoot "起動リストの編集" list-window.png
  # Opens the entry dialog for the first row: select it, then press 編集(&E), with the mouse.
  read -r x y < <(xwininfo -id "$(xwininfo -root -tree | grep -F '"起動リストの編集": (' | awk '{ print $1; exit }')" |
    awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
  xdotool mousemove $((x + 60)) $((y + 55)) click 1 sleep 0.3 mousemove $((x + 375)) $((y + 645)) click 1
  shoot "項目の編集" entry-dialog.png; wineserver -k
fi
wineserver -w
