#!/usr/bin/env bash
# Takes a picture of each window of the two programs under Wine, at 96 DPI (docs/NAME.png) and at
# 144 DPI (docs/NAME-144.png). Needs a Windows build (cmake --build --preset windows).
#   scripts/screenshots.sh [NAME...]   only the windows named (select-dialog, select-suggestion,
#                                      wait-window, about-window, list-window, entry-dialog,
#                                      links-window, find-window); all without names
# Uses only its own Wine prefixes (build/wineprefix, build/wineprefix-144) and its own virtual
# displays, and stops only the programs it started there.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

if [[ ${1:-} != --at ]]; then
  for dpi in 96 144; do
    env -u WINEPREFIX -u DISPLAY VARNOCK_DPI=$dpi "$0" --at "$dpi" "$@"
  done
  exit 0
fi
dpi=$2
shift 2
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 $((1280 * dpi / 96))x$((1024 * dpi / 96))x24" "$0" --at "$dpi" "$@"
fi
names=("$@")
# Whether the window $1 is to be taken: every window when none is named.
wanted() { ((${#names[@]} == 0)) || [[ " ${names[*]} " == *" $1 "* ]]; }
. "$repo/scripts/wine-env.sh"
wine_prefix_ready
suffix=$([[ $dpi == 96 ]] && echo "" || echo "-$dpi")
out=$repo/docs
work=$repo/build/screenshots
rm -rf "$work"
mkdir -p "$work" "$out"
cp "$repo/build/windows/bin/Varnock.exe" "$repo/build/windows/bin/Quelby.exe" "$work/"

# The drawing applications where they are installed, in the prefix's C:\Program Files: stand-ins
# with their icons (one without an icon), and one that has been uninstalled. The folders made for
# them go again at the end.
drive_c=$WINEPREFIX/drive_c
made=()
for vendor in 'Program Files/Adobe' 'Program Files (x86)/Adobe' 'Program Files (x86)/Macromedia'; do
  [[ -e $drive_c/$vendor ]] || made+=("$drive_c/$vendor")
done
# Whatever ends the script: a launcher held for its picture goes on, the programs of the prefix
# end, the folders made for the stand-ins go.
pid=""
cleanup() {
  [[ -z $pid ]] || kill -CONT "$pid" 2>/dev/null || true
  wine_end_prefix || true
  rm -rf "${made[@]}"
  forget_registrations
}
# What the window of installed drawing applications finds, and what the list window's status line
# reads (Illustrator 2021 as the opener of .eps files, the launcher's entries as the installer
# writes them): registrations made for their pictures, removed again at the end.
registrations=('HKLM\Software\Classes\.ai' 'HKLM\Software\Classes\Screenshot.Illustrator.25'
  'HKCU\Software\Classes\Applications\FHMX.exe'
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot.Illustrator10'
  'HKLM\Software\Classes\.eps' 'HKCU\Software\Classes\Varnock.EpsFile' 'HKCU\Software\Varnock')
forget_registrations() {
  local key
  for key in "${registrations[@]}"; do wine reg delete "$key" /f >/dev/null 2>&1 || true; done
  wine reg delete 'HKCU\Software\RegisteredApplications' /v Varnock /f >/dev/null 2>&1 || true
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot.IllustratorCS6' /f \
    /reg:32 >/dev/null 2>&1 || true
}
trap cleanup EXIT
illustrator_cs6='Program Files/Adobe/Adobe Illustrator CS6 (64 Bit)/Support Files/Contents/Windows/Illustrator.exe'
illustrator_10='Program Files (x86)/Adobe/Illustrator 10/Illustrator.exe'
illustrator_8='Program Files (x86)/Adobe/Illustrator 8.0/Illustrator.exe'
indesign_cs6='Program Files/Adobe/Adobe InDesign CS6/InDesign.exe'
install_program() { mkdir -p "$(dirname "$drive_c/$2")"; cp "$repo/build/windows/bin/$1.exe" "$drive_c/$2"; }
illustrator_2021='Program Files/Adobe/Adobe Illustrator 2021/Support Files/Contents/Windows/Illustrator.exe'
install_program stand_in_pen "$illustrator_cs6"
install_program recorder "$illustrator_8"
install_program stand_in_layout "$indesign_cs6"
dos() { printf 'C:\\%s' "${1//\//\\}"; }
add() { wine reg add "$@" /f >/dev/null; }
win() { wine_path_w "$1"; }
printf '[main]\r\nQuelby=1\r\n' >"$work/link.ini"
{
  printf '[main]\r\n'
  printf 'name1=Adobe Illustrator CS6\r\npath1=%s\r\n' "$(dos "$illustrator_cs6")"
  printf 'name2=Adobe Illustrator 10\r\npath2=%s\r\n' "$(dos "$illustrator_10")"
  printf 'name3=%s\r\npath3=%s\r\n' "$(printf '\x83\x43\x83\x89\x83\x58\x83\x67\x83\x8C\x81\x5B\x83\x5E 8.0')" \
    "$(dos "$illustrator_8")"
  printf 'name4=Adobe InDesign CS6\r\npath4=%s\r\n' "$(dos "$indesign_cs6")"
} >"$work/name.ini"
printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n' >"$work/logo.eps"
python3 -c "import sys; open(sys.argv[1],'wb').write((b'x'*80+b'\n')*500000+b'%!PS-Adobe\r\n')" "$work/large file.eps"

# The X window titled $1 on this display, once it is there.
window_id() {
  local id=""
  for _ in $(seq 1 200); do
    id=$(xwininfo -root -tree | grep -F "\"$1\": (" | awk '{ print $1; exit }' || true)
    [[ -n $id ]] && break
    sleep 0.05
  done
  [[ -n $id ]] || { echo "screenshots: no window \"$1\"" >&2; return 1; }
  echo "$id"
}

# Waits for the X window titled $1 and writes its picture to docs/$2 (with the DPI's suffix).
shoot() {
  local id
  id=$(window_id "$1")
  sleep 0.5
  import -window "$id" "$out/$2$suffix.png"
  echo "docs/$2$suffix.png"
}

# Pixels at this DPI of a length given at 96.
px() { echo $(($1 * dpi / 96)); }

# Ends what this script started: the programs of its own prefix (waiting at most 30 s for them).
stop_programs() { wine_end_prefix; }

# The chooser once the programs' icons have been read (they follow its first painting).
if wanted select-dialog; then
  wine "$work/Varnock.exe" "$(win "$work/logo.eps")" & shoot "Varnock 3.0" select-dialog; stop_programs
fi

# The chooser suggesting the version that made the file (CC 2019 for a file of Illustrator 23), in
# a folder of its own with installed versions that carry version resources in its name.ini, once
# their version resources have been read (they follow its first painting, as the icons do).
if wanted select-suggestion; then
  illustrator_2019='Program Files/Adobe/Adobe Illustrator CC 2019/Support Files/Contents/Windows/Illustrator.exe'
  illustrator_2021='Program Files/Adobe/Adobe Illustrator 2021/Support Files/Contents/Windows/Illustrator.exe'
  freehand='Program Files (x86)/Macromedia/FreeHand MX/FHMX.exe'
  install_program stand_in_ai23 "$illustrator_2019"
  install_program stand_in_ai25 "$illustrator_2021"
  install_program stand_in_freehand "$freehand"
  mkdir -p "$work/suggest"
  cp "$work/Varnock.exe" "$work/link.ini" "$work/suggest/"
  {
    printf '[main]\r\n'
    printf 'name1=Adobe Illustrator CS6\r\npath1=%s\r\n' "$(dos "$illustrator_cs6")"
    printf 'name2=Adobe Illustrator CC 2019\r\npath2=%s\r\n' "$(dos "$illustrator_2019")"
    printf 'name3=Adobe Illustrator 2021\r\npath3=%s\r\n' "$(dos "$illustrator_2021")"
    printf 'name4=FreeHand MX\r\npath4=%s\r\n' "$(dos "$freehand")"
    printf 'name5=Adobe InDesign CS6\r\npath5=%s\r\n' "$(dos "$indesign_cs6")"
  } >"$work/suggest/name.ini"
  printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 17.0\r\n%%%%AI8_CreatorVersion: 23.0.1\r\n' \
    >"$work/suggest/cc 2019.ai"
  wine "$work/suggest/Varnock.exe" "$(win "$work/suggest/cc 2019.ai")" & shoot "Varnock 3.0" select-suggestion
  stop_programs
fi

# The notice shows only while the scan runs, for a moment: the launcher is held (by the process id
# that Wine gives its X window) while the picture is taken; a moment missed is tried again.
if wanted wait-window; then
  pid=""
  for _ in 1 2 3 4 5; do
    wine "$work/Varnock.exe" "$(win "$work/large file.eps")" &
    for _ in $(seq 1 300); do
      id=$(xwininfo -root -tree | grep -F '"Varnock": ("varnock.exe"' | awk '{ print $1; exit }' || true)
      if [[ -n $id ]]; then
        pid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{ print $3 }' || true)
        [[ -n $pid ]] || break  # closed before it could be held: tried again
        sleep 0.03  # the notice draws itself once it is shown
        kill -STOP "$pid"
        xwininfo -id "$id" >/dev/null 2>&1 || { kill -CONT "$pid"; pid=""; }
        break
      fi
      sleep 0.01
    done
    [[ -n $pid ]] && break
    stop_programs
  done
  [[ -n $pid ]] || { echo "screenshots: the wait notice did not show" >&2; exit 1; }
  shoot "Varnock" wait-window; kill -CONT "$pid"; stop_programs
fi

if wanted about-window; then
  wine "$work/Varnock.exe" & shoot "Varnockのバージョン情報" about-window; stop_programs
fi

# The list window as after another program's installer has taken .eps files: its status line
# names Illustrator 2021 and warns.
if wanted list-window || wanted entry-dialog; then
  install_program stand_in_ai25 "$illustrator_2021"
  add 'HKLM\Software\Classes\.eps' /ve /t REG_SZ /d Screenshot.Illustrator.25
  add 'HKLM\Software\Classes\Screenshot.Illustrator.25\shell\open\command' /ve /t REG_SZ \
    /d "\"$(dos "$illustrator_2021")\" \"%1\""
  add 'HKCU\Software\RegisteredApplications' /v Varnock /t REG_SZ /d 'Software\Varnock\Capabilities'
  add 'HKCU\Software\Varnock\Capabilities\FileAssociations' /v .eps /t REG_SZ /d Varnock.EpsFile
  add 'HKCU\Software\Classes\Varnock.EpsFile\shell\open\command' /ve /t REG_SZ \
    /d "\"$(win "$work/Varnock.exe")\" \"%1\""
  wine "$work/Quelby.exe" &
  if wanted list-window; then shoot "起動リストの編集" list-window; fi
  if wanted entry-dialog; then
    # Opens the entry dialog for the first row: select it, then press 編集(&E), with the mouse.
    read -r x y < <(xwininfo -id "$(window_id '起動リストの編集')" |
      awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
    xdotool mousemove $((x + $(px 60))) $((y + $(px 55))) click 1 sleep 0.3 \
      mousemove $((x + $(px 375))) $((y + $(px 674))) click 1
    shoot "項目の編集" entry-dialog
  fi
  stop_programs
  forget_registrations
fi

# The window of remembered choices, over the list window, with the programs of the other pictures:
# one row for every dot release ('*'), one whose program has gone, one whose program is not in the
# list (and has gone too).
if wanted links-window; then
  entry() { printf 'link%s="%s"\r\npath%s="%s"\r\nCreatorVersion%s="%s"\r\n' "$1" "$2" "$1" "$3" "$1" "$4"; }
  {
    printf '[main]\r\nQuelby=1\r\n'
    entry 1 'Adobe Illustrator(R) 10.0' "$(dos "$illustrator_10")" '10.0'
    entry 2 'Adobe Illustrator(R) 16.0' "$(dos "$illustrator_cs6")" '16.0*'
    entry 3 "$(printf '\x83\x43\x83\x89\x83\x58\x83\x67\x83\x8C\x81\x5B\x83\x5E\x81\x5B 7.0')" \
      "$(dos 'Program Files (x86)/Adobe/Illustrator 7.0/Illustrator.exe')" ''
    entry 4 'Adobe InDesign CS6 (8.0)*' "$(dos "$indesign_cs6")" '*'
  } >"$work/link.ini"
  wine "$work/Quelby.exe" &
  read -r x y < <(xwininfo -id "$(window_id '起動リストの編集')" |
    awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
  # 記憶した選択(&M)..., with the mouse.
  xdotool mousemove $((x + $(px 215))) $((y + $(px 674))) click 1
  shoot "記憶した選択" links-window
  stop_programs
fi
# The window of installed drawing applications over the list window: Illustrator 2021 opens .ai,
# FreeHand names .eps among its types, Illustrator CS6 (in the list) has an uninstall entry, and
# Illustrator 10, gone from the list's folder, is installed elsewhere.
if wanted find-window; then
  illustrator_10_new='Program Files (x86)/Adobe/Adobe Illustrator 10.0.3/Illustrator.exe'
  freehand='Program Files (x86)/Macromedia/FreeHand MX/FHMX.exe'
  install_program stand_in_ai25 "$illustrator_2021"
  install_program stand_in_ai10 "$illustrator_10_new"
  install_program stand_in_freehand "$freehand"
  add 'HKLM\Software\Classes\.ai\OpenWithProgids' /v Screenshot.Illustrator.25 /t REG_SZ /d ''
  add 'HKLM\Software\Classes\Screenshot.Illustrator.25\shell\open\command' /ve /t REG_SZ \
    /d "\"$(dos "$illustrator_2021")\" \"%1\""
  add 'HKCU\Software\Classes\Applications\FHMX.exe\SupportedTypes' /v .eps /t REG_SZ /d ''
  add 'HKCU\Software\Classes\Applications\FHMX.exe\shell\open\command' /ve /t REG_SZ \
    /d "\"$(dos "$freehand")\" \"%1\""
  add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot.IllustratorCS6' /reg:32 \
    /v InstallLocation /t REG_SZ /d "$(dos 'Program Files/Adobe/Adobe Illustrator CS6 (64 Bit)')"
  add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot.Illustrator10' /v DisplayIcon \
    /t REG_SZ /d "\"$(dos "$illustrator_10_new")\",0"
  wine "$work/Quelby.exe" &
  read -r x y < <(xwininfo -id "$(window_id '起動リストの編集')" |
    awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
  # ソフトを検出(&F)..., with the mouse; the rows come within a moment.
  xdotool mousemove $((x + $(px 83))) $((y + $(px 674))) click 1
  sleep 2
  shoot "インストールされている描画ソフト" find-window
  stop_programs
  forget_registrations
fi
