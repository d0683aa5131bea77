#!/usr/bin/env bash
# Tests the installer and the portable zip under Wine, in a fresh Wine prefix for each run:
#   scripts/install-test.sh BIN_DIR PACKAGE GTEST_FILTER
# BIN_DIR holds the test driver and the programs the packages were built from (build/windows/bin),
# PACKAGE is the installer of scripts/package.sh (build/package/Varnock-<version>.msi), with the
# portable zip beside it.  It also builds, for the upgrade
# and downgrade tests, a package of the next version with the programs' versions raised, and the
# same package once more.
set -euo pipefail
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)
msi=$2
filter=$3
work=$repo/build/install-tests
mkdir -p "$work"

zip=${msi%.msi}-portable.zip
for package in "$msi" "$zip"; do
  [[ -f $package ]] || { echo "install-test: $package is missing (scripts/package.sh builds it)" >&2; exit 1; }
done
version=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductVersion" { print $2 }')

# The next version: the same programs with their file versions raised, as a release would have.
newer_version=${version%.*}.$((${version##*.} + 1))
newer_programs=$work/newer-programs
rm -rf "$newer_programs" "$work/newer-package"
mkdir -p "$newer_programs"
for program in Varnock.exe Quelby.exe; do
  cp "$bin/$program" "$newer_programs/"
  file_version=$("$repo/scripts/pe-version.py" "$bin/$program")
  "$repo/scripts/pe-version.py" "$newer_programs/$program" "${file_version%.*}.$((${file_version##*.} + 1))"
done
"$repo/scripts/package.sh" --version "$newer_version" --bin "$newer_programs" --out "$work/newer-package" >/dev/null
newer_msi=$work/newer-package/Varnock-$newer_version.msi
[[ -f $newer_msi ]] || { echo "install-test: the newer package was not built" >&2; exit 1; }

# The same version built again, which has a product code of its own.
rm -rf "$work/rebuilt-package"
"$repo/scripts/package.sh" --version "$version" --bin "$bin" --out "$work/rebuilt-package" >/dev/null

# The zip, unpacked into an empty folder.
portable=$work/portable
rm -rf "$portable"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$portable"

# A template prefix is prepared once; copying it is much faster than starting a new prefix.
export WINEPREFIX=$work/template
. "$repo/scripts/wine-env.sh"
wine_prefix_ready

prefix=$work/prefix-${filter//[^A-Za-z0-9]/_}
rm -rf "$prefix"
cp -a "$WINEPREFIX" "$prefix"
export WINEPREFIX=$prefix
win() { wine_path_w "$1"; }
VARNOCK_PACKAGE=$(win "$msi")
VARNOCK_NEWER_PACKAGE=$(win "$newer_msi")
VARNOCK_NEWER_PROGRAMS=$(win "$newer_programs")
VARNOCK_REBUILT_PACKAGE=$(win "$work/rebuilt-package/Varnock-$version.msi")
VARNOCK_PORTABLE=$(win "$portable")
export VARNOCK_PACKAGE VARNOCK_NEWER_PACKAGE VARNOCK_NEWER_PROGRAMS VARNOCK_REBUILT_PACKAGE VARNOCK_PORTABLE

cd "$bin"
# The driver at most 780 s, below CTest's TIMEOUT of 900 s (see wine-test.sh).
status=0
wine_run_bounded 780 wine driver.exe --gtest_filter="$filter" --gtest_color=no || status=$?
# This prefix's own server and whatever the programs left running in it.
if ! wine_end_prefix && ((status == 0)); then status=1; fi
if ((status == 0)); then
  rm -rf "$prefix"
else
  echo "install-test: the prefix is kept for a look: $prefix" >&2
fi
exit "$status"
