#!/usr/bin/env bash
# `cmake --install` into a temporary tree: the programs, the desktop entry, the MIME type and
# the icons land where a desktop looks for them; the entry passes desktop-file-validate; once
# the MIME database of the tree is built, xdg-mime names a .ged (with and without a UTF-8 byte
# order mark, and without its extension) application/x-gedcom; the installed kindrel packs a
# file with the viewer part installed beside it. A second install without DESTDIR brings the
# MIME cache up to date itself, and GLib's gio opens a .ged with the entry. Checks whose
# tool is missing are named and skipped (exit 77).
# Usage: tests/install/install_check.sh BUILD-DIR GEDCOM
set -euo pipefail
build=$1 gedcom=$2
id=org.example.Kindrel
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-install.XXXXXX")
# cmake --install writes the build's install_manifest.txt; a real install's list is kept.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work.manifest"
trap 'if [ -f "$work.manifest" ]; then mv "$work.manifest" "$manifest"; else rm -f "$manifest"; fi; rm -rf "$work"' EXIT
skipped=()
fail() { echo "install_check: $*" >&2; exit 1; }
have() {
  command -v "$1" >/dev/null 2>&1 && return 0
  skipped+=("$1"); echo "install_check: $1 is missing, its check is skipped (scripts/install-deps.sh --test)"
  return 1
}

# 1. Into a staging tree (DESTDIR): files only, no desktop caches touched.
root=$work/root prefix=/usr
DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
share=$root$prefix/share bin=$root$prefix/bin
for program in kindrel kindrel-viewer; do
  [ -x "$bin/$program" ] || fail "$program is not installed in bin"
done
if [ -f "$build/bin/kindrel-portable" ]; then
  [ -x "$bin/kindrel-portable" ] && [ -x "$bin/kindrel-plain" ] ||
    fail "the viewer parts kindrel-portable and kindrel-plain are not installed beside kindrel"
fi
entry=$share/applications/$id.desktop
for file in "$entry" "$share/mime/packages/$id.xml" "$share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -s "$file" ] || fail "missing ${file#"$root"}"
done
for size in 48 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/$id.png
  [ -s "$icon" ] || fail "missing ${icon#"$root"}"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x$size" ] || fail "${icon#"$root"} is $dims, not ${size}x$size"
done
[ ! -e "$share/mime/mime.cache" ] || fail "a DESTDIR install built the MIME cache"
# The full path: a desktop drops an entry whose program is not on its PATH.
grep -qx "Exec=$prefix/bin/kindrel-viewer --open-dialog %f" "$entry" ||
  fail "the entry's Exec line: $(grep '^Exec=' "$entry")"
grep -qx "Icon=$id" "$entry" || fail "the entry's Icon line"
if readelf -d "$bin/kindrel-viewer" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
  fail "the installed viewer still looks for libraries in the build folder"
fi
"$bin/kindrel-viewer" --help >/dev/null || fail "the installed viewer does not start"
echo "installed: $(cd "$root" && find . -type f | wc -l) files under DESTDIR"

if have desktop-file-validate; then
  desktop-file-validate "$entry" >"$work/validate" 2>&1 || { cat "$work/validate" >&2; fail "desktop-file-validate"; }
  [ ! -s "$work/validate" ] || { cat "$work/validate" >&2; fail "desktop-file-validate warned"; }
  echo "desktop-file-validate: no complaint"
fi

# 2. The MIME type as a desktop would see it from the installed tree alone.
if have update-mime-database && have xdg-mime; then
  XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime"
  head -c 2000 "$gedcom" | sed '1s/^\xef\xbb\xbf//' >"$work/plain.ged"
  { printf '\xef\xbb\xbf'; cat "$work/plain.ged"; } >"$work/bom.ged"
  cp "$work/bom.ged" "$work/family-bom"
  cp "$work/plain.ged" "$work/family"
  for file in plain.ged bom.ged family family-bom; do
    type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
      XDG_DATA_HOME="$work/empty" XDG_DATA_DIRS="$share:/usr/share" xdg-mime query filetype "$work/$file")
    [ "$type" = application/x-gedcom ] || fail "xdg-mime names $file \"$type\", not application/x-gedcom"
  done
  echo "xdg-mime: .ged with and without a byte order mark, and by content: application/x-gedcom"
fi

# 3. The installed kindrel packs with the viewer part beside it.
"$bin/kindrel" pack "$gedcom" -o "$work/Packed" --title "Installed" >/dev/null || fail "kindrel pack"
kind=$("$bin/kindrel" trailer "$work/Packed" | sed -n 's/^Kind: \([a-z]*\).*/\1/p')
expected=plain
[ -x "$bin/kindrel-portable" ] && expected=portable
[ "$kind" = "$expected" ] || fail "the installed kindrel packed a $kind file, expected $expected"
echo "installed kindrel pack: a $kind file"

# 4. Without DESTDIR the install brings the MIME cache up to date itself. The prefix has a
# blank in it, so the entry's Exec line quotes the path; the prefix's bin is not on PATH, as
# ~/.local/bin often is not, and a desktop still opens a .ged with the entry.
if have update-mime-database; then
  prefix2="$work/my prefix" share2="$work/my prefix/share"
  XDG_DATA_DIRS="$share2:/usr/share" cmake --install "$build" --prefix "$prefix2" \
    >"$work/install2.log" 2>&1 ||
    { cat "$work/install2.log" >&2; fail "cmake --install without DESTDIR failed"; }
  [ -s "$share2/mime/mime.cache" ] || fail "the install left the MIME cache unbuilt"
  grep -q 'application/x-gedcom' "$share2/mime/globs2" ||
    fail "the MIME globs lack application/x-gedcom"
  entry2=$share2/applications/$id.desktop
  grep -qxF "Exec=\"$prefix2/bin/kindrel-viewer\" --open-dialog %f" "$entry2" ||
    fail "the entry's Exec line under a prefix with a blank: $(grep '^Exec=' "$entry2")"
  grep -qF "$id.desktop" "$build/install_manifest.txt" || fail "the entry is not in the install manifest"
  if have desktop-file-validate; then
    desktop-file-validate "$entry2" >"$work/validate2" 2>&1 && [ ! -s "$work/validate2" ] ||
      { cat "$work/validate2" >&2; fail "desktop-file-validate on the quoted Exec line"; }
  fi
  echo "install without DESTDIR: MIME cache built, Exec names the quoted full path"
  if have gio; then
    mkdir -p "$work/config"
    default=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION PATH=/usr/bin:/bin \
      XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/config" XDG_DATA_HOME="$share2" \
      XDG_DATA_DIRS=/usr/share gio mime application/x-gedcom 2>&1 | sed -n 1p)
    case $default in
      *"$id.desktop"*) echo "gio: a .ged opens with $id.desktop, its program off PATH" ;;
      *) fail "gio's default for application/x-gedcom: $default" ;;
    esac
  fi
fi

if [ ${#skipped[@]} -gt 0 ]; then
  echo "install check passed, skipped for want of: ${skipped[*]}"
  exit 77
fi
echo "install check passed"
