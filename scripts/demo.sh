#!/usr/bin/env bash
# Installs what is missing, builds, packs the sample family into a portable self-viewing file
# (it carries its own Qt runtime), checks the round trip, and opens the packed file in the
# viewer window.
# Without a display: with QT_QPA_PLATFORM=offscreen set it screenshots the Sender and General
# pages instead of opening the window; otherwise it says how to run it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --gui
build=${KINDREL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINDREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
out="$build/demo"
mkdir -p "$out"
kindrel="$build/bin/kindrel"
[ -x "$build/bin/kindrel-portable" ] || { echo "demo: $build/bin/kindrel-portable was not built" >&2; exit 1; }
# The portable viewer part (bin/kindrel-portable: launcher and runtime bundle) is what
# kindrel pack takes by default, so the packed file runs on a desktop without Qt 6.
"$kindrel" pack samples/sample_family.ged -o "$out/SampleFamily" \
  --title "The Sample Family" --sender-name "Eva Dvořák" --email eva.dvorak@example.org \
  --address1 "27 Lantern Row" --address2 "Ashcombe Mill, Wendle" --phone "+44 1632 960482" \
  --message "Here is the family as far as I have it. Corrections welcome!"
"$kindrel" trailer "$out/SampleFamily"
"$kindrel" expand "$out/SampleFamily" -o "$out/sample_family.expanded.ged"
cmp samples/sample_family.ged "$out/sample_family.expanded.ged"
echo "Packed $out/SampleFamily and expanded it back byte for byte."

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening $out/SampleFamily ..."
  exec "$out/SampleFamily"
elif [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
  for tab in 0 1; do
    name=$([ $tab = 0 ] && echo sender || echo general)
    "$out/SampleFamily" --screenshot-tab $tab --screenshot "$out/$name.png" \
      2> >(grep -v "does not support propagateSizeHints" >&2)
    echo "Screenshot of the $name page: $out/$name.png"
  done
else
  cat >&2 <<MSG
No display is available (DISPLAY and WAYLAND_DISPLAY are not set), so the viewer window
cannot open here. Either
  - run $out/SampleFamily on a desktop,
  - or run this demo in the offscreen mode, which screenshots the Sender and General pages:
      QT_QPA_PLATFORM=offscreen scripts/demo.sh
  - or screenshot a page under a virtual display:
      xvfb-run -a $out/SampleFamily --screenshot-tab 1 --screenshot general.png
MSG
  exit 3
fi
