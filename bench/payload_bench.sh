#!/usr/bin/env bash
# Packs and expands generated GEDCOM files with the payload archive and, in the same run, with
# bzip2 -9 and bzip2 -d; prints sizes, times and the ratios ours/bzip2.
# Usage: bench/payload_bench.sh [BUILD_DIR] [SIZE_MB...]   (defaults: build, 1 100)
# Environment: REPEAT (default 3) runs per command, the best wall time counts;
#              THREADS (default 0 = one per processor) for packing and expanding.
# The input comes from kindrel-gengedcom (any build-*/bench/); without it, the GEDCOM files
# of $KINDREL_CORPUS (default /work/shared/corpus) are concatenated into a temporary file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1 100)
repeat=${REPEAT:-3}
threads=${THREADS:-0}
corpus=${KINDREL_CORPUS:-/work/shared/corpus}

driver=$build/bench/kindrel-payload-bench
if [ ! -x "$driver" ]; then
  cmake --build "$build" -j2 --target kindrel-payload-bench >/dev/null
fi
generator=""
for candidate in "$build/bench/kindrel-gengedcom" "$root"/build-*/bench/kindrel-gengedcom; do
  if [ -x "$candidate" ]; then generator=$candidate; break; fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-payload-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a command REPEAT times; sets best (wall seconds of the fastest run) and cpu (user +
# system seconds of that run). Outputs are removed before each run, so that no run pays for
# truncating the previous one's file.
best=0
cpu=0
timed() {
  local out=$1; shift
  best=""
  for ((r = 0; r < repeat; r++)); do
    rm -f "$out"
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null
    read -r wall user sys <"$work/time"
    if [ -z "$best" ] || awk -v a="$wall" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$wall
      cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    fi
  done
}

# Writes a GEDCOM file of about $2 megabytes to $1.
make_input() {
  local file=$1 megabytes=$2
  local bytes=$((megabytes * 1000 * 1000))
  if [ -n "$generator" ]; then
    # The generator writes about 308 bytes per individual.
    "$generator" $((bytes / 308)) -o "$file" >/dev/null
  else
    : >"$file"
    while [ "$(stat -c %s "$file")" -lt "$bytes" ]; do
      cat "$corpus"/*.ged >>"$file"
    done
    truncate -s "$bytes" "$file"
  fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }'; }

rows=()
for mb in "${sizes[@]}"; do
  input=$work/input-$mb.ged
  make_input "$input" "$mb"
  size=$(stat -c %s "$input")

  timed "$work/archive" "$driver" pack "$input" "$work/archive" "$threads"
  packWall=$best packCpu=$cpu
  read -r blocks _ < <("$driver" pack "$input" "$work/archive" "$threads")
  ours=$(stat -c %s "$work/archive")
  timed "$work/expanded" "$driver" expand "$work/archive" "$work/expanded" "$blocks" "$threads"
  expandWall=$best expandCpu=$cpu
  cmp -s "$input" "$work/expanded" || { echo "expanded file differs from the input" >&2; exit 1; }

  timed "$work/input.bz2" sh -c 'bzip2 -9 -c "$1" >"$2"' sh "$input" "$work/input.bz2"
  bzPackWall=$best bzPackCpu=$cpu
  bz=$(stat -c %s "$work/input.bz2")
  timed "$work/bz-out" sh -c 'bzip2 -d -c "$1" >"$2"' sh "$work/input.bz2" "$work/bz-out"
  bzExpandWall=$best bzExpandCpu=$cpu
  cmp -s "$input" "$work/bz-out" || { echo "bzip2 round trip differs" >&2; exit 1; }

  rows+=("$(printf '%-9s %5d %11d %11d %6s | %7s %7s %6s %6s %6s | %7s %7s %6s %6s %6s' \
    "$size" "$blocks" "$ours" "$bz" "$(ratio "$ours" "$bz")" \
    "$packWall" "$bzPackWall" "$(ratio "$packWall" "$bzPackWall")" "$packCpu" "$bzPackCpu" \
    "$expandWall" "$bzExpandWall" "$(ratio "$expandWall" "$bzExpandWall")" "$expandCpu" "$bzExpandCpu")")
  rm -f "$input" "$work"/archive "$work"/expanded "$work"/input.bz2 "$work"/bz-out
done

echo "Payload archive against bzip2 -9 / bzip2 -d (best wall time of $repeat runs, seconds;"
echo "cpu = user + system of that run; threads=$threads; input: ${generator:-corpus concatenation})"
printf '%-9s %5s %11s %11s %6s | %7s %7s %6s %6s %6s | %7s %7s %6s %6s %6s\n' \
  bytes blocks ours bzip2 ratio pack bz-9 ratio cpu bzcpu expand bz-d ratio cpu bzcpu
for row in "${rows[@]}"; do echo "$row"; done
