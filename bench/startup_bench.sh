#!/usr/bin/env bash
# Start-up of the viewer, measured by kindrel-viewer --timing: from the program entry to the
# first painted window, to the loaded window (payload expanded, GEDCOM indexed and linked, the
# start individual shown), and the longest time the event loop went without turning while it
# loaded. Runs the packed sample family as a plain file (the dynamically linked viewer) and as
# a portable file (launcher and runtime bundle), the portable one on its first start (runtime
# unpacked into an empty cache) and on later starts (runtime found in the cache), all in the
# same run; "wall" is the time from starting the process to the first paint, so it includes
# loading the libraries and the launcher's work. Then a packed generated GEDCOM.
# Usage: bench/startup_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: REPEAT (default 5) runs of the sample, REPEAT_LARGE (default 2) of the large file.
# Without a display it starts one Xvfb for the whole run, else uses QT_QPA_PLATFORM=offscreen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
repeat=${REPEAT:-5}
repeatLarge=${REPEAT_LARGE:-2}
viewer=$build/bin/kindrel-viewer
kindrel=$build/bin/kindrel
generator=$build/bench/kindrel-gengedcom
portable=$build/bin/kindrel-portable
for exe in "$viewer" "$kindrel" "$generator" "$portable"; do
  [ -x "$exe" ] || { echo "startup_bench: $exe is missing; build $build first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-startup-bench.XXXXXX")
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if command -v Xvfb >/dev/null; then
    # One virtual display for every run, so its start-up is not counted.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=:$(cat "$work/display")
    echo "display: Xvfb $DISPLAY"
  else
    export QT_QPA_PLATFORM=offscreen
    echo "display: offscreen"
  fi
fi

# The viewer part without debug information, as a file would be sent.
strip -o "$work/kindrel-viewer" "$viewer" 2>/dev/null || cp "$viewer" "$work/kindrel-viewer"

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# Runs a packed file the given number of times and prints each run's figures and their
# medians; before each run, fresh_cache empties the runtime cache (a first start).
measure() {
  local file=$1 runs=$2 label=$3 fresh=${4:-}
  local paints=() walls=() loads=() gaps=() rss=() start
  for ((r = 0; r < runs; r++)); do
    [ -z "$fresh" ] || rm -rf "$XDG_CACHE_HOME"
    start=$(date +%s%3N)
    TMPDIR=$work /usr/bin/time -f "%M" -o "$work/rss" \
      "$file" --timing 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
    paints+=("$(sed -n 's/^first paint: \([0-9]*\) ms$/\1/p' "$work/err")")
    walls+=($(($(sed -n 's/^first paint at: \([0-9]*\) ms since 1970$/\1/p' "$work/err") - start)))
    loads+=("$(sed -n 's/^loaded: \([0-9]*\) ms.*$/\1/p' "$work/err")")
    gaps+=("$(sed -n 's/^longest event-loop gap while loading: \([0-9]*\) ms$/\1/p' "$work/err")")
    rss+=("$(tail -1 "$work/rss")")
    printf '  run %d: wall to first paint %5d ms, first paint %5d ms, loaded %6d ms, longest gap %4d ms, peak RSS %d MB\n' \
      $((r + 1)) "${walls[-1]}" "${paints[-1]}" "${loads[-1]}" "${gaps[-1]}" $((${rss[-1]} / 1024))
  done
  lastWall=$(median "${walls[@]}")
  printf '%s: median wall to first paint %s ms, first paint %s ms, loaded %s ms, longest gap %s ms\n' \
    "$label" "$lastWall" "$(median "${paints[@]}")" "$(median "${loads[@]}")" "$(median "${gaps[@]}")"
}

echo "== packed sample family (59 individuals): plain and portable"
"$kindrel" pack "$root/samples/sample_family.ged" -o "$work/SampleFamily" \
  --viewer "$work/kindrel-viewer" --title "The Sample Family" >/dev/null
"$kindrel" pack "$root/samples/sample_family.ged" -o "$work/SampleFamilyPortable" \
  --viewer "$portable" --title "The Sample Family" >/dev/null
printf '  sizes: plain %d bytes, portable %d bytes (runtime overhead %.1f MB)\n' \
  "$(stat -c %s "$work/SampleFamily")" "$(stat -c %s "$work/SampleFamilyPortable")" \
  "$(echo "($(stat -c %s "$work/SampleFamilyPortable") - $(stat -c %s "$work/SampleFamily")) / 1000000" | bc -l)"
measure "$work/SampleFamily" "$repeat" "plain"
plainWall=$lastWall
measure "$work/SampleFamilyPortable" "$repeat" "portable, first start (unpacks)" fresh
firstWall=$lastWall
"$work/SampleFamilyPortable" --timing 2>/dev/null  # the cache is warm from here on
measure "$work/SampleFamilyPortable" "$repeat" "portable, later starts (cache hit)"
printf 'portable against plain: cache hit %+d ms (goal: within 50 ms), first start %+d ms (goal: under 1000 ms)\n' \
  $((lastWall - plainWall)) $((firstWall - plainWall))

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
