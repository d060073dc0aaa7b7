#!/usr/bin/env bash
# Load benchmark: times kindrel's GEDCOM load (index, link, order marriages) on generated
# files of 100,000 and 1,000,000 individuals against two npm GEDCOM readers, with peak RSS.
# Usage: bench/load_bench.sh [build dir, default build] [sizes...]
# Peers get PEER_TIMEOUT seconds (default 900) and a heap of PEER_HEAP_MB (default 12000).
# The files go to ${TMPDIR:-/tmp} and are deleted afterwards; the peers are installed into
# bench/node_peers/ (not committed).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; shift || true
sizes=("$@"); [ ${#sizes[@]} -eq 0 ] && sizes=(100000 1000000)
peers=bench/node_peers
tmp=${TMPDIR:-/tmp}
peer_timeout=${PEER_TIMEOUT:-900}
cmake --build "$build" -j2 --target kindrel-load-bench kindrel-gengedcom >/dev/null
if [ ! -d "$peers/node_modules/read-gedcom" ] || [ ! -d "$peers/node_modules/parse-gedcom" ]; then
  mkdir -p "$peers"
  npm install --prefix "$peers" --no-audit --no-fund read-gedcom parse-gedcom >/dev/null
fi
modules=$(cd "$peers/node_modules" && pwd)

# Runs a command under /usr/bin/time; prints "seconds rss_kb status".
measure() {
  local log; log=$(mktemp)
  local status=ok
  if ! timeout "$peer_timeout" /usr/bin/time -f "%e %M" -o "$log" "$@" >"$log.out" 2>"$log.err"; then
    status=failed
    grep -qi "heap\|memory" "$log.err" && status=out-of-memory
    [ -s "$log" ] || status=timeout
  fi
  local counts; counts=$(grep -o "individuals [0-9]* families [0-9]*" "$log.out" | head -1 || true)
  echo "$(tail -1 "$log" 2>/dev/null || echo "- -") $status ${counts// /_}"
  rm -f "$log" "$log.out" "$log.err"
}

printf "%-10s %-13s %9s %10s %9s %9s  %s\n" individuals reader seconds peak_MB "vs_ours" file_MB status
for n in "${sizes[@]}"; do
  file="$tmp/kindrel_bench_$n.ged"
  "$build/bench/kindrel-gengedcom" "$n" -o "$file" >/dev/null
  size_mb=$(( $(stat -c %s "$file") / 1048576 ))
  read -r ours_s ours_kb ours_status ours_counts < <(measure "$build/bench/kindrel-load-bench" "$file")
  printf "%-10s %-13s %9s %10s %9s %9s  %s %s\n" "$n" kindrel "$ours_s" $((ours_kb / 1024)) 1.0 \
    "$size_mb" "$ours_status" "$ours_counts"
  for peer in read_gedcom parse_gedcom; do
    read -r s kb status counts < <(measure node --max-old-space-size="${PEER_HEAP_MB:-12000}" \
      "bench/peers/${peer}_count.js" "$modules" "$file")
    ratio=-
    [ "$status" = ok ] && ratio=$(awk -v a="$s" -v b="$ours_s" 'BEGIN { printf "%.1f", a / b }')
    mb=-; [ "$kb" != "-" ] && mb=$((kb / 1024))
    printf "%-10s %-13s %9s %10s %9s %9s  %s %s\n" "$n" "${peer/_/-}" "$s" "$mb" "$ratio" \
      "$size_mb" "$status" "$counts"
  done
  rm -f "$file"
done
