#!/usr/bin/env bash
# Times the printed reports, offscreen, on a generated GEDCOM: the List report (default
# columns, grey lines, dividers) to PDF with a bare QPdfWriter loop of the same labels in the
# same run, the memory it adds to the loaded file, list pages to PNG, the first page of the
# descendants of @I1@ and cascading pedigree charts (kindrel-report-bench); the preview's first
# page, last page and Page Down (kindrel-preview-bench); then the whole list
# as PDF, HTML and RTF through `kindrel report`, with `kindrel list` on the same file for the
# ratio, each with its peak memory.
# Usage: bench/report_bench.sh [BUILD_DIR] [INDIVIDUALS]   (defaults: build, 1000000)
# Environment: SEED (default 1); PNG_PAGES (default 200); CHARTS (default 1000); MOVES
# (default 50) Page Downs timed at the start and again in the middle of the list.
# Goals: PDF >= 150 pages/s and >= 0.6 x the bare loop; HTML and RTF < 15 s; peak memory <=
# loaded + 64 MB; descendants first page < 2 s; pedigree >= 100 charts/s; PNG >= 10 pages/s.
# A peer program's report is not run here: installing or running another genealogy program
# is against this project's rules, so there is no peer figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
individuals=${2:-1000000}
for target in bench/kindrel-report-bench bench/kindrel-preview-bench bench/kindrel-gengedcom \
  bin/kindrel; do
  [ -x "$build/$target" ] || { echo "report_bench: build $(basename "$target") first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-report-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
file=$work/generated.ged
"$build/bench/kindrel-gengedcom" "$individuals" --seed "${SEED:-1}" -o "$file" >/dev/null
# The new file written back first, so that the timed runs share no disk with it.
sync
echo "== $individuals individuals, $(nproc) cores"
"$build/bench/kindrel-report-bench" "$file" "${PNG_PAGES:-200}" "${CHARTS:-1000}" \
  2> >(grep -v propagateSizeHints >&2)
echo "== the preview of the List report (goals: first page < 300 ms, last < 100 ms, Page Down < 50 ms)"
"$build/bench/kindrel-preview-bench" "$file" "${MOVES:-50}" \
  2> >(grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR >&2)

echo "== kindrel on the same file (load included): seconds, peak RSS"
kindrel=$build/bin/kindrel
# Runs a command quietly; prints its wall time and peak memory.
t() {
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
    { cat "$work/err.txt" >&2; return 1; }
  read -r seconds kb <"$work/time.txt"
  printf '%-44s %9.2f s %8.0f MB\n' "$label" "$seconds" "$((kb / 1024))"
}
t "kindrel list (default report columns)" "$kindrel" list "$file" --columns 1,2,7,65,67,19,18
t "kindrel report list, first page only (PDF)" \
  "$kindrel" report list "$file" --grey --dividers --pages 1 -o "$work/first.pdf"
t "kindrel report list -o list.pdf" "$kindrel" report list "$file" --grey --dividers -o "$work/list.pdf"
printf '%-44s %s\n' "  list.pdf" "$(pdfinfo "$work/list.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 " pages" }'), $(du -m "$work/list.pdf" | cut -f1) MB"
rm -f "$work/list.pdf"
t "kindrel report list -o list.html" "$kindrel" report list "$file" --grey --dividers -o "$work/list.html"
rm -f "$work/list.html"
t "kindrel report list -o list.rtf" "$kindrel" report list "$file" --grey --dividers -o "$work/list.rtf"
rm -f "$work/list.rtf"
t "kindrel report descendants of @I1@, page 1 (PDF)" \
  "$kindrel" report descendants "$file" --individual @I1@ --pages 1 -o "$work/des.pdf"
echo "(no peer: another genealogy program may not be installed or run here)"
