#!/usr/bin/env bash
# Builds the portable viewer part: the launcher followed by the runtime bundle of
# kindrel-viewer with every shared library and Qt plugin it needs that a desktop cannot be
# counted on to have. The libraries are found from the real dependencies (readelf, ldd); the
# ones the machine itself must provide (see is_system below) are left out and listed.
# Usage: scripts/make-runtime.sh VIEWER LAUNCHER BUNDLE-TOOL QT-PLUGIN-DIR OUTPUT WORK-DIR
# Beside OUTPUT it also leaves kindrel-plain, the viewer without its debug information.
# Stripped copies and compressed frames are kept in WORK-DIR, so a rebuild after a change of
# the viewer compresses only the viewer again.
set -euo pipefail
viewer=$1 launcher=$2 tool=$3 plugins=$4 output=$5 work=$6
stage=$work/stage
mkdir -p "$stage" "$work/frames"

# Plugins the viewer uses: the X11 and Wayland platforms (and offscreen for runs without a
# screen), the Wayland shell and window decorations, input methods, and the image formats of
# the reports. Others (GL integrations, printing, TLS, styles) are left out.
wanted_plugins=(
  platforms/libqxcb.so platforms/libqwayland-generic.so platforms/libqoffscreen.so
  wayland-shell-integration/libxdg-shell.so wayland-decoration-client/libbradient.so
  platforminputcontexts/libcomposeplatforminputcontextplugin.so
  platforminputcontexts/libibusplatforminputcontextplugin.so
  imageformats/libqjpeg.so imageformats/libqgif.so imageformats/libqico.so
)

# Libraries that come from the machine: glibc, the GPU stack, the X11 core, fonts, and the
# libraries that the usual portable-Linux exclusion lists leave to the system because they
# must match it.
is_system() {
  case "$1" in
    ld-linux*.so.* | libc.so.* | libm.so.* | libdl.so.* | libpthread.so.* | librt.so.* | \
      libresolv.so.* | libutil.so.* | libanl.so.* | libmvec.so.* | libBrokenLocale.so.* | \
      libnss_*.so.* | libthread_db.so.*) return 0 ;;  # glibc
    libGL.so.* | libEGL.so.* | libGLX.so.* | libGLdispatch.so.* | libOpenGL.so.* | \
      libGLESv2.so.* | libglapi.so.* | libdrm.so.* | libgbm.so.* | libvulkan.so.* | \
      libwayland-egl.so.*) return 0 ;;  # OpenGL and the GPU drivers
    libX11.so.* | libX11-xcb.so.* | libxcb.so.* | libXau.so.* | libXdmcp.so.* | \
      libxcb-dri2.so.* | libxcb-dri3.so.* | libICE.so.* | libSM.so.*) return 0 ;;  # X11 core
    libfontconfig.so.* | libfreetype.so.* | libharfbuzz.so.* | libexpat.so.* | \
      libfribidi.so.* | libthai.so.*) return 0 ;;  # fonts and text shaping
    libz.so.* | libdbus-1.so.* | libgpg-error.so.* | libcom_err.so.* | libasound.so.* | \
      libjack.so.* | libp11-kit.so.* | libusb-1.0.so.* | libuuid.so.* | libgmp.so.*)
      return 0 ;;  # system services and libraries every desktop has
  esac
  return 1
}

declare -A path_of=() seen=() system_core=() system_all=()
bundled=()

# Maps the sonames of an ELF file's dependencies to the files the loader would take.
resolve() {
  local line name path
  while read -r line; do
    if [[ $line =~ ^([^[:space:]]+)\ =\>\ (/[^[:space:]]+) ]]; then
      name=${BASH_REMATCH[1]} path=${BASH_REMATCH[2]}
      [ -n "${path_of[$name]:-}" ] || path_of[$name]=$(readlink -f "$path")
    fi
  done < <(ldd "$1")
}

needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'; }

# Walks the dependencies from the given files, stopping at system libraries.
walk() {
  local core=$1; shift
  local queue=("$@") file name
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}; queue=("${queue[@]:1}")
    resolve "$file"
    for name in $(needed "$file"); do
      if is_system "$name"; then
        system_all[$name]=1
        [ "$core" = core ] && system_core[$name]=1
        continue
      fi
      [ -n "${seen[$name]:-}" ] && continue
      [ -n "${path_of[$name]:-}" ] || { echo "make-runtime: $name (needed by $file) not found" >&2; exit 1; }
      seen[$name]=1
      bundled+=("$name")
      queue+=("${path_of[$name]}")
    done
  done
}

plugin_files=()
for plugin in "${wanted_plugins[@]}"; do
  if [ -f "$plugins/$plugin" ]; then plugin_files+=("$plugins/$plugin")
  else echo "make-runtime: plugin $plugin is not installed; left out" >&2; fi
done
walk core "$viewer"
walk plugins "${plugin_files[@]}"

# A stripped copy, made again only when its source is newer.
stage_file() {
  local source=$1 target=$stage/$2
  mkdir -p "$(dirname "$target")"
  if [ ! -f "$target" ] || [ "$source" -nt "$target" ]; then
    strip --strip-all -o "$target.tmp" "$source" && mv "$target.tmp" "$target"
    touch -r "$source" "$target"
  fi
  printf '755\t%s\t%s\n' "$2" "$target" >> "$work/manifest.new"
}

: > "$work/manifest.new"
rm -f "$stage/kindrel-viewer"  # the viewer always goes in as built
stage_file "$viewer" kindrel-viewer
for name in $(printf '%s\n' "${bundled[@]}" | sort); do
  case "$name" in
    libstdc++.so.* | libgcc_s.so.*) stage_file "${path_of[$name]}" "lib/compat/$name" ;;
    *) stage_file "${path_of[$name]}" "lib/$name" ;;
  esac
done
for file in "${plugin_files[@]}"; do stage_file "$file" "plugins/${file#"$plugins"/}"; done
printf '[Paths]\nPrefix=.\nPlugins=plugins\n' > "$stage/qt.conf"
printf '644\tqt.conf\t%s\n' "$stage/qt.conf" >> "$work/manifest.new"
printf '%s\n' "${!system_core[@]}" | sort > "$stage/system-libraries.txt"
printf '644\tsystem-libraries.txt\t%s\n' "$stage/system-libraries.txt" >> "$work/manifest.new"
mv "$work/manifest.new" "$work/manifest"

# The newest glibc and libstdc++ versions the bundled files ask for; the bundled libstdc++
# (used only where the system's is older) counts apart.
versions() {
  local select=(-v); [ "$2" = compat ] && select=()
  grep "${select[@]}" -F $'\tlib/compat/' "$work/manifest" | cut -f3 | while read -r f; do
    if [ "$(head -c 4 "$f" | tail -c 3)" = ELF ]; then
      readelf -V --wide "$f" 2>/dev/null | grep -o "Name: $1[0-9.]*" || true
    fi
  done | sed "s/Name: $1//" | sort -uV | tail -1
}
glibc=$(versions GLIBC_ main)
compat_glibc=$(versions GLIBC_ compat)
cxx=$(versions GLIBCXX_ main)

echo "make-runtime: bundled libraries: $(printf '%s\n' "${bundled[@]}" | sort | tr '\n' ' ')"
echo "make-runtime: left to the system: $(printf '%s\n' "${!system_all[@]}" | sort | tr '\n' ' ')"
echo "make-runtime: plugins: $(printf '%s\n' "${plugin_files[@]#"$plugins"/}" | tr '\n' ' ')"
echo "make-runtime: needs glibc $glibc or newer, and GLIBCXX $cxx from the system's" \
  "libstdc++ or else the bundled one (which needs glibc $compat_glibc)"
# The plain viewer part beside it: the same viewer, stripped (kindrel pack --plain).
cp "$stage/kindrel-viewer" "$(dirname "$output")/kindrel-plain.tmp"
mv "$(dirname "$output")/kindrel-plain.tmp" "$(dirname "$output")/kindrel-plain"
"$tool" --launcher "$launcher" --manifest "$work/manifest" --glibc "$glibc" --cxx "$cxx" \
  --compat-glibc "$compat_glibc" \
  --level 19 --frame-cache "$work/frames" -o "$output"
