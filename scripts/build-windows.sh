#!/usr/bin/env bash
# Cross-compiles the Windows programs with mingw-w64 and packs them into one zip:
#   build/windows/vellano-windows.zip
# (VELLA10W.exe, VELST10W.exe, orbw.exe, pcl2pdf.exe, pdftk-qpdf.exe, moduvx.exe, make_demo.exe,
# vellano-check.exe, the communication form COMDIVA.PDF, the VAT document and LEGGIMI.txt).
# Everything is linked statically: unpack and run, nothing to install. libqpdf is built from
# Debian's sources first (scripts/build-windows-qpdf.sh); the form is drawn by make_form.exe
# under wine.
#   WINDOWS_BUILD_DIR=dir   another build folder (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-windows-packages.sh
build=${WINDOWS_BUILD_DIR:-build/windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)
scripts/build-windows-qpdf.sh "$build"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# A wine prefix of the build's own; no Mono or Gecko prompts.
emulator="env;WINEPREFIX=$build/wine-prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;wine"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DVELLANO_WERROR=ON "${launcher[@]}" \
      -DVELLANO_QPDF_PREFIX="$build/qpdf/prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" \
      >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
WINEPREFIX=$build/wine-prefix wineserver -k >/dev/null 2>&1 || true

stage=$build/zip/Vellano
rm -rf "$build/zip" "$build/vellano-windows.zip"
mkdir -p "$stage"
for program in VELLA10W VELST10W orbw pcl2pdf pdftk-qpdf moduvx make_demo vellano-check; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
done
cp "$build/bin/IVAT.TXT" "$build/bin/COMDIVA.PDF" "$stage/"
# Notepad shows either line ending; CRLF is what any Windows tool expects.
sed 's/$/\r/' scripts/windows/LEGGIMI.txt >"$stage/LEGGIMI.txt"
(cd "$build/zip" && 7zz a -tzip -mx=9 ../vellano-windows.zip Vellano >/dev/null)
ls -l "$build/vellano-windows.zip"
