#!/usr/bin/env bash
# Times finding over a generated GEDCOM file. Without widgets: the tool bar's first surname
# search with its sort, later keystrokes, Find Next / Previous, a given-name search, and what
# the five sorted orders hold; then the name sort of bench/sort_bench.sh's driver on the same
# file for the ratio. In the real window, offscreen: Find Individual's first rows and mode
# changes, a per-person condition and "Ancestors of" until the page is painted, and Next
# Highlighted across the file with a rare surname.
# Usage: bench/find_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: INPUT (optional) an existing GEDCOM file to time instead of a generated one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in kindrel-find-bench kindrel-find-bench-window kindrel-sort-bench kindrel-gengedcom; do
  [ -x "$build/bench/$target" ] || cmake --build "$build" -j2 --target "$target" >/dev/null
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-find-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
input=${INPUT:-}
if [ -z "$input" ]; then
  input=$work/input.ged
  "$build/bench/kindrel-gengedcom" "$individuals" -o "$input" >/dev/null
  echo "input: $individuals individuals (kindrel-gengedcom)"
else
  echo "input: $input"
fi
"$build/bench/kindrel-find-bench" "$input"
echo
echo "name sort of kindrel-sort-bench on the same file:"
"$build/bench/kindrel-sort-bench" "$input" | grep -E '^sort name' || true
echo
echo "in the window (offscreen):"
QT_QPA_PLATFORM=offscreen "$build/bench/kindrel-find-bench-window" "$input"
echo "Load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
