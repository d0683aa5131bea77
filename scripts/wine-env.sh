# Wine environment for running and testing the Win32 programs.  Source it:
#   . scripts/wine-env.sh && wine_prefix_ready && xvfb-run -a wine app.exe
# Sourced, so no `set -e`/`exit` here: errors are reported with `return 1`.
# Every wait on Wine is bounded (wine_run_bounded, wine_wait_bounded, wine_run_and_wait below):
# what is still running at the limit is ended by its pid or by this WINEPREFIX alone, with a line
# on stderr that starts with "wine-env:".

_wine_env_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The screen's DPI (VARNOCK_DPI, 96 unless set). Wine reads it when the prefix's wineserver starts,
# so each DPI has a prefix of its own: build/wineprefix at 96, build/wineprefix-144 at 144.
export VARNOCK_DPI="${VARNOCK_DPI:-96}"
if [[ $VARNOCK_DPI == 96 ]]; then
  export WINEPREFIX="${WINEPREFIX:-$_wine_env_repo/build/wineprefix}"
else
  export WINEPREFIX="${WINEPREFIX:-$_wine_env_repo/build/wineprefix-$VARNOCK_DPI}"
fi
export WINEARCH=win64                    # Debian ships wine64 only (no wine32)
export WINEDEBUG=-all                    # no fixme/err noise, no "wine32 is missing" hint
export WINEDLLOVERRIDES="mscoree,mshtml=" # never offer to install Mono / Gecko
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 # Wine derives the ANSI code page (932) from this

# Bump when the settings below change: the stamp then no longer matches and
# wine_prefix_ready redoes the setup on the existing prefix.
WINE_ENV_VERSION=3

# Japanese Windows UI font names -> IPA fonts (fonts-ipafont*).
_wine_env_fonts=(
  "MS Gothic=IPAGothic"        "ＭＳ ゴシック=IPAGothic"
  "MS PGothic=IPAPGothic"      "ＭＳ Ｐゴシック=IPAPGothic"
  "MS UI Gothic=IPAPGothic"    "Tahoma=IPAPGothic"
  "MS Shell Dlg=IPAPGothic"    "MS Shell Dlg 2=IPAPGothic"
  "MS Mincho=IPAMincho"        "ＭＳ 明朝=IPAMincho"
  "MS PMincho=IPAPMincho"      "ＭＳ Ｐ明朝=IPAPMincho"
)

# Bounded waits.  Each ends only what it waits for: a command by its pid (timeout), the processes
# of a prefix by that WINEPREFIX (`wineserver -k` ends the processes of its own prefix alone).
# Every bound that is reached says so in one line on stderr, "wine-env: ... still running after".

# A short name for a command line in those lines: "wine driver.exe", "xvfb-run".
_wine_env_what() {
  if [[ $1 == wine && $# -gt 1 ]]; then
    local program=${2//\\//}
    echo "wine ${program##*/}"
  else
    echo "${1##*/}"
  fi
}

# Runs COMMAND... (a program under wine, or a command that runs one) for at most LIMIT seconds:
# then it is sent SIGTERM, and SIGKILL 10 s later if it is still there, with a line saying so,
# and the status is 124; its own status otherwise.  --quiet drops the command's stderr (never the
# line).  Ctrl-C still reaches the command (--foreground); what the command started in a prefix
# is left to wine_wait_bounded or wine_end_prefix.
wine_run_bounded() {
  local quiet=0 status=0 start=$SECONDS
  if [[ $1 == --quiet ]]; then
    quiet=1
    shift
  fi
  local limit=$1
  shift
  if ((quiet)); then
    timeout --foreground -k 10 "$limit" "$@" 2>/dev/null || status=$?
  else
    timeout --foreground -k 10 "$limit" "$@" || status=$?
  fi
  # 137: it ignored SIGTERM and had to be killed (told from a kill by anyone else by the time).
  if ((status == 124 || (status == 137 && SECONDS - start >= limit))); then
    echo "wine-env: $(_wine_env_what "$@") still running after $limit s; ended it" >&2
    return 124
  fi
  return "$status"
}

# Ends every process of this WINEPREFIX and its wineserver, and waits at most 30 s for them.
wine_end_prefix() {
  if [[ -z ${WINEPREFIX:-} ]]; then
    echo "wine-env: no WINEPREFIX set: nothing ended" >&2
    return 1
  fi
  WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true # fails when no server runs: nothing to end
  if ! WINEPREFIX=$WINEPREFIX timeout --foreground 30 wineserver -w; then
    echo "wine-env: processes of $WINEPREFIX still running 30 s after they were ended" >&2
    return 1
  fi
}

# Waits at most LIMIT seconds for every process of this WINEPREFIX to end (`wineserver -w`, which
# without a bound waits for ever on a program left showing a message).  What is still running
# then is ended by the prefix, with a line saying so, and the status is 1.
wine_wait_bounded() {
  local limit=$1 status=0
  if [[ -z ${WINEPREFIX:-} ]]; then
    echo "wine-env: no WINEPREFIX set: nothing to wait for" >&2
    return 1
  fi
  WINEPREFIX=$WINEPREFIX timeout --foreground "$limit" wineserver -w || status=$?
  ((status == 0)) && return 0
  if ((status == 124)); then
    echo "wine-env: processes of $WINEPREFIX still running after $limit s; ending them" >&2
  else
    echo "wine-env: waiting for the processes of $WINEPREFIX failed ($status); ending them" >&2
  fi
  wine_end_prefix
  return 1
}

# Runs PROGRAM ARGS... under wine for at most RUN_LIMIT seconds, then waits at most WAIT_LIMIT
# seconds for what it left running in the prefix (the system's processes end a few seconds after
# the last program); a program that had to be ended takes the prefix's processes with it at once.
# The status is the program's (124 when it had to be ended), or 1 when it succeeded but the
# prefix's processes had to be ended.
wine_run_and_wait() {
  local run_limit=$1 wait_limit=$2 status=0
  shift 2
  wine_run_bounded "$run_limit" wine "$@" || status=$?
  if ((status == 124)); then
    echo "wine-env: ending the processes of $WINEPREFIX" >&2
    wine_end_prefix || true
  elif ! wine_wait_bounded "$wait_limit" && ((status == 0)); then
    status=1
  fi
  return "$status"
}

# The Windows path of a Unix path, bounded like any other program.
wine_path_w() { wine_run_bounded --quiet 60 wine winepath -w "$1" | tr -d '\r'; }

# Creates/updates the prefix once; fast (stamp check only) afterwards.
wine_prefix_ready() {
  local stamp="$WINEPREFIX/.wine-env-ready"
  local want="v$WINE_ENV_VERSION $(wine --version) $LANG ${VARNOCK_DPI}dpi"
  [[ -f $stamp && $(<"$stamp") == "$want" ]] && return 0

  echo "wine-env: preparing $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX" || return 1
  # Works without DISPLAY (no window is needed) and under xvfb-run alike.
  # stderr: drop the harmless "syswow64\rundll32.exe: c0000135" (no wine32).
  # A new prefix takes about 15 s to boot here; 300 s is the bound on the loaded machine.
  wine_run_bounded --quiet 300 wine wineboot --init || { echo "wine-env: wineboot failed" >&2; return 1; }
  wine_wait_bounded 120 || return 1
  # Debian's wine looks for its own fonts (fonts-wine: Marlett for caption
  # buttons, Tahoma, jvgasys.fon...) in /usr/share/fonts, not where the package
  # puts them; the prefix's Fonts folder is always searched, so copy them there.
  cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null \
    || echo "wine-env: warning: fonts-wine missing (caption buttons draw as letters)" >&2

  # One .reg import for all settings.  "Version 5.00" files are read as UTF-16LE
  # with BOM, so the Japanese names survive whatever the ANSI code page is.
  # Substitutes are Windows' mechanism; Wine's Replacements additionally make
  # the names real families (EnumFontFamilies / GetTextFace see "MS Gothic").
  local reg="$WINEPREFIX/drive_c/wine-env.reg" pair key
  {
    printf 'Windows Registry Editor Version 5.00\r\n'
    for key in 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
               'HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements'; do
      printf '\r\n[%s]\r\n' "$key"
      for pair in "${_wine_env_fonts[@]}"; do
        printf '"%s"="%s"\r\n' "${pair%%=*}" "${pair#*=}"
      done
    done
    # Xvfb has no window manager: let Wine draw title bars/frames itself, so
    # screenshots and window geometry look like Windows.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$VARNOCK_DPI"
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg" || return 1
  wine_run_bounded --quiet 120 wine reg import 'C:\wine-env.reg' >/dev/null \
    || { echo "wine-env: registry import failed" >&2; return 1; }
  rm -f "$reg"

  # The whole point of the Japanese locale: fail loudly if ACP is not 932.
  local acp
  acp=$(wine_run_bounded --quiet 120 wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP \
        | tr -d '\r' | awk '$1 == "ACP" { print $3 }') || true
  wine_wait_bounded 120 || return 1
  if [[ $acp != 932 ]]; then
    echo "wine-env: ERROR: Windows ANSI code page is '${acp:-?}', expected 932 (LANG=$LANG)" >&2
    return 1
  fi
  echo "$want" >"$stamp"
}
