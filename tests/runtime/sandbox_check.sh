#!/usr/bin/env bash
# The portable packed sample on a machine without Qt 6: a bubblewrap sandbox of this machine
# with /dev/null over every libQt6* and libicu* file and an empty folder over the Qt plugin
# folders. The portable file must start, load the family and write its screenshot (twice: the
# first start unpacks, the second finds the runtime in the cache); the plain packed file must
# fail to start in the same sandbox. Then the launcher's messages: no display, a glibc older
# than the runtime needs, a damaged file, an unusable cache.
# Usage: tests/runtime/sandbox_check.sh BIN-DIR GEDCOM BUNDLE-TOOL LAUNCHER MANIFEST [SCREENSHOT]
set -euo pipefail
bin=$1 gedcom=$2 tool=$3 launcher=$4 manifest=$5 keep=${6:-}
command -v bwrap >/dev/null || { echo "sandbox_check: bwrap is missing (scripts/install-deps.sh --test)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kindrel-sandbox.XXXXXX")
trap 'rm -rf "$work"' EXIT
strip -o "$work/kindrel-viewer" "$bin/kindrel-viewer"
"$bin/kindrel" pack "$gedcom" -o "$work/Portable" --title "The Sample Family" \
  --sender-name "Eva Dvořák" --message "Packed for the sandbox check." >/dev/null
"$bin/kindrel" pack "$gedcom" -o "$work/Plain" --viewer "$work/kindrel-viewer" >/dev/null
"$bin/kindrel" trailer "$work/Portable" | grep -q '^Kind: portable'
"$bin/kindrel" trailer "$work/Plain" | grep -q '^Kind: plain'

hide=()
while IFS= read -r -d '' file; do hide+=(--ro-bind /dev/null "$file"); done < <(
  find /lib /usr/lib /usr/lib64 /usr/local/lib -xdev \( -name 'libQt6*' -o -name 'libicu*' \) \
    -type f -print0 2>/dev/null)
while IFS= read -r -d '' dir; do hide+=(--tmpfs "$dir"); done < <(
  find /usr/lib /usr/lib64 /usr/local/lib -xdev -type d -path '*qt6*' -name plugins -print0 2>/dev/null)
[ ${#hide[@]} -gt 20 ] || { echo "sandbox_check: found no Qt 6 to hide" >&2; exit 1; }
mkdir -p "$work/home"
sandbox() {
  bwrap --dev-bind / / "${hide[@]}" --setenv QT_QPA_PLATFORM offscreen \
    --setenv HOME "$work/home" --setenv XDG_CACHE_HOME "$work/home/.cache" \
    --setenv XDG_CONFIG_HOME "$work/home/.config" --setenv TMPDIR "$work" \
    --unsetenv LD_LIBRARY_PATH --unsetenv QT_PLUGIN_PATH "$@"
}

# The sandbox really lacks Qt: the plain file cannot start.
if sandbox "$work/Plain" --timing >"$work/plain.out" 2>&1; then
  echo "sandbox_check: the plain file started without Qt 6" >&2; exit 1
fi
grep -q "libQt6" "$work/plain.out" || { cat "$work/plain.out" >&2; exit 1; }
echo "plain file in the sandbox: $(head -1 "$work/plain.out")"

for run in first second; do
  rm -f "$work/shot.png"
  sandbox "$work/Portable" --screenshot "$work/shot.png" 2>"$work/err" || {
    echo "sandbox_check: the portable file failed on its $run start:" >&2; cat "$work/err" >&2; exit 1; }
  [ -s "$work/shot.png" ] || { echo "sandbox_check: no screenshot on the $run start" >&2; exit 1; }
  sandbox "$work/Portable" --timing 2>"$work/timing" || { cat "$work/timing" >&2; exit 1; }
  grep -q '^loaded: [0-9]* ms (ok)$' "$work/timing" || { cat "$work/timing" >&2; exit 1; }
  echo "portable file in the sandbox, $run round: $(grep '^first paint:' "$work/timing")"
done
runtimes=("$work"/home/.cache/kindrel/runtime-*/kindrel-viewer)
[ ${#runtimes[@]} -eq 1 ] || { echo "sandbox_check: expected one cached runtime" >&2; exit 1; }
if [ -n "$keep" ]; then cp "$work/shot.png" "$keep"; fi

# Each failure ends in one sentence and its exit code, never a loader error.
expect_failure() {
  local code=$1 text=$2; shift 2
  local got=0
  "$@" 2>"$work/err" >/dev/null || got=$?
  if [ "$got" != "$code" ] || ! grep -q "$text" "$work/err" || [ "$(wc -l <"$work/err")" != 1 ]; then
    echo "sandbox_check: expected exit $code and \"$text\" from $*, got $got:" >&2
    cat "$work/err" >&2; exit 1
  fi
  echo "message (exit $code): $(cat "$work/err")"
}
expect_failure 3 "No display is available" sandbox env -u QT_QPA_PLATFORM -u DISPLAY \
  -u WAYLAND_DISPLAY "$work/Portable"
"$tool" --launcher "$launcher" --manifest "$manifest" --glibc 9.99 --cxx 3.4.30 \
  --compat-glibc 9.99 --level 1 --frame-cache "$work/frames" -o "$work/future" >/dev/null
"$bin/kindrel" pack "$gedcom" -o "$work/Future" --viewer "$work/future" >/dev/null
expect_failure 4 "older than the glibc 9.99 that this viewer needs" sandbox "$work/Future"
cp "$work/Portable" "$work/Damaged"
size=$(stat -c %s "$bin/kindrel-portable")
printf 'X' | dd of="$work/Damaged" bs=1 seek=$((size - 100)) conv=notrunc status=none  # footer
expect_failure 6 "This file is damaged" sandbox "$work/Damaged"
sandbox env XDG_CACHE_HOME=/proc/kindrel-no-cache "$work/Portable" --timing 2>"$work/err" || {
  cat "$work/err" >&2; exit 1; }
grep -q "^Note: the cache cannot be used" "$work/err" || { cat "$work/err" >&2; exit 1; }
[ -z "$(find "$work" -maxdepth 1 -name 'kindrel-runtime-*')" ] || {
  echo "sandbox_check: the private runtime copy was left behind" >&2; exit 1; }
echo "private copy when the cache cannot be written: removed after the run"
echo "sandbox check passed"
