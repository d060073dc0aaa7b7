#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/install-deps.sh [--gui] [--test] [--bench]   (no option: everything)
set -euo pipefail

core=(build-essential cmake pkg-config libdivsufsort-dev libcli11-dev bzip2)
# The report tests read PDFs back with poppler, HTML with xmllint and RTF through LibreOffice.
# The install test checks the desktop entry (desktop-file-utils) and the MIME type
# (shared-mime-info; xdg-utils' xdg-mime asks File::MimeInfo's mimetype outside a desktop),
# and with GLib's gio which program a desktop opens a .ged with.
test=(libgtest-dev libgmock-dev clang libclang-rt-14-dev bubblewrap poppler-utils libxml2-utils
  libreoffice-writer-nogui desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
  libglib2.0-bin)
# The portable viewer part: zstd and xxHash for its runtime bundle, the Wayland platform plugin
# it carries, binutils' readelf and strip to find and trim the libraries. Reports: Qt SVG
# (qt6-svg-dev; libqt6svg6-dev is only a virtual name) and the DejaVu fonts they print in.
gui=(qt6-base-dev qt6-base-dev-tools qt6-svg-dev fonts-dejavu-core libgl-dev xvfb xauth
  libzstd-dev libxxhash-dev qt6-wayland binutils)
bench=(libbenchmark-dev time hyperfine)

want=("${core[@]}")
if [ $# -eq 0 ]; then set -- --gui --test --bench; fi
for arg in "$@"; do
  case "$arg" in
    --gui) want+=("${gui[@]}") ;;
    --test) want+=("${test[@]}") ;;
    --bench) want+=("${bench[@]}") ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
  esac
done

# Node.js with npm (for the peer GEDCOM readers of the benchmarks) may come from Debian or
# from another Node.js distribution; only ask Debian when no npm is on the path.
if printf '%s\n' "${want[@]}" | grep -qx hyperfine && ! command -v npm >/dev/null 2>&1; then
  want+=(nodejs npm)
fi

missing=()
for pkg in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
