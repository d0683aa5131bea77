# Wine environment for running and testing the Win32 programs.  Source it:
#   . scripts/wine-env.sh && wine_prefix_ready && xvfb-run -a wine app.exe
# Sourced, so no `set -e`/`exit` here: errors are reported with `return 1`.

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

# Creates/updates the prefix once; fast (stamp check only) afterwards.
wine_prefix_ready() {
  local stamp="$WINEPREFIX/.wine-env-ready"
  local want="v$WINE_ENV_VERSION $(wine --version) $LANG ${VARNOCK_DPI}dpi"
  [[ -f $stamp && $(<"$stamp") == "$want" ]] && return 0

  echo "wine-env: preparing $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX" || return 1
  # Works without DISPLAY (no window is needed) and under xvfb-run alike.
  # stderr: drop the harmless "syswow64\rundll32.exe: c0000135" (no wine32).
  wine wineboot --init 2>/dev/null || { echo "wine-env: wineboot failed" >&2; return 1; }
  wineserver -w
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
  wine reg import 'C:\wine-env.reg' >/dev/null 2>&1 \
    || { echo "wine-env: registry import failed" >&2; return 1; }
  rm -f "$reg"

  # The whole point of the Japanese locale: fail loudly if ACP is not 932.
  local acp
  acp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null \
        | tr -d '\r' | awk '$1 == "ACP" { print $3 }') || true
  wineserver -w
  if [[ $acp != 932 ]]; then
    echo "wine-env: ERROR: Windows ANSI code page is '${acp:-?}', expected 932 (LANG=$LANG)" >&2
    return 1
  fi
  echo "$want" >"$stamp"
}
