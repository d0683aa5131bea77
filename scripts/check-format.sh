#!/usr/bin/env bash
# Fails when a C++ file of the repository is not formatted as .clang-format says; names each one.
# clang-format -i on the files named formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.inc')
unformatted=()
for file in "${files[@]}"; do
  clang-format --style=file --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if ((${#unformatted[@]})); then
  echo "check-format.sh: not formatted as .clang-format says (clang-format -i fixes them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format.sh: ${#files[@]} files formatted"
