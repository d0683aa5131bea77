#!/usr/bin/env bash
# The layers as the build links them and as the sources include them (docs/architecture.md): the
# shared core links and includes neither program's core, and the list editor's core does not reach
# the launcher's. Run after `cmake --preset native` (scripts/test.sh does).
set -euo pipefail
cd "$(dirname "$0")/.."

graph=$(mktemp -d)
trap 'rm -rf "$graph"' EXIT
cmake -S . -B build/native --graphviz="$graph/deps.dot" >/dev/null
status=0
for edge in "shared_core -> launcher_core" "shared_core -> editor_core" "editor_core -> launcher_core" \
            "launcher_core -> editor_core"; do
  if grep -q -- "// $edge\$" "$graph/deps.dot"; then
    echo "check-layers.sh: the build links $edge" >&2
    status=1
  fi
done
# Every name the build graph knows must be there, or the check above would pass on a renamed target.
for target in shared_core launcher_core editor_core; do
  grep -q "label = \"$target\"" "$graph/deps.dot" || { echo "check-layers.sh: no target $target" >&2; status=1; }
done

# Includes by name: the headers of each program's core are found only by that program's code.
headers_of() { find "$1" -maxdepth 1 -name '*.h' -printf '%f\n'; }
includes_any() {  # FOLDER HEADER...: the files of FOLDER (not its win/ part) that include one of them
  local folder=$1
  shift
  local pattern
  pattern=$(printf '"%s"|' "$@")
  grep -lE "#include (${pattern%|})" "$folder"/*.cpp "$folder"/*.h "$folder"/*.inc 2>/dev/null || true
}
mapfile -t launcher_headers < <(headers_of launcher)
mapfile -t editor_headers < <(headers_of editor)
for found in $(includes_any shared "${launcher_headers[@]}" "${editor_headers[@]}") \
             $(includes_any shared/win "${launcher_headers[@]}" "${editor_headers[@]}") \
             $(includes_any shared/posix "${launcher_headers[@]}" "${editor_headers[@]}") \
             $(includes_any editor "${launcher_headers[@]}") $(includes_any launcher "${editor_headers[@]}"); do
  echo "check-layers.sh: $found includes a header of another layer's program" >&2
  status=1
done
if ((status == 0)); then echo "check-layers.sh: the layers link and include as they should"; fi
exit "$status"
