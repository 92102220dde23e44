#!/usr/bin/env bash
# Installs, builds and starts the entry program VELLA10W in the data folder given as the first
# argument; without one, in demo/ in the checkout, where a demo company for 2011 is written
# first when the folder holds no data yet. The program runs in host mode 1 (no arguments),
# its data files in the folder it starts in.
set -euo pipefail
# A folder given on the command line is taken from where the command was typed.
given=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
top=$(pwd)
scripts/install-packages.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLANO_BENCH=OFF >/dev/null
# The two programs, the outside stand-ins they start and the demo generator; the tests are
# left to scripts/test.sh.
cmake --build build/release -j "$(nproc)" --target VELLA10W VELST10W orbw pcl2pdf make_demo vellano-check
bin=$top/build/release/bin
if [ -n "$given" ]; then
  data=$given
else
  data=$top/demo
  if [ ! -e "$data/DATA.DAT" ]; then
    echo "Writing the demo company into $data"
    "$bin/make_demo" "$data"
  fi
fi
mkdir -p "$data"
cd "$data"
exec "$bin/VELLA10W"
