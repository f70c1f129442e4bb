#!/usr/bin/env bash
# Cross-builds libpng, libjpeg-turbo, libexif and libdeflate for 64-bit or 32-bit
# Windows from Debian's source packages into a cached prefix, with cpp-httplib's
# header-only form from its source package; zlib comes from Debian's
# libz-mingw-w64-dev.
# Usage: scripts/build-windows-libs.sh win64|win32 PREFIX   (does nothing when PREFIX is complete)
set -euo pipefail

arch="${1:?usage: $0 win64|win32 PREFIX}"
prefix="${2:?usage: $0 win64|win32 PREFIX}"
case "$arch" in
  win64) host=x86_64-w64-mingw32 processor=AMD64 ;;
  win32) host=i686-w64-mingw32 processor=X86 ;;
  *) echo "build-windows-libs: unknown architecture $arch (win64 or win32)" >&2; exit 2 ;;
esac
prefix="$(realpath -m "$prefix")"
stamp="$prefix/.complete"
# A prefix made before libexif or libdeflate joined is made again; one made before
# cpp-httplib joined only gets its header.
complete=0
[ -f "$stamp" ] && [ -f "$prefix/lib/libexif.a" ] && [ -f "$prefix/lib/libdeflate.a" ] && complete=1
[ "$complete" = 1 ] && [ -f "$prefix/include/httplib.h" ] && exit 0
header_only="$complete"

mingw_root=/usr/$host
jobs="${MORVESSAN_JOBS:-2}"
work="$prefix.src"

for tool in $host-gcc-posix $host-g++-posix $host-windres; do
  command -v "$tool" >/dev/null || { echo "build-windows-libs: $tool is missing (run scripts/install-$arch-deps.sh)" >&2; exit 1; }
done
[ -f "$mingw_root/lib/libz.a" ] || { echo "build-windows-libs: $mingw_root/lib/libz.a is missing (libz-mingw-w64-dev)" >&2; exit 1; }

# apt-get source needs a deb-src entry; add one beside the binary entries when there is none.
have_sources() {
  grep -rqsE '^\s*(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
. "$(dirname "$0")/apt-lists.sh"
sudo="$apt_sudo"
if ! have_sources; then
  echo "build-windows-libs: adding a deb-src entry for Debian's source packages"
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$codename" "$codename" | $sudo tee /etc/apt/sources.list.d/morvessan-deb-src.sources >/dev/null
  apt_refresh
fi

rm -rf "$work"
[ "$header_only" = 1 ] || rm -rf "$prefix"
mkdir -p "$work" "$prefix"

# Fetches and unpacks a source package; prints the unpacked folder.
fetch_source() {
  local package="$1"
  if ! (cd "$work" && apt-get source -qq "$package" >"$work/$package.log" 2>&1); then
    # Source lists never fetched on this machine: fetch them once and try again.
    echo "build-windows-libs: updating the package lists for $package" >&2
    apt_refresh
    (cd "$work" && apt-get source -qq "$package" >"$work/$package.log" 2>&1) || {
      cat "$work/$package.log" >&2
      echo "build-windows-libs: apt-get source $package failed" >&2
      [ -z "$apt_unrefreshed" ] || { echo "build-windows-libs: these package lists could not be refreshed:"; printf '%s\n' "$apt_unrefreshed" | sed 's/^/  /'; } >&2
      exit 1
    }
  fi
  find "$work" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1
}

# cpp-httplib for the studio's server: Debian's own package is built split into a
# library; its source package holds the header-only form the Windows build compiles in.
add_httplib() {
  echo "build-windows-libs: cpp-httplib"
  local src
  src="$(fetch_source cpp-httplib)"
  mkdir -p "$prefix/include" "$prefix/share/licenses/cpp-httplib"
  cp "$src/httplib.h" "$prefix/include/"
  cp "$src/LICENSE" "$prefix/share/licenses/cpp-httplib/"
}
if [ "$header_only" = 1 ]; then
  add_httplib
  rm -rf "$work"
  echo "build-windows-libs: done, $prefix"
  exit 0
fi

toolchain="$work/toolchain.cmake"
cat >"$toolchain" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $processor)
set(CMAKE_C_COMPILER $host-gcc-posix)
set(CMAKE_CXX_COMPILER $host-g++-posix)
set(CMAKE_RC_COMPILER $host-windres)
set(CMAKE_FIND_ROOT_PATH $mingw_root $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

echo "build-windows-libs: zlib from $mingw_root"
zlib_args=(-DZLIB_LIBRARY="$mingw_root/lib/libz.a" -DZLIB_INCLUDE_DIR="$mingw_root/include")

echo "build-windows-libs: libjpeg-turbo"
jpeg_src="$(fetch_source libjpeg-turbo)"
# Plain C code paths: the same decoded pixels as every other build, no assembler needed.
cmake -S "$jpeg_src" -B "$work/jpeg-build" "${generator[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
  >"$work/jpeg-configure.log" 2>&1 || { cat "$work/jpeg-configure.log" >&2; exit 1; }
cmake --build "$work/jpeg-build" -j "$jobs" --target jpeg-static >"$work/jpeg-build.log" 2>&1 \
  || { tail -n 40 "$work/jpeg-build.log" >&2; exit 1; }
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/jpeg-build/libjpeg.a" "$prefix/lib/"
cp "$jpeg_src/jpeglib.h" "$jpeg_src/jmorecfg.h" "$jpeg_src/jerror.h" "$work/jpeg-build/jconfig.h" "$prefix/include/"

echo "build-windows-libs: libpng"
png_src="$(fetch_source libpng1.6)"
cmake -S "$png_src" -B "$work/png-build" "${generator[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "${zlib_args[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_EXECUTABLES=ON \
  >"$work/png-configure.log" 2>&1 || { cat "$work/png-configure.log" >&2; exit 1; }
cmake --build "$work/png-build" -j "$jobs" --target png_static >"$work/png-build.log" 2>&1 \
  || { tail -n 40 "$work/png-build.log" >&2; exit 1; }
cp "$work/png-build/libpng16.a" "$prefix/lib/libpng.a"
cp "$png_src/png.h" "$png_src/pngconf.h" "$work/png-build/pnglibconf.h" "$prefix/include/"

# libexif's sources compiled directly: its autotools files are not generated in the
# source package, and the library needs nothing from its configure step but these.
echo "build-windows-libs: libexif"
exif_src="$(fetch_source libexif)"
mkdir -p "$work/exif-build/libexif" "$prefix/include/libexif"
printf '#define GETTEXT_PACKAGE "libexif-12"\n#define LOCALEDIR ""\n#define HAVE_LOCALTIME_S 1\n' \
  >"$work/exif-build/config.h"
printf '#include <stdint.h>\n' >"$work/exif-build/libexif/_stdint.h"
for source in "$exif_src"/libexif/*.c "$exif_src"/libexif/*/*.c; do
  object="$work/exif-build/$(basename "$(dirname "$source")")-$(basename "${source%.c}").o"
  $host-gcc-posix -O2 -c -I"$work/exif-build" -I"$exif_src" -I"$exif_src/libexif" "$source" -o "$object" \
    || { echo "build-windows-libs: compiling $source failed" >&2; exit 1; }
done
$host-ar rcs "$prefix/lib/libexif.a" "$work"/exif-build/*.o
cp "$exif_src"/libexif/*.h "$work/exif-build/libexif/_stdint.h" "$prefix/include/libexif/"

# libdeflate's sources compiled directly too, as its own Makefile does: the same
# release as Debian's native library, so that a PNG's small level gives the same
# bytes in both builds.
echo "build-windows-libs: libdeflate"
deflate_src="$(fetch_source libdeflate)"
mkdir -p "$work/deflate-build"
for source in "$deflate_src"/lib/*.c "$deflate_src"/lib/*/*.c; do
  object="$work/deflate-build/$(basename "$(dirname "$source")")-$(basename "${source%.c}").o"
  $host-gcc-posix -O2 -c -I"$deflate_src" "$source" -o "$object" \
    || { echo "build-windows-libs: compiling $source failed" >&2; exit 1; }
done
$host-ar rcs "$prefix/lib/libdeflate.a" "$work"/deflate-build/*.o
cp "$deflate_src/libdeflate.h" "$prefix/include/"

add_httplib

rm -rf "$work"
touch "$stamp"
echo "build-windows-libs: done, $prefix"
