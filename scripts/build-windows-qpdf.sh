#!/usr/bin/env bash
# Builds libqpdf and the libjpeg it needs for the Windows build, from Debian's sources of the
# same versions the Linux build links (so both write the same PDF bytes), with the mingw-w64
# toolchain, as static libraries:
#   scripts/build-windows-qpdf.sh BUILD_DIR  ->  BUILD_DIR/qpdf/prefix/{include,lib}
# Everything stays inside BUILD_DIR; a finished prefix is kept and not built again.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${1:?"usage: scripts/build-windows-qpdf.sh BUILD_DIR"}
build=$(mkdir -p "$build" && cd "$build" && pwd)
work=$build/qpdf
prefix=$work/prefix
if [ -f "$prefix/lib/libqpdf.a" ] && [ -f "$prefix/lib/libjpeg.a" ]; then exit 0; fi
rm -rf "$work"
mkdir -p "$work/sources.list.d" "$work/lists/partial" "$work/cache/archives/partial" "$work/src" \
         "$prefix/include" "$prefix/lib"
log=$work/build.log
: >"$log"
fail() {
  tail -40 "$log"
  echo "build-windows-qpdf.sh: $1 (the whole log: $log)" >&2
  exit 1
}

# The machine's own Debian sources, as source-package entries, in a list of our own; lists and
# caches stay in the build folder: the system's apt configuration and caches are not touched.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/sources.list.d/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >"$work/sources.list.d/sources.list"
fi
apt_options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/sources.list.d"
             -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o "APT::Sandbox::User=root")
# A third-party repository without source packages makes the update fail; Debian's lists are
# what counts, and the fetch below says if they are missing.
apt-get "${apt_options[@]}" update >>"$log" 2>&1 || echo "(some source lists could not be fetched)" >>"$log"
(cd "$work/src" && apt-get "${apt_options[@]}" source qpdf libjpeg-turbo >>"$log" 2>&1) ||
  fail "the sources of qpdf and libjpeg-turbo could not be fetched"
qpdf_src=$(find "$work/src" -maxdepth 1 -type d -name 'qpdf-*' | head -1)
jpeg_src=$(find "$work/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -1)
[ -n "$qpdf_src" ] && [ -n "$jpeg_src" ] || fail "the sources were not unpacked"

toolchain=$top/cmake/mingw-w64.cmake
jobs=$(nproc)
# Without NASM: the plain C code paths are enough for the few JPEG streams of our forms.
cmake -S "$jpeg_src" -B "$work/jpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      >>"$log" 2>&1 || fail "libjpeg could not be configured"
cmake --build "$work/jpeg-build" -j "$jobs" --target jpeg-static >>"$log" 2>&1 || fail "libjpeg did not build"
cp "$jpeg_src"/{jpeglib.h,jmorecfg.h,jerror.h} "$work/jpeg-build/jconfig.h" "$prefix/include/"
cp "$work/jpeg-build/libjpeg.a" "$prefix/lib/"

# The host's pkg-config would offer the Linux zlib and libjpeg: it is kept out. qpdf's native
# crypto stands in for GnuTLS/OpenSSL; one header of this version forgets <cstdint>.
PKG_CONFIG_LIBDIR=$work/no-pkg-config PKG_CONFIG_PATH='' \
  cmake -S "$qpdf_src" -B "$work/qpdf-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-include cstdint" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_DOC=OFF \
        -DREQUIRE_CRYPTO_NATIVE=ON -DUSE_IMPLICIT_CRYPTO=OFF \
        -DLIBJPEG_H_PATH="$prefix/include" -DLIBJPEG_LIB_PATH="$prefix/lib/libjpeg.a" \
        -DZLIB_H_PATH=/usr/x86_64-w64-mingw32/include -DZLIB_LIB_PATH=/usr/x86_64-w64-mingw32/lib/libz.a \
        >>"$log" 2>&1 || fail "qpdf could not be configured"
cmake --build "$work/qpdf-build" -j "$jobs" --target libqpdf >>"$log" 2>&1 || fail "qpdf did not build"
cp -r "$qpdf_src/include/qpdf" "$prefix/include/"
cp "$work/qpdf-build/libqpdf/libqpdf.a" "$prefix/lib/"
echo "qpdf for Windows: $prefix"
