#!/usr/bin/env bash
# Times the Individual page in the real window, offscreen, on a generated GEDCOM: rebuild plus
# paint for random people (chronological order on, then off), and a person of about 20,000 rows.
# Usage: bench/views_bench_individual.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: PEOPLE (default 1000) people timed; SEED (default 1) of file and picks;
#              SHAPE (default normal) of the generated file; BIG_ROWS (default 20000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in kindrel-views-bench-individual kindrel-gengedcom; do
  [ -x "$build/bench/$target" ] || { echo "views_bench_individual: build $target first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-views-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
file=$work/generated.ged
"$build/bench/kindrel-gengedcom" "$individuals" --shape "${SHAPE:-normal}" --seed "${SEED:-1}" \
  -o "$file" >/dev/null
echo "== $individuals individuals, shape ${SHAPE:-normal}, $(nproc) cores"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/kindrel-views-bench-individual" \
  "$file" "${PEOPLE:-1000}" "${SEED:-1}" "${BIG_ROWS:-20000}" 2> >(grep -v propagateSizeHints >&2)
