#!/usr/bin/env bash
# Installs, builds and starts the entry program VELLA10W in the data folder given as the first
# argument; without one, in demo/ in the checkout, where a demo company for 2011 is written
# first when the folder holds no data yet. The program runs in host mode 1 (no arguments),
# its data files in the folder it starts in.
#
# The user sees one line per step; what the steps print goes to build/start.log, which is
# shown only when a step fails.
set -euo pipefail
# A folder given on the command line is taken from where the command was typed.
given=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
top=$(pwd)
mkdir -p build
log=$top/build/start.log
: >"$log"

# Runs one step with its output in the log; a failed step shows the log and ends the script.
quietly() {
  local status=0
  "$@" >>"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$log" >&2
    echo "Non riuscito (stato $status). Il registro completo è in $log" >&2
    exit "$status"
  fi
}

echo "Installo i pacchetti…"
quietly scripts/install-packages.sh
echo "Compilo… (la prima volta richiede qualche minuto)"
quietly cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLANO_BENCH=OFF
# The two programs, the outside stand-ins they start and the demo generator; the tests are
# left to scripts/test.sh.
quietly cmake --build build/release -j "$(nproc)" --target VELLA10W VELST10W orbw pcl2pdf make_demo vellano-check
bin=$top/build/release/bin
if [ -n "$given" ]; then
  data=$given
else
  data=$top/demo
  if [ ! -e "$data/DATA.DAT" ]; then
    echo "Scrivo la ditta dimostrativa in $data…"
    quietly "$bin/make_demo" "$data"
  fi
fi
mkdir -p "$data"
cd "$data"
exec "$bin/VELLA10W"
