#!/usr/bin/env bash
# Builds the Qt the Windows game ships (Core, Gui, Widgets, Test, the windows platform
# and the vista style) from the qt6-base source of the Debian release this runs on, with
# Debian's security fixes for those parts, and keeps it in a cache outside the clone.
# A cross build needs moc, rcc and uic of the same Qt version, and the host's own Qt
# gives them: hence the host's source, not the newest upstream.
# Prints the Qt prefix on its last line. Built again only when the source version, the
# patches, the options or the toolchain change; each such Qt gets a folder of its own.
#   SPINZELLE_CACHE  the cache (${XDG_CACHE_HOME:-~/.cache}/spinzelle)
#   SPINZELLE_JOBS   parallel compile jobs (2)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${SPINZELLE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/spinzelle}
jobs=${SPINZELLE_JOBS:-2}
say() { echo "build-qt: $*" >&2; }

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")

# The source through apt, with a list and state of its own: the machine's sources and
# package lists stay as they are, and no deb-src line is needed there.
apt_dir=$cache/apt/$codename
src_dir=$cache/qt-source/$version
dsc=$src_dir/qt6-base_${version#*:}.dsc
if [ ! -f "$dsc" ]; then
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src_dir"
  {
    echo "deb-src http://deb.debian.org/debian $codename main"
    echo "deb-src http://deb.debian.org/debian $codename-updates main"
    echo "deb-src http://deb.debian.org/debian-security $codename-security main"
  } >"$apt_dir/sources.list"
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/nonexistent
            -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
            -o APT::Sandbox::User=root)
  say "fetching qt6-base $version source"
  apt-get -qq "${apt_opts[@]}" update
  (cd "$src_dir" && apt-get -qq "${apt_opts[@]}" source --download-only "qt6-base=$version")
fi
orig=$(ls "$src_dir"/qt6-base_*.orig.tar.xz)
debian_tar=$(ls "$src_dir"/qt6-base_*.debian.tar.xz)

# Debian's patches: the security fixes (cve-*) that touch what the game ships. The rest
# are Debian's build and architecture changes, no use for Windows.
patches=$(mktemp -d)
trap 'rm -rf "$patches"' EXIT
tar -xf "$debian_tar" -C "$patches" debian/patches debian/changelog
chosen=()
while read -r p; do
  case $p in cve-*) ;; *) continue ;; esac
  if grep -E '^\+\+\+ ' "$patches/debian/patches/$p" |
       grep -qE '^\+\+\+ [ab]/src/(corelib|gui|widgets|testlib|plugins/platforms/windows|plugins/styles)/'; then
    chosen+=("$p")
  fi
done < <(grep -vE '^\s*(#|$)' "$patches/debian/patches/series")

options=(-release -shared -qt-host-path /usr -xplatform win32-g++
  -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -nomake examples -nomake tests -no-opengl -no-vulkan -no-dbus -no-icu -no-zstd
  -qt-zlib -qt-libpng -no-libjpeg -no-gif -qt-pcre -qt-freetype -qt-harfbuzz
  -qt-doubleconversion -no-feature-network -no-feature-sql -no-feature-xml
  -no-feature-printsupport -no-feature-concurrent -no-feature-tabletevent
  -no-feature-direct2d1_1)
# No path of this machine in the DLLs: sources and build folder mapped away (also in
# __FILE__), and a neutral install prefix, the real folder reached through DESTDIR.
# ASLR and DEP are ld's default for 64-bit Windows; named anyway, as the checks want them.
# No link time stamp, so the same source gives the same DLLs.
qt_prefix=/qt6-win64
ldflags="-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat -Wl,--no-insert-timestamp"

# The licences of Qt and of the libraries built into its DLLs, for the packages to
# carry, from the source as it came.
licences() {
  local tmp
  tmp=$(mktemp -d)
  local wanted=('*/LICENSES/LGPL-3.0-only.txt' '*/LICENSES/GPL-3.0-only.txt')
  for lib in freetype harfbuzz-ng libpng zlib pcre2 double-conversion md4c easing tinycbor sha3 rfc6234 blake2 icc; do
    wanted+=("*/src/3rdparty/$lib/qt_attribution.json" "*/src/3rdparty/$lib/*LICEN[CS]E*" "*/src/3rdparty/$lib/COPYING")
  done
  # Each library names its licence differently: what a pattern does not find is no fault.
  tar -xf "$orig" -C "$tmp" --strip-components=1 --wildcards --no-wildcards-match-slash "${wanted[@]}" 2>/dev/null || true
  [ -f "$tmp/LICENSES/LGPL-3.0-only.txt" ] || { say "no LGPL-3.0 text in $orig"; exit 1; }
  mkdir -p "$1/licences/3rdparty"
  cp "$tmp"/LICENSES/*.txt "$1/licences/"
  cp -r "$tmp"/src/3rdparty/* "$1/licences/3rdparty/"
  rm -rf "$tmp"
}

key=$( {
  echo "$version"; printf '%s\n' "${options[@]}" "$qt_prefix" "$ldflags"
  echo "prefix maps, DESTDIR install"
  cat "$here/mingw-w64-posix.cmake"
  for p in "${chosen[@]}"; do echo "$p"; cat "$patches/debian/patches/$p"; done
  x86_64-w64-mingw32-g++-posix --version | head -1
} | sha256sum | cut -c1-16)
out=$cache/qt-windows/$key
if [ -f "$out/.complete" ]; then
  [ -d "$out/licences" ] || licences "$out"
  say "cached: $out"
  echo "$out"
  exit 0
fi

build=$cache/qt-windows-build/$key
say "building Qt $version for Windows in $build (patches: ${chosen[*]:-none})"
rm -rf "$build" "$out"
mkdir -p "$build/build"
src=$build/qtbase
mkdir "$src"
tar -xf "$orig" -C "$src" --strip-components=1
for p in "${chosen[@]}"; do patch -s -p1 -d "$src" <"$patches/debian/patches/$p"; done
# The toolchain beside the Qt it built, which names it: the cache outlives any clone.
mkdir -p "$out"
cp "$here/mingw-w64-posix.cmake" "$out/mingw-w64-posix.cmake"

maps="-ffile-prefix-map=$src=qtbase -ffile-prefix-map=$build/build=. -fmacro-prefix-map=$src=qtbase"
cd "$build/build"
"$src/configure" -prefix "$qt_prefix" "${options[@]}" -- -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$out/mingw-w64-posix.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake \
  -DCMAKE_C_FLAGS="$maps" -DCMAKE_CXX_FLAGS="$maps" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >configure.log 2>&1 ||
  { tail -n 40 configure.log >&2; exit 1; }
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$patches/debian/changelog" -STimestamp) ninja -j "$jobs" >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
DESTDIR=$build/stage ninja install >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }
cp -a "$build/stage$qt_prefix/." "$out/"
# What the DLLs were made from, for the licence notes the packages carry.
{
  echo "qt6-base $version ($codename), Debian source package: $(basename "$dsc")"
  echo "patches: ${chosen[*]:-none}"
  echo "configure: ${options[*]}"
} >"$out/.source"
mkdir -p "$out/patches"
for p in "${chosen[@]}"; do cp "$patches/debian/patches/$p" "$out/patches/"; done
licences "$out"
touch "$out/.complete"
rm -rf "$build"
say "done: $out"
echo "$out"
