#!/usr/bin/env bash
# Times the person pages in the real window, offscreen, on generated GEDCOM files (shape normal,
# then wide): Individual, Family and Pedigree for random people (rebuild plus paint), a person of
# about 20,000 rows, and the Descendants page (walk of individual 1 cold and warm with the memory
# it adds, Page Down, Ctrl+End, the thumb dragged across the file, Next Highlighted across the
# file under a sparse rule). The descendant walk of bench/analysis_bench.sh runs on the same file
# in the same run, for the ratio.
# Usage: bench/views_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: PEOPLE (default 1000) people timed; SEED (default 1) of files and picks;
#              SHAPES (default "normal wide"); BIG_ROWS (default 20000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
people=${PEOPLE:-1000}
seed=${SEED:-1}
targets=(kindrel-gengedcom kindrel-analysis-bench kindrel-views-bench-individual
  kindrel-views-bench-family kindrel-views-bench-descendants)
for target in "${targets[@]}"; do
  [ -x "$build/bench/$target" ] || { echo "views_bench: build $target first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-views-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
quiet() { "$@" 2> >(grep -v propagateSizeHints >&2); }

for shape in ${SHAPES:-normal wide}; do
  file=$work/generated-$shape.ged
  "$build/bench/kindrel-gengedcom" "$individuals" --shape "$shape" --seed "$seed" -o "$file" \
    >/dev/null
  echo "== $individuals individuals, shape $shape, $(nproc) cores"
  if [ "$shape" = normal ]; then
    quiet "$build/bench/kindrel-views-bench-individual" "$file" "$people" "$seed" \
      "${BIG_ROWS:-20000}"
    quiet "$build/bench/kindrel-views-bench-family" "$file" "$people" "$seed"
    quiet "$build/bench/kindrel-views-bench-family" "$file" "$people" "$seed" "+17:F"
  fi
  /usr/bin/time -f "Descendants page run: peak RSS %M KB" \
    "$build/bench/kindrel-views-bench-descendants" "$file" "$people" "$seed" \
    2> >(grep -v propagateSizeHints >&2)
  echo "-- peer in the same run: the descendant walk of analysis_bench"
  "$build/bench/kindrel-analysis-bench" "$file" 1 "$seed" | grep -i descend || true
  rm -f "$file"
done
