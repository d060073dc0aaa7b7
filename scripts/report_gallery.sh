#!/usr/bin/env bash
# Writes every printed report over the sample family as PDF, RTF and HTML, turns the RTF and
# HTML files into PDF with LibreOffice (a private profile in a temporary folder) and every PDF
# into PNG pages by pdftoppm, so that all of them can be looked at side by side.
# Usage: scripts/report_gallery.sh OUT_DIR [BUILD_DIR]   (BUILD_DIR defaults to build)
# Environment: DPI (default 60) of the PNG pages; GEDCOM (default samples/sample_family.ged).
# Output: OUT_DIR/<report>-<format>-<page>.png, the written files in OUT_DIR/files/ and a
# summary (pages per report and format) in OUT_DIR/index.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUT_DIR [BUILD_DIR]" >&2; exit 2; }
out=$1
build=${2:-$root/build}
kindrel=$build/bin/kindrel
gedcom=${GEDCOM:-$root/samples/sample_family.ged}
dpi=${DPI:-60}
[ -x "$kindrel" ] || { echo "report_gallery: build kindrel first ($kindrel)" >&2; exit 2; }
for tool in soffice pdftoppm pdfinfo; do
  command -v "$tool" >/dev/null || { echo "report_gallery: $tool is missing" >&2; exit 2; }
done
mkdir -p "$out/files"
out=$(cd "$out" && pwd)
rm -f "$out"/*.png "$out/files"/*
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-gallery.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# name | kind | options
cases=(
  "general|general|"
  "individual|individual|--individual 12"
  "family|family|--individual 4"
  "pedigree|pedigree|--individual 45"
  "pedigree-cascading|pedigree|--individual 45 --cascading"
  "descendants|descendants|--individual 1"
  "descendants-columns|descendants|--individual 1 --des-columns --dividers"
  "list|list|--grey --dividers"
  "list-wide|list|--columns 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20 --mark-highlighted --highlight +17:F"
  "highlighted|highlighted|--highlight +17:F --grey"
  "islands|islands|--grey --dividers"
)

# LibreOffice turns one file into PDF beside the others (writer for RTF, writer/web for HTML).
to_pdf() {
  soffice "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf \
    --outdir "$work/converted" "$1" >/dev/null 2>&1
}

printf '%-22s %5s %5s %5s\n' report pdf rtf html >"$out/index.txt"
for entry in "${cases[@]}"; do
  IFS='|' read -r name kind options <<<"$entry"
  pages=()
  for format in pdf rtf html; do
    file=$out/files/$name.$format
    # shellcheck disable=SC2086
    "$kindrel" report "$kind" "$gedcom" $options -o "$file" >/dev/null
    pdf=$file
    if [ "$format" != pdf ]; then
      mkdir -p "$work/converted"
      to_pdf "$file"
      pdf=$work/converted/$name.pdf
      [ -f "$pdf" ] || { echo "report_gallery: LibreOffice did not convert $file" >&2; exit 1; }
      mv "$pdf" "$out/files/$name.$format.pdf"
      pdf=$out/files/$name.$format.pdf
    fi
    pages+=("$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')")
    pdftoppm -r "$dpi" -png "$pdf" "$out/$name-$format"
  done
  printf '%-22s %5s %5s %5s\n' "$name" "${pages[@]}" >>"$out/index.txt"
done
cat "$out/index.txt"
echo "report_gallery: $(find "$out" -maxdepth 1 -name '*.png' | wc -l) pages in $out"
