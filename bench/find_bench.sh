#!/usr/bin/env bash
# Times the tool bar's find over a generated GEDCOM file: the first surname search with its
# sort, later keystrokes, Find Next / Previous, and a given-name search; then the name sort of
# bench/sort_bench.sh's driver on the same file for the ratio.
# Usage: bench/find_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in kindrel-find-bench kindrel-sort-bench kindrel-gengedcom; do
  [ -x "$build/bench/$target" ] || cmake --build "$build" -j2 --target "$target" >/dev/null
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-find-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/kindrel-gengedcom" "$individuals" -o "$work/input.ged" >/dev/null
echo "input: $individuals individuals (kindrel-gengedcom)"
"$build/bench/kindrel-find-bench" "$work/input.ged"
echo
echo "name sort of kindrel-sort-bench on the same file:"
"$build/bench/kindrel-sort-bench" "$work/input.ged" | grep -E '^sort name' || true
echo "Load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
