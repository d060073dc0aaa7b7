#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UBSan and runs each
# for a while. Usage: scripts/fuzz.sh [seconds per target, default 60] [target names...]
# New crashes land in fuzz/work/<target>/; copy them into tests/fuzz/corpus/<target>/ once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
secs=${1:-60}; shift || true
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DKINDREL_FUZZ=ON -DKINDREL_BUILD_GUI=OFF \
  -DKINDREL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$build/fuzz" "$build/tests" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x \
    ! -name 'fuzz_replay_*' -printf '%f\n' 2>/dev/null | sed 's/^fuzz_//' | sort -u)
fi
for t in "${targets[@]}"; do
  bin=$(find "$build" -type f -name "fuzz_$t" -perm -u+x | head -n1)
  mkdir -p "fuzz/work/$t/corpus" "fuzz/work/$t/crashes"
  seeds="tests/fuzz/corpus/$t"; mkdir -p "$seeds"
  echo "== $t ($secs s)"
  "$bin" -max_total_time="$secs" -artifact_prefix="fuzz/work/$t/crashes/" \
    "fuzz/work/$t/corpus" "$seeds" || echo "!! $t found a crash; see fuzz/work/$t/crashes/"
done
