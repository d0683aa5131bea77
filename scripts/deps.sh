#!/usr/bin/env bash
# Install everything the build and tests need on Debian bookworm (run as root).
# Idempotent: apt is only touched when a package is missing, so a re-run is fast.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

pkgs=(
  cmake g++ libgtest-dev libbenchmark-dev                                # native build + unit tests
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev   # Win32 cross build
  wine wine64                                                           # run the .exe files (64-bit only)
  fonts-wine                                                            # Marlett etc.: caption buttons draw as glyphs, not "r"
  xvfb xauth x11-utils imagemagick xdotool                              # headless GUI + screenshots
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho locales       # Japanese UI text
  wixl msitools python3                                                 # installer and zip (scripts/package.sh)
  clang libclang-rt-dev                                                 # libFuzzer, ASan, UBSan runtimes
  clang-format                                                          # the format check (scripts/check-format.sh)
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "deps.sh: installing ${missing[*]}"
  apt-get update -q
  # Recommends are not needed: wine64 runs console and GUI programs without them
  # (its "wine32 is missing" hint is harmless; we only build 64-bit programs).
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its code page (932) from LANG; glibc needs the locale too, or
# every shell warns "setlocale: cannot change locale (ja_JP.UTF-8)".
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "deps.sh: generating ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
echo "deps.sh: all dependencies present"
