#!/usr/bin/env bash
# Sorts every individual of a generated GEDCOM file by name (column 7), birth date (65) and age
# (19) as the List tab does, and in the same run sorts the same keys, written out as text lines,
# with GNU sort (LC_ALL=C, one thread); prints times, peak memory and the ratios ours / sort.
# Usage: bench/sort_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Our times are the key filling (reading the GEDCOM records) plus the sort; GNU sort's are
# reading its key file plus sorting. Wall times on a shared machine include waiting for the
# processor, so processor times (cpu) are printed beside them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}

driver=$build/bench/kindrel-sort-bench
generator=$build/bench/kindrel-gengedcom
for target in kindrel-sort-bench kindrel-gengedcom; do
  [ -x "$build/bench/$target" ] || cmake --build "$build" -j2 --target "$target" >/dev/null
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-sort-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$generator" "$individuals" -o "$work/input.ged" >/dev/null
echo "input: $individuals individuals, $(stat -c %s "$work/input.ged") bytes (kindrel-gengedcom)"

/usr/bin/time -f "%e %U %S %M" -o "$work/time" "$driver" "$work/input.ged" --keys "$work" \
  >"$work/ours.txt"
read -r _ _ _ oursPeakKb <"$work/time"
grep '^load' "$work/ours.txt"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

printf '\n%-6s | %8s %8s %8s %8s | %8s %8s | %8s %8s | %6s %6s\n' \
  column fill sort total cpu sort-wall sort-cpu ratio ratio-cpu peakMB sortMB
for name in name birth age; do
  line=$(grep "^sort $name " "$work/ours.txt")
  # "fill F s, sort S s, total T s (cpu: fill f s, sort s s, total t s)"
  read -r fill sort total cpuTotal < <(echo "$line" | awk '{
    for (i = 1; i <= NF; i++) {
      if ($i == "fill" && !f) { fill = $(i + 1); f = 1 }
      else if ($i == "sort" && !s && i > 2) { sort = $(i + 1); s = 1 }
      else if ($i == "total" && !t) { total = $(i + 1); t = 1 }
      else if ($i == "total" && t) { cpu = $(i + 1) }
    }
    print fill, sort, total, cpu }')
  keys=$work/keys_$name.txt
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
    env LC_ALL=C sort --parallel=1 -S 1G -o "$work/sorted.txt" "$keys"
  read -r sortWall sortUser sortSys sortPeakKb <"$work/time"
  sortCpu=$(awk -v u="$sortUser" -v s="$sortSys" 'BEGIN { printf "%.2f", u + s }')
  printf '%-6s | %8s %8s %8s %8s | %8s %8s | %8s %8s | %6d %6d\n' \
    "$name" "$fill" "$sort" "$total" "$cpuTotal" "$sortWall" "$sortCpu" \
    "$(ratio "$total" "$sortWall")" "$(ratio "$cpuTotal" "$sortCpu")" \
    $((oursPeakKb / 1024)) $((sortPeakKb / 1024))
  rm -f "$work/sorted.txt"
done
echo
echo "fill, sort, total: our wall seconds (keys from the GEDCOM records, then the sort);"
echo "cpu: our processor seconds; sort-wall, sort-cpu: GNU sort of the same keys as text;"
echo "ratio = total / sort-wall, ratio-cpu = cpu / sort-cpu; peakMB: our whole run (the"
echo "mapped GEDCOM included), sortMB: GNU sort. Load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
