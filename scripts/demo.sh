#!/usr/bin/env bash
# Installs what is missing, builds, packs the sample family into a self-viewing file,
# prints its trailer and expands it back.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --gui
build=${KINDREL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINDREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
out="$build/demo"
mkdir -p "$out"
kindrel="$build/src/cli/kindrel"
# The packer copies any executable in front of the archive. Until kindrel-viewer is built,
# the kindrel tool itself stands in as the viewer part, so the round trip below is real.
"$kindrel" pack samples/sample_family.ged -o "$out/SampleFamily" --viewer "$kindrel" \
  --title "The Sample Family" --sender-name "Kindrel Demo" --allow-extract
"$kindrel" trailer "$out/SampleFamily"
"$kindrel" expand "$out/SampleFamily" -o "$out/sample_family.expanded.ged"
cmp samples/sample_family.ged "$out/sample_family.expanded.ged"
echo "Packed $out/SampleFamily and expanded it back byte for byte."
