#!/usr/bin/env bash
# Times the List, Highlighted and Islands tabs in the real window, offscreen, on a generated
# GEDCOM, and in the same run the core without a window over the same file (the peers), then
# prints each ratio window / core.
# Usage: bench/lists_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: MOVES (default 50) scroll and key moves timed; SEED (default 1).
# Peers: kindrel-sort-bench (the sorts by 7, 65, 19, 38 and 28: keys filled, then sorted),
# kindrel-highlight-bench ("+17:F": the conditions, every individual asked, the highlighted
# list),
# kindrel-analysis-bench (the island calculation), and `kindrel list` (the sorts by 38 and 28
# and the CSV of all columns, each less the same command's load and index-only listing).
# Relationship columns relate to individual 1 everywhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in bench/kindrel-lists-bench bench/kindrel-gengedcom bench/kindrel-sort-bench \
  bench/kindrel-highlight-bench bench/kindrel-analysis-bench bin/kindrel; do
  [ -x "$build/$target" ] || { echo "lists_bench: build $(basename "$target") first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-lists-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
file=$work/generated.ged
"$build/bench/kindrel-gengedcom" "$individuals" --seed "${SEED:-1}" -o "$file" >/dev/null
# The new file written back first, so that the timed runs share no disk with it.
sync

echo "== the window"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/kindrel-lists-bench" \
  "$file" "${MOVES:-50}" "${SEED:-1}" 2> >(grep -v propagateSizeHints >&2) | tee "$work/window.txt"

echo "== the core without a window (peers)"
"$build/bench/kindrel-sort-bench" "$file" >"$work/sort.txt"
"$build/bench/kindrel-sort-bench" "$file" --codes 38,28 --reference 1 >>"$work/sort.txt"
grep '^sort ' "$work/sort.txt"
"$build/bench/kindrel-highlight-bench" "$file" "+17:F" | tee "$work/highlight.txt"
"$build/bench/kindrel-analysis-bench" "$file" 1 1 | grep -E '^(step|load|islands )' |
  tee "$work/analysis.txt"

columns=1,2,7,65,67,19,18,38,28
t() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
base=$(t "$build/bin/kindrel" list "$file" --columns 1)
printf '%-44s %9.3f s\n' "kindrel list: load + index-only list" "$base"
declare -A cli
for code in 38 28; do
  total=$(t "$build/bin/kindrel" list "$file" --columns 1,$code --sort $code --reference 1)
  cli[$code]=$(echo "$total - $base" | bc)
  printf '%-44s %9.3f s\n' "kindrel list: load + sort by $code" "$total"
done
total=$(t "$build/bin/kindrel" list "$file" --columns $columns --csv --reference 1)
cli[csv]=$(echo "$total - $base" | bc)
printf '%-44s %9.3f s\n' "kindrel list: load + CSV of all columns" "$total"

# The window's milliseconds of a line, the core's seconds of a sort-bench line.
window_ms() { grep -F "$1" "$work/window.txt" | head -1 | sed -E 's/^.{44} *([0-9.]+) ms.*/\1/'; }
window_gap() { grep -F "$1" "$work/window.txt" | head -1 | sed -E 's/.*gap ([0-9.]+) ms.*/\1/'; }
sort_s() { grep "^sort $1 " "$work/sort.txt" | sed -E 's/.* total ([0-9.]+) s \(cpu.*/\1/'; }
step_s() { grep -E "^ *$1 " "$2" | head -1 | awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^[0-9.]+$/) { print $i; exit } }'; }
highlight_s=$(echo "$(step_s 'condition total' "$work/highlight.txt") + $(step_s 'highlighted list' "$work/highlight.txt")" | bc)
islands_s=$(step_s islands "$work/analysis.txt")

echo "== ratios (window / core; goal <= 1.3), longest event-loop gap of the window's step"
printf '%-34s %10s %10s %7s %9s\n' measured "window s" "core s" ratio "gap ms"
ratio_line() {
  local label=$1 line=$2 core=$3 ms
  ms=$(window_ms "$line")
  awk -v l="$label" -v w="$ms" -v c="$core" -v g="$(window_gap "$line")" 'BEGIN {
    printf "%-34s %10.3f %10.3f %7s %9.1f\n", l, w / 1000, c, (c > 0 ? sprintf("%.2f", w / 1000 / c) : "-"), g }'
}
ratio_line "sort by 7 (name)" "Sort by column code 7" "$(sort_s name)"
ratio_line "sort by 65 (birth)" "Sort by column code 65" "$(sort_s birth)"
ratio_line "sort by 19 (age)" "Sort by column code 19" "$(sort_s age)"
ratio_line "sort by 38 vs sort-bench" "Sort by column code 38" "$(sort_s c38)"
ratio_line "sort by 38 vs kindrel list" "Sort by column code 38" "${cli[38]}"
ratio_line "sort by 28 vs sort-bench" "Sort by column code 28" "$(sort_s c28)"
ratio_line "sort by 28 vs kindrel list" "Sort by column code 28" "${cli[28]}"
ratio_line "Highlighted \"+17:F\"" "Highlighted \"+17:F\"" "$highlight_s"
ratio_line "Islands tab" "Islands tab (calculation)" "$islands_s"
ratio_line "CSV copy vs kindrel list --csv" "CSV copy of the List" "${cli[csv]}"
echo "Load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
