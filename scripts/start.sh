#!/usr/bin/env bash
# Installs, builds and starts the entry program VELLA10W in the data folder given as the
# first argument (default: demo/ in the checkout).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
scripts/install-packages.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLANO_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
data=${1:-$top/demo}
if [ ! -x build/release/bin/VELLA10W ]; then
  echo "VELLA10W is not built yet in this version: only the libraries and tests exist."
  exit 0
fi
mkdir -p "$data"
cd "$data"
exec "$top/build/release/bin/VELLA10W"
