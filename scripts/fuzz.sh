#!/usr/bin/env bash
# Runs one fuzz target for a bounded time:  scripts/fuzz.sh BINARY NAME [REFERENCE_CORPUS] [SECONDS]
# First every saved regression input (tests/fuzz/regressions/NAME), then fuzzing seeded from the
# team's EPS corpus when it is there and from generated files otherwise. A crash fails the run and
# leaves its input in the work folder, to be added to the regression inputs.
set -euo pipefail
bin=$1
name=$2
reference=${3:-}
seconds=${4:-60}
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(dirname "$bin")/fuzz-work/$name
rm -rf "$work"
mkdir -p "$work/found" "$work/seeds" "$work/crashes"

regressions=$repo/tests/fuzz/regressions/$name
if compgen -G "$regressions/*" >/dev/null; then
  echo "fuzz.sh: $name: running the regression inputs"
  "$bin" -timeout=20 "$regressions"/*  # an input that hangs fails after 20 s, as when fuzzing
fi

seed() { printf "$2" >"$work/seeds/$1"; }
case $name in
  eps_header)
    # Four bytes that pick the chunking and the limits, then the file. A leading C5 builds a binary
    # header: then two more bytes pick its PostScript offset (from the start, or with the top bit
    # set back from two bytes past the end), and the file goes on from byte 12.
    if [[ -d $reference ]]; then
      for file in "$reference"/*; do
        [[ -f $file && $file != *.md ]] || continue
        { printf '\x05\x00\xff\x37'; head -c 8000 "$file"; } >"$work/seeds/$(basename "$file")"
      done
    fi
    seed worked '\x01\x00\x40\x99%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%Creator: Adobe Illustrator(R) 10.0\r\n%%%%AI8_CreatorVersion: 10.0\r\n'
    seed lf '\x02\x00\x10\xf1%%!PS-Adobe\n%%%%AI8_CreatorVersion: 8\n%%%%Creator: \x81\r\nx\r'
    seed lead '\x03\x00\x20\x55%%%%Creator:\x83\x8c\x83\x43 \r\n%%!PS-Adobe\r\n'
    # As Acrobat 9 writes it: the section at 32, after the padding DF 8F, whose 8F is a lead byte.
    seed preview '\xc5\x04\x00\x40\x99\x20\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xdf\x8f%%!PS-Adobe-3.1 EPSF-3.0\r\n%%%%Creator: Adobe Acrobat 9.0\r\n'
    # The same with the offset at the file's last byte.
    seed preview-end '\xc5\x05\x00\x40\x99\x03\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xdf\x8f%%!PS-Adobe-3.1 EPSF-3.0\r\n%%%%Creator: Adobe Acrobat 9.0\r\n'
    ;;
  ini)
    # One byte that picks the key, the value, 0xFF, then the file.
    seed plain '\x00 a value \xff[main]\r\nk=1\r\nlink1="x"\r\n; c\r\n[other]\r\nk=2\r\n'
    seed odd '\x11\x83\x8c\xff[main\rk\rname99 = v \r[MAIN]\nk=3'
    seed utf8 '\x02v\xff\xef\xbb\xbf[main]\r\nname1=\xe3\x83\xac\r\n'
    seed utf16 '\x03v\xff\xff\xfe[\x00m\x00a\x00i\x00n\x00]\x00\r\x00\n\x00k\x00=\x00\xec\x30\r\x00\n\x00'
    ;;
  command_line)
    # UTF-16 code units, little-endian.
    printf '"C:\\v\\Varnock.exe" "D:\\a b\\x.eps"' | iconv -f UTF-8 -t UTF-16LE >"$work/seeds/quoted"
    printf 'Varnock.exe   D:\\x.eps  ' | iconv -f UTF-8 -t UTF-16LE >"$work/seeds/plain"
    printf '"C:\\v\\Varnock.exe" ""a" "b\\""' | iconv -f UTF-8 -t UTF-16LE >"$work/seeds/quotes"
    ;;
esac

echo "fuzz.sh: $name: fuzzing for $seconds s"
"$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
  -artifact_prefix="$work/crashes/" "$work/found" "$work/seeds"
