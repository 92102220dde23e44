#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: a warnings-as-errors build, the Windows
# cross-build checked under wine against it, the same tests under AddressSanitizer +
# UndefinedBehaviorSanitizer, then each fuzz target for a short time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
jobs=$(nproc)

cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLANO_WERROR=ON
cmake --build build/ci -j "$jobs"
ctest --test-dir build/ci --output-on-failure -j "$jobs"

scripts/test-windows.sh build/ci/bin

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLANO_WERROR=ON \
      -DVELLANO_SANITIZE=ON -DVELLANO_BENCH=OFF
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

scripts/fuzz.sh "${VELLANO_FUZZ_SECONDS:-20}"
echo "all tests passed"
