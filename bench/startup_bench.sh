#!/usr/bin/env bash
# Start-up of the viewer, measured by kindrel-viewer --timing: from the program entry to the
# first painted window, to the loaded window (payload expanded, GEDCOM indexed and linked, the
# start individual shown), and the longest time the event loop went without turning while it
# loaded. Runs the packed sample family, then a packed generated GEDCOM.
# Usage: bench/startup_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: REPEAT (default 5) runs of the sample, REPEAT_LARGE (default 2) of the large file.
# Without a display it runs under xvfb-run, else with QT_QPA_PLATFORM=offscreen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
repeat=${REPEAT:-5}
repeatLarge=${REPEAT_LARGE:-2}
viewer=$build/bin/kindrel-viewer
kindrel=$build/bin/kindrel
generator=$build/bench/kindrel-gengedcom
for exe in "$viewer" "$kindrel" "$generator"; do
  [ -x "$exe" ] || { echo "startup_bench: $exe is missing; build $build first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-startup-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
runner=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if command -v xvfb-run >/dev/null; then
    runner=(xvfb-run -a -s "-screen 0 1280x800x24")
    echo "display: Xvfb (xvfb-run)"
  else
    export QT_QPA_PLATFORM=offscreen
    echo "display: offscreen"
  fi
fi

# The viewer part without debug information, as a file would be sent.
strip -o "$work/kindrel-viewer" "$viewer" 2>/dev/null || cp "$viewer" "$work/kindrel-viewer"

# Runs a packed file REPEAT times and prints each run's figures and their medians.
measure() {
  local file=$1 runs=$2 label=$3
  local paints=() loads=() gaps=() rss=()
  for ((r = 0; r < runs; r++)); do
    TMPDIR=$work /usr/bin/time -f "%M" -o "$work/rss" \
      "${runner[@]}" "$file" --timing 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
    paints+=("$(sed -n 's/^first paint: \([0-9]*\) ms$/\1/p' "$work/err")")
    loads+=("$(sed -n 's/^loaded: \([0-9]*\) ms.*$/\1/p' "$work/err")")
    gaps+=("$(sed -n 's/^longest event-loop gap while loading: \([0-9]*\) ms$/\1/p' "$work/err")")
    rss+=("$(tail -1 "$work/rss")")
    printf '  run %d: first paint %5d ms, loaded %6d ms, longest gap %4d ms, peak RSS %d MB\n' \
      $((r + 1)) "${paints[-1]}" "${loads[-1]}" "${gaps[-1]}" $((${rss[-1]} / 1024))
  done
  median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
  printf '%s: median first paint %s ms, loaded %s ms, longest gap %s ms\n' "$label" \
    "$(median "${paints[@]}")" "$(median "${loads[@]}")" "$(median "${gaps[@]}")"
}

echo "== packed sample family (59 individuals)"
"$kindrel" pack "$root/samples/sample_family.ged" -o "$work/SampleFamily" \
  --viewer "$work/kindrel-viewer" --title "The Sample Family" >/dev/null
measure "$work/SampleFamily" "$repeat" "sample"

echo "== packed generated GEDCOM ($individuals individuals)"
"$generator" "$individuals" -o "$work/large.ged"
start=$(date +%s.%N)
"$kindrel" pack "$work/large.ged" -o "$work/Large" --viewer "$work/kindrel-viewer" \
  --title "Generated" >/dev/null
printf '  packed in %.1f s: %d MB GEDCOM -> %d MB self-viewing file\n' \
  "$(echo "$(date +%s.%N) - $start" | bc)" $(($(stat -c %s "$work/large.ged") / 1048576)) \
  $(($(stat -c %s "$work/Large") / 1048576))
rm -f "$work/large.ged"
measure "$work/Large" "$repeatLarge" "large"
