#!/usr/bin/env bash
# Times the copies, the extraction and Options in the real window, offscreen, on a generated
# GEDCOM file packed as a self-viewing file (extraction allowed), with the peers in the same
# run: `kindrel descendants` of the same individual (its load subtracted), `cp` + `sync` of the
# GEDCOM (the extraction on a settled disk against cp + sync on one, and right after the load
# against cp + sync right after another),
# and bench/sort_bench.sh's name sort (kindrel-sort-bench).
# Usage: bench/export_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: ROOT (default 1) whose descendants are copied; PEOPLE (default 200) people per
#              person page; SEED (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
who=${ROOT:-1}
people=${PEOPLE:-200}
seed=${SEED:-1}
for target in kindrel-gengedcom kindrel-export-bench kindrel-sort-bench; do
  [ -x "$build/bench/$target" ] || { echo "export_bench: build $target first" >&2; exit 2; }
done
[ -x "$build/bin/kindrel" ] || { echo "export_bench: build kindrel first" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-export-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
seconds() { /usr/bin/time -f %e -o "$work/time" "$@" >/dev/null; cat "$work/time"; }
ms() { awk -v s="$1" 'BEGIN { printf "%.0f", s * 1000 }'; }

gedcom=$work/generated.ged
"$build/bench/kindrel-gengedcom" "$individuals" --seed "$seed" -o "$gedcom" >/dev/null
"$build/bin/kindrel" pack "$gedcom" -o "$work/Packed" --viewer /bin/true --allow-extract >/dev/null
echo "== $individuals individuals, $(stat -c %s "$gedcom") bytes, $(nproc) cores"

# The disk of a shared machine varies: cp + sync before and after the window's run.
sync
copyBefore=$(seconds sh -c "cp '$gedcom' '$work/copy.ged' && sync")
rm -f "$work/copy.ged"

/usr/bin/time -f "export bench run: peak RSS %M KB" \
  "$build/bench/kindrel-export-bench" "$work/Packed" "$who" "$people" "$seed" \
  "$work/extracted.ged" 2> >(grep -v -e propagateSizeHints -e 'does not support' >&2) |
  tee "$work/ours.txt"
cmp -s "$gedcom" "$work/extracted.ged" && echo "extracted file: identical to the GEDCOM" ||
  echo "extracted file: DIFFERS from the GEDCOM"
rm -f "$work/extracted.ged"

echo "-- peers in the same run"
full=$(seconds "$build/bin/kindrel" descendants "$gedcom" "$who")
load=$(seconds "$build/bin/kindrel" descendants "$gedcom" "$who" --generations 1)
lines=$("$build/bin/kindrel" descendants "$gedcom" "$who" | wc -l)
peer=$(awk -v f="$full" -v l="$load" 'BEGIN { printf "%.3f", f - l }')
echo "kindrel descendants $who: $lines lines, $(ms "$full") ms, load alone $(ms "$load") ms," \
  "so $(ms "$peer") ms without the load"
ours=$(sed -n 's/^Descendants copy of [0-9]*: [0-9]* lines, [0-9.]* MB, \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
[ -n "$ours" ] && awk -v o="$ours" -v p="$peer" \
  'BEGIN { if (p > 0) printf "  Descendants copy / kindrel descendants: %.2f\n", o / 1000 / p }'

sync
copy=$(seconds sh -c "cp '$gedcom' '$work/copy.ged' && sync")
rm -f "$work/copy.ged"
echo "cp + sync of the GEDCOM: $(ms "$copyBefore") ms before the window's run, $(ms "$copy") ms after"
copy=$(awk -v a="$copyBefore" -v b="$copy" 'BEGIN { printf "%.3f", (a + b) / 2 }')
extract=$(sed -n 's/^Extract GEDCOM: \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
[ -n "$extract" ] && awk -v o="$extract" -v p="$copy" \
  'BEGIN { if (p > 0) printf "  Extract GEDCOM / (cp + sync, mean of both): %.2f\n", o / 1000 / p }'
# The same peer on a disk that has just taken as much (the window's extraction right after
# the load follows the temporary GEDCOM the load wrote): a second cp + sync at once.
cp "$gedcom" "$work/copy.ged" && sync
busy=$(seconds sh -c "cp '$gedcom' '$work/copy2.ged' && sync")
rm -f "$work/copy.ged" "$work/copy2.ged"
echo "cp + sync right after another cp + sync of the GEDCOM: $(ms "$busy") ms"
early=$(sed -n 's/^Extract GEDCOM right after the load: \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
[ -n "$early" ] && awk -v o="$early" -v p="$busy" \
  'BEGIN { if (p > 0) printf "  Extract GEDCOM right after the load / that cp + sync: %.2f\n", o / 1000 / p }'
copying=$(sed -n 's/^Extract GEDCOM: .* copying \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
[ -n "$copying" ] && awk -v o="$copying" -v p="$copy" \
  'BEGIN { if (p > 0) printf "  its copying (after the save dialog) / (cp + sync): %.2f\n", o / 1000 / p }'

"$build/bench/kindrel-sort-bench" "$gedcom" >"$work/sort.txt"
name=$(awk '/^sort name / { for (i = 1; i <= NF; i++) if ($i == "total") { print $(i + 1); exit } }' "$work/sort.txt")
echo "kindrel-sort-bench name sort (fill and sort): $(ms "$name") ms"
ok=$(sed -n 's/^Options OK (NameUpper) until the sorted List is shown: \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
[ -n "$ok" ] && awk -v o="$ok" -v p="$name" \
  'BEGIN { if (p > 0) printf "  Options OK until the sorted List / name sort: %.2f\n", o / 1000 / p }'
echo "Load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
