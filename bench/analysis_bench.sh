#!/usr/bin/env bash
# Times the analysis walks on generated GEDCOM files: the island calculation (goal: under one
# second for a million individuals), the relationship of random pairs and a descendant walk
# from a founder, with the peak memory after each step.
# Usage: bench/analysis_bench.sh [BUILD_DIR] [INDIVIDUALS...]   (defaults: build, 1000000)
# Environment: PAIRS (default 1000) relationship queries; SEED (default 1) of file and pairs;
#              SHAPE (default normal; chain makes each person the only child of the previous).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(1000000)
pairs=${PAIRS:-1000}
seed=${SEED:-1}
shape=${SHAPE:-normal}

for target in kindrel-analysis-bench kindrel-gengedcom; do
  if [ ! -x "$build/bench/$target" ]; then
    cmake --build "$build" -j2 --target "$target" >/dev/null
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-analysis-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

for n in "${counts[@]}"; do
  file=$work/generated-$n.ged
  "$build/bench/kindrel-gengedcom" "$n" --shape "$shape" --seed "$seed" -o "$file" >/dev/null
  echo "== $n individuals, shape $shape, seed $seed, $(stat -c %s "$file") bytes, $pairs pairs"
  "$build/bench/kindrel-analysis-bench" "$file" "$pairs" "$seed"
  rm -f "$file"
done
