#!/usr/bin/env bash
# Times highlighting conditions over generated GEDCOM files: a date, a name and an ancestor rule
# joined by AND and OR (goal: under two seconds for a million individuals), then the
# descendants of the first individual, with the peak memory after each step.
# Usage: bench/highlight_bench.sh [BUILD_DIR] [INDIVIDUALS...]   (defaults: build, 1000000)
# Environment: SEED (default 1) of the generated file; CONDITIONS (optional) replaces the
#              default conditions, separated by newlines ("{last}" = the last individual).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(1000000)
seed=${SEED:-1}
conditions=()
if [ -n "${CONDITIONS:-}" ]; then mapfile -t conditions <<<"$CONDITIONS"; fi

for target in kindrel-highlight-bench kindrel-gengedcom; do
  if [ ! -x "$build/bench/$target" ]; then
    cmake --build "$build" -j2 --target "$target" >/dev/null
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-highlight-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

for n in "${counts[@]}"; do
  file=$work/generated-$n.ged
  "$build/bench/kindrel-gengedcom" "$n" --seed "$seed" -o "$file" >/dev/null
  echo "== $n individuals, seed $seed, $(stat -c %s "$file") bytes"
  "$build/bench/kindrel-highlight-bench" "$file" "${conditions[@]}"
  rm -f "$file"
done
