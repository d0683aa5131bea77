#!/usr/bin/env bash
# Builds the per-user installer and the portable zip of the two programs:
#   build/package/Varnock-<version>.msi, build/package/Varnock-<version>-portable.zip
# Usage: scripts/package.sh [--version X.Y.Z] [--bin DIR] [--out DIR]
#   --version  the product version (default: the one in the top-level CMakeLists.txt)
#   --bin      the folder holding Varnock.exe and Quelby.exe (default: build them into
#              build/windows/bin)
#   --out      where the packages go (default: build/package)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

version="" bin="" out=$repo/build/package
while (($#)); do
  case $1 in
    --version) version=$2; shift 2 ;;
    --bin) bin=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "package.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
# Folders given relative to where the script was called from.
if [[ -n $bin ]]; then bin=$(cd "$bin" && pwd); fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
cd "$repo"
if [[ -z $version ]]; then
  version=$(sed -n 's/^project( *Varnock  *VERSION  *\([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
  [[ -n $version ]] || { echo "package.sh: no 'project(Varnock VERSION ...)' in CMakeLists.txt" >&2; exit 1; }
fi
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "package.sh: version '$version' is not X.Y.Z" >&2; exit 2; }
for tool in wixl msibuild msiinfo python3; do
  command -v "$tool" >/dev/null || { echo "package.sh: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
if [[ -z $bin ]]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target Varnock Quelby
  bin=build/windows/bin
fi

name=Varnock-$version
stage=$(mktemp -d "${TMPDIR:-/tmp}/varnock-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$bin/Varnock.exe" "$bin/Quelby.exe" launcher/res/varnock.ico "$stage/"
printf '[main]\r\nQuelby=1\r\n' >"$stage/link.ini"  # the marker entry: the launcher runs at once

# The installer.  wixl leaves out what Windows Installer needs here, so it is set afterwards:
# - the database code page, without which every non-ASCII text is dropped, and the Japanese texts;
# - each program's file version, without which Windows Installer takes the programs for
#   unversioned files and keeps an installed (versioned) program instead of replacing it;
# - link.ini's component never overwrites (128) an existing link.ini, so the user's choices
#   survive an upgrade (256: 64-bit component);
# - the installed version is removed after the new one is in place (after InstallFinalize,
#   6600), so that the components both share stay installed instead of being removed and
#   installed again;
# - the same version counts as an upgrade too (512: maximum included), so that a rebuilt package
#   replaces the installed one instead of being installed beside it;
# - the package's language, Japanese, which wixl takes from nowhere (the summary's template).
msi=$out/$name.msi
rm -f "$msi"
# wixl says "unimplemented" of the shortcut that is not advertised, and writes it all the same.
(cd "$stage" && wixl -a x64 -o "$msi" -D Version="$version" -D StageDir=. "$repo/installer/Varnock.wxs")
printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$stage/_ForceCodepage.idt"
msibuild "$msi" -i "$stage/_ForceCodepage.idt"
queries=()
while IFS= read -r query; do
  [[ -n $query ]] && queries+=(-q "$query")
done <installer/Varnock-ja.sql
upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "UpgradeCode" { print $2 }')
[[ $upgrade_code =~ ^\{[0-9A-F-]{36}\}$ ]] || { echo "package.sh: no upgrade code in $msi" >&2; exit 1; }
file_version() {
  printf "UPDATE \`File\` SET \`Version\` = '%s' WHERE \`File\` = '%s'" "$(scripts/pe-version.py "$stage/$2")" "$1"
}
msibuild "$msi" "${queries[@]}" \
  -q "$(file_version VarnockExe Varnock.exe)" -q "$(file_version QuelbyExe Quelby.exe)" \
  -q "UPDATE \`Component\` SET \`Attributes\` = 384 WHERE \`Component\` = 'LinkIni'" \
  -q "UPDATE \`InstallExecuteSequence\` SET \`Sequence\` = 6601 WHERE \`Action\` = 'RemoveExistingProducts'" \
  -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'" \
  -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
package_code=$(python3 -c 'import uuid; print("{%s}" % str(uuid.uuid4()).upper())')
msibuild "$msi" -s "Varnock $version" Varnock "x64;1041" "$package_code"
# Each patch is checked: msibuild reports no error when a row is not found.
check() {
  [[ $(msiinfo export "$msi" "$1" | tr -d '\0') == *"$2"* ]] || { echo "package.sh: $1 lacks '$2'" >&2; exit 1; }
}
check _ForceCodepage 932
[[ $(msiinfo suminfo "$msi") == *"Template: x64;1041"* ]] || { echo "package.sh: $msi is not Japanese" >&2; exit 1; }
check Property "$(printf 'VarnockTypeName\tEPS ファイル')"
check Property "$(printf 'VarnockAiTypeName\tAI ファイル')"
check Component "$(printf 'LinkIni\t{B145E497-E871-4DE1-B62E-CDF241494E73}\tINSTALLDIR\t384')"
check InstallExecuteSequence "$(printf 'RemoveExistingProducts\t\t6601')"
check File "$(printf 'Varnock.exe\t%s\t' "$(stat -c %s "$stage/Varnock.exe")")$(scripts/pe-version.py "$stage/Varnock.exe")"
check Upgrade "$(printf '%s\t\t%s\t\t513\t\tWIX_UPGRADE_DETECTED' "$upgrade_code" "$version")"
echo "$msi"

# The portable zip: the programs, link.ini and a read-me, for a folder of the user's own.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' installer/readme.txt; } >"$stage/readme.txt"
zip=$out/$name-portable.zip
rm -f "$zip"
python3 - "$zip" "$stage" <<'PY'
import os, sys, zipfile
zip_path, stage = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("Varnock.exe", "Quelby.exe", "link.ini", "readme.txt"):
        z.write(os.path.join(stage, name), name)
PY
echo "$zip"
