#!/usr/bin/env bash
# Builds and runs the benchmarks; docs/performance.md says what they measure.
#   scripts/bench.sh           the full run (about two minutes once built): the figures and the
#                              plot docs/analysis-time.svg
#   scripts/bench.sh --quick   a short run that only shows that every benchmark still works
# Each figure is the median of ratios of pairs measured in turn within this run. The last nine
# lines are the ratios: analysis-ascii, analysis-sjis, analysis-random, analysis-postscript,
# link-ini, link-ini-pattern, startup, chooser-first-paint, multi-choose.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

pairs=101 sizes=15 ini_pairs=201 rounds=31
# Each benchmark under Wine runs for at most run_limit seconds (each takes under a minute of a full
# run on this machine, seconds of a quick one), then its Wine prefix at most 60 s more for what it
# left running (wine_run_and_wait, scripts/wine-env.sh): a bound reached ends it with a line and
# fails the run.
run_limit=600
if [[ ${1:-} == --quick ]]; then
  pairs=3 sizes=1 ini_pairs=5 rounds=3 run_limit=300
fi

cmake --preset native >/dev/null
cmake --build --preset native --target bench_analysis bench_link_ini >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target Varnock recorder stand_in_pen min_starter min_starter_manifest startup_bench \
  first_paint_bench find_apps_bench stand_in_ai25 stand_in_ai23 stand_in_ai16 stand_in_ai10 stand_in_freehand >/dev/null

out=build/bench
mkdir -p "$out"
echo "== processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-), $(nproc) cores," \
     "AVX2: $(grep -qw avx2 /proc/cpuinfo && echo yes || echo no), AVX-512 (BW): $(grep -qw avx512bw /proc/cpuinfo && echo yes || echo no), load: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== header analysis of 40 MB without a header against a plain read ($pairs pairs each)"
build/native/tests/bench_analysis --pairs="$pairs" | tee "$out/analysis.txt"

echo "== analysis time against file size (shortest of $sizes)"
build/native/tests/bench_analysis --sizes="$sizes" | tee "$out/sizes.txt"
if [[ ${1:-} != --quick ]]; then
  python3 scripts/plot-analysis.py "$out/sizes.txt" docs/analysis-time.svg
  echo "plot: docs/analysis-time.svg"
fi

echo "== link.ini of 999 entries, read, and read and looked up past 100 '*' entries, against one parse ($ini_pairs pairs each)"
build/native/tests/bench_link_ini --pairs="$ini_pairs" | tee "$out/link-ini.txt"

echo "== launcher start to program start under Wine against the least starter ($rounds pairs)"
# A registered file: link.ini holds the pair, the recording program stands in for the drawing
# application (as in scripts/demo.sh).
bench=build/bench-startup
rm -rf "$bench"
mkdir -p "$bench/Program Files/ExampleDraw" "$bench/work"
cp build/windows/bin/{Varnock,min_starter,min_starter_manifest,startup_bench,first_paint_bench}.exe "$bench/"
cp build/windows/bin/recorder.exe "$bench/Program Files/ExampleDraw/draw.exe"
printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n%%%%EndComments\r\n' \
  >"$bench/work/logo.eps"
cat >"$bench/run.sh" <<'EOF'
#!/usr/bin/env bash
# Runs under its own virtual display; the timing program keeps a window open all along, so the
# desktop exists for both starters, as it always does on Windows.
set -euo pipefail
bench=$1 rounds=$2 starter=$3 limit=$4
. scripts/wine-env.sh
wine_prefix_ready
win() { wine_path_w "$1"; }
draw=$(win "$bench/Program Files/ExampleDraw/draw.exe")
printf '[main]\r\nname1=ExampleDraw 10\r\npath1=%s\r\n' "$draw" >"$bench/name.ini"
printf '[main]\r\nQuelby=1\r\nlink1="Adobe Illustrator(R) 10.0"\r\npath1="%s"\r\nCreatorVersion1="10.0"\r\n' \
  "$draw" >"$bench/link.ini"
# At most $limit s, then at most 60 s for what it left running (see run_limit in bench.sh).
status=0
wine_run_and_wait "$limit" 60 "$bench/startup_bench.exe" "$rounds" "$(win "$bench/Varnock.exe")" \
  "$(win "$bench/$starter.exe")" "$draw" "$(win "$bench/work/logo.eps")" || status=$?
exit "$status"
EOF
chmod +x "$bench/run.sh"
# Every start of both reached the program with the file.
startup() {
  rm -f "$bench/Program Files/ExampleDraw/record.txt"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$bench/run.sh" "$bench" "$rounds" "$1" "$run_limit"
  local records
  records=$(grep -c 'logo.eps"' "$bench/Program Files/ExampleDraw/record.txt")
  if [[ $records -ne $((2 * rounds + 2)) ]]; then
    echo "bench.sh: the program was started $records times, expected $((2 * rounds + 2))" >&2
    exit 1
  fi
}
startup min_starter | tee "$out/startup.txt"
# The same against the least starter carrying the launcher's manifest (Common Controls 6, DPI
# awareness): under Wine the manifest's activation context is a good part of the difference.
echo "== the same, the least starter carrying the launcher's application manifest"
startup min_starter_manifest | sed 's/^ratio startup/same manifest: ratio startup/' | tee "$out/startup-manifest.txt"

echo "== launcher start to the chooser's first paint under Wine, ten programs with icons and version" \
     "resources against ten without ($rounds pairs)"
# Two folders, each a launcher with its link.ini and name.ini: ten stand-in programs that carry an
# icon in one, five of them a version resource too (the last one that of the version that made the
# file, which the chooser suggests), ten that carry neither in the other. The file's format is not
# remembered, so the launcher asks at once (no wait notice).
paint=build/bench-chooser
rm -rf "$paint"
versioned=(stand_in_ai16 stand_in_ai23 stand_in_ai25 stand_in_freehand stand_in_ai10)
for setup in icons plain; do
  for i in $(seq 1 10); do
    if [[ $setup == plain ]]; then
      program=recorder
    elif ((i <= 5)); then
      program=stand_in_pen
    else
      program=${versioned[i - 6]}
    fi
    mkdir -p "$paint/$setup/Program Files/App $i"
    cp "build/windows/bin/$program.exe" "$paint/$setup/Program Files/App $i/app.exe"
  done
  cp build/windows/bin/Varnock.exe "$paint/$setup/"
done
cp build/windows/bin/first_paint_bench.exe "$paint/"
cp "$bench/work/logo.eps" "$paint/"
caption="Varnock $(sed -n 's/^project(Varnock VERSION \([0-9]*\.[0-9]*\)\..*/\1/p' CMakeLists.txt)"
cat >"$paint/run.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
paint=$1 rounds=$2 caption=$3 limit=$4
. scripts/wine-env.sh
wine_prefix_ready
win() { wine_path_w "$1"; }
for setup in icons plain; do
  printf '[main]\r\nQuelby=1\r\n' >"$paint/$setup/link.ini"
  for i in $(seq 1 10); do
    printf 'name%d=App %d\r\npath%d=%s\r\n' "$i" "$i" "$i" "$(win "$paint/$setup/Program Files/App $i/app.exe")"
  done | { printf '[main]\r\n'; cat; } >"$paint/$setup/name.ini"
done
file=$(win "$paint/logo.eps")
status=0
wine_run_and_wait "$limit" 60 "$paint/first_paint_bench.exe" chooser-first-paint "$rounds" "$caption" \
  --a "$(win "$paint/icons/Varnock.exe")" "$file" --b "$(win "$paint/plain/Varnock.exe")" "$file" || status=$?
exit "$status"
EOF
chmod +x "$paint/run.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$paint/run.sh" "$paint" "$rounds" "$caption" "$run_limit" | tee "$out/chooser-first-paint.txt"

echo "== ten launchers at once for ten files of one kind not remembered, to their one chooser's first" \
     "paint, against one launcher for one such file, under Wine ($rounds pairs)"
# Explorer starts one launcher per selected file; they meet and one of them asks for all ten
# (docs/many-files.md). In the start-up benchmark's folder, with link.ini emptied of the kind. The
# benchmark closes the chooser, which cancels: nothing is started and link.ini stays as it is.
for k in $(seq 0 9); do cp "$bench/work/logo.eps" "$bench/work/logo-$k.eps"; done
rm -f "$bench/Program Files/ExampleDraw/record.txt"
cat >"$bench/multi.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
bench=$1 rounds=$2 caption=$3 limit=$4
. scripts/wine-env.sh
wine_prefix_ready
win() { wine_path_w "$1"; }
printf '[main]\r\nQuelby=1\r\n' >"$bench/link.ini"
launcher=$(win "$bench/Varnock.exe")
files=()
for k in $(seq 0 9); do files+=("$(win "$bench/work/logo-$k.eps")"); done
status=0
wine_run_and_wait "$limit" 60 "$bench/first_paint_bench.exe" multi-choose "$rounds" "$caption" --a "$launcher" \
  "${files[@]}" --b "$launcher" "${files[0]}" || status=$?
exit "$status"
EOF
chmod +x "$bench/multi.sh"
caption="Varnock $(sed -n 's/^project(Varnock VERSION \([0-9]*\.[0-9]*\)\..*/\1/p' CMakeLists.txt)"
xvfb-run -a -s "-screen 0 1280x1024x24" "$bench/multi.sh" "$bench" "$rounds" "$caption" "$run_limit" | tee "$out/multi-choose.txt"
if [[ -e "$bench/Program Files/ExampleDraw/record.txt" ]]; then
  echo "bench.sh: a cancelled chooser started the program" >&2
  exit 1
fi

echo "== finding the installed drawing applications over 300 uninstall entries and 60 ProgIDs, against" \
     "the least work over the same registry keys, in one process under Wine ($rounds pairs)"
apps=build/bench-find-apps
rm -rf "$apps"
mkdir -p "$apps/programs/Illustrator 2021" "$apps/programs/Illustrator CS6/Support Files" \
  "$apps/programs/Illustrator 10" "$apps/programs/FreeHand"
cp build/windows/bin/stand_in_ai25.exe "$apps/programs/Illustrator 2021/Illustrator.exe"
cp build/windows/bin/stand_in_ai16.exe "$apps/programs/Illustrator CS6/Support Files/Illustrator.exe"
cp build/windows/bin/stand_in_ai10.exe "$apps/programs/Illustrator 10/Illustrator.exe"
cp build/windows/bin/stand_in_freehand.exe "$apps/programs/FreeHand/FHMX.exe"
cp build/windows/bin/find_apps_bench.exe "$apps/"
cat >"$apps/run.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
apps=$1 rounds=$2 limit=$3
. scripts/wine-env.sh
wine_prefix_ready
status=0
wine_run_and_wait "$limit" 60 "$apps/find_apps_bench.exe" "$rounds" "$(wine_path_w "$apps/programs")" || status=$?
exit "$status"
EOF
chmod +x "$apps/run.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$apps/run.sh" "$apps" "$rounds" "$run_limit" | tee "$out/find-apps.txt"

echo "== ratios (medians of pairs measured in turn)"
grep -h '^ratio ' "$out/analysis.txt" "$out/link-ini.txt" "$out/startup.txt" "$out/chooser-first-paint.txt" \
  "$out/multi-choose.txt" "$out/find-apps.txt"
