#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
      -DVELLANO_FUZZ=ON -DVELLANO_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
targets=$(cd fuzz && ls fuzz_*.cpp 2>/dev/null | sed 's/\.cpp$//')
[ -n "$targets" ] || exit 0
cmake --build build/fuzz -j "$(nproc)" --target $targets
for t in $targets; do
  mkdir -p "build/fuzz/corpus-$t"
  corpus=("build/fuzz/corpus-$t")
  [ -d "fuzz/seeds/$t" ] && corpus+=("fuzz/seeds/$t")
  echo "fuzzing $t for ${seconds}s"
  "build/fuzz/bin/$t" -max_total_time="$seconds" -print_final_stats=0 "${corpus[@]}" >"build/fuzz/$t.log" 2>&1 \
    || { tail -50 "build/fuzz/$t.log"; exit 1; }
done
