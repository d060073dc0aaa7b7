#!/usr/bin/env bash
# Times the List, Highlighted and Islands tabs in the real window, offscreen, on a generated
# GEDCOM, with `kindrel list` over the same file alongside (the core's time for the same sorts
# and the CSV) for ratios.
# Usage: bench/lists_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: MOVES (default 50) scroll and key moves timed; SEED (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in bench/kindrel-lists-bench bench/kindrel-gengedcom bin/kindrel; do
  [ -x "$build/$target" ] || { echo "lists_bench: build $(basename "$target") first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-lists-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
file=$work/generated.ged
"$build/bench/kindrel-gengedcom" "$individuals" --seed "${SEED:-1}" -o "$file" >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/kindrel-lists-bench" \
  "$file" "${MOVES:-50}" "${SEED:-1}" 2> >(grep -v propagateSizeHints >&2)
echo "== kindrel list on the same file (load included; the load alone first)"
columns=1,2,7,65,67,19,18,38,28
t() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
printf '%-44s %9.3f s\n' "load + unsorted list" "$(t "$build/bin/kindrel" list "$file" --columns 1)"
for code in 7 65 19 38 28; do
  printf '%-44s %9.3f s\n' "load + sort by $code" \
    "$(t "$build/bin/kindrel" list "$file" --columns $columns --sort $code --reference 1)"
done
printf '%-44s %9.3f s\n' "load + CSV of all columns" \
  "$(t "$build/bin/kindrel" list "$file" --columns $columns --csv --reference 1)"
