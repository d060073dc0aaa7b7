#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UBSan and runs each
# for a while, one after the other, in a single process each.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target names...]
# Targets: date gedcom_lines trailer archive gedcom_load highlight highlight_gedcom settings
# (all of them when none is named). FUZZ_NICE=1 runs them under nice -n 19.
# New crashes land in fuzz/work/<target>/crashes/; copy them into tests/fuzz/corpus/<target>/
# once fixed, where the replay tests of the normal build run them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
secs=${1:-60}; shift || true
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DKINDREL_FUZZ=ON -DKINDREL_BUILD_GUI=OFF \
  -DKINDREL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

# Options of one target beyond the defaults: the largest input libFuzzer makes.
target_options() {
  case "$1" in
    # Archives up to a whole block of real size (615,399 bytes before packing).
    archive) echo "-max_len=700000" ;;
    # Families of a few hundred records, and settings files of every section.
    gedcom_load|highlight_gedcom) echo "-max_len=16384" ;;
    settings) echo "-max_len=8192" ;;
    *) echo "" ;;
  esac
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$build/fuzz" "$build/tests" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x \
    ! -name 'fuzz_replay_*' -printf '%f\n' 2>/dev/null | sed 's/^fuzz_//' | sort -u)
fi
nice=()
[ "${FUZZ_NICE:-0}" = 1 ] && nice=(nice -n 19)
for t in "${targets[@]}"; do
  bin=$(find "$build" -type f -name "fuzz_$t" -perm -u+x | head -n1)
  if [ -z "$bin" ]; then echo "!! no fuzz target $t" >&2; exit 2; fi
  mkdir -p "fuzz/work/$t/corpus" "fuzz/work/$t/crashes"
  seeds="tests/fuzz/corpus/$t"; mkdir -p "$seeds"
  echo "== $t ($secs s)"
  # shellcheck disable=SC2046
  "${nice[@]}" "$bin" -max_total_time="$secs" -print_final_stats=1 $(target_options "$t") \
    -artifact_prefix="fuzz/work/$t/crashes/" "fuzz/work/$t/corpus" "$seeds" ||
    echo "!! $t found a crash; see fuzz/work/$t/crashes/"
done
