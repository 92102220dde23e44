#!/usr/bin/env bash
# The Windows build, checked here: cross-builds the zip (scripts/build-windows.sh), then under
# wine
#  1. replays tests/replay/demo.keys (saves on every screen) and print_handover.keys (the print
#     program, the print-settings dialog and the entry program started by each other) headless
#     over the demo company with the Windows programs and with the Linux ones
#     (scripts/replay-compare.sh): data files, print file, screen dumps and command log must be
#     byte-identical;
#  2. runs the console smoke test in a pseudo-terminal (tmux): title, a full buffer written and
#     read back, injected keys and mouse, a child's arguments and exit code;
#  3. opens the demo company with VELLA10W.exe in that console, types keys and leaves it;
#  4. converts the golden print files with pcl2pdf.exe and with the Linux converter: the PDF
#     files must be byte-identical;
#  5. lays a print on the communication form and joins two prints with pdftk-qpdf.exe, and
#     draws an F24 form with moduvx.exe: the same bytes as the Linux programs'.
# Logs land in build/windows/wine-*.log.
#   scripts/test-windows.sh [LINUX_BIN]   (default: builds make_demo and VELLA10W in build/ci)
set -euo pipefail
trap 'echo "test-windows.sh: stopped at line $LINENO (status $?)" >&2' ERR
cd "$(dirname "$0")/.."
top=$PWD
scripts/install-windows-packages.sh --tests

linux_bin=${1:-}
if [ -z "$linux_bin" ]; then
  cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLANO_WERROR=ON >/dev/null
  cmake --build build/ci -j "$(nproc)" --target make_demo VELLA10W VELST10W orbw pcl2pdf pdftk-qpdf moduvx
  linux_bin=build/ci/bin
fi
linux_bin=$(cd "$linux_bin" && pwd)

scripts/build-windows.sh
win_bin=$top/build/windows/bin
logs=$top/build/windows

# A prefix of our own inside the build folder; no Mono or Gecko prompts. Every wine command's
# output goes to a file: the wineserver it starts inherits it and would keep a pipe open.
export WINEPREFIX=$top/build/windows/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
tmux_socket=vellano-wine-$$
finish() {
  tmux -L "$tmux_socket" kill-server >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
trap finish EXIT
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  wineboot -i >"$logs/wine-prefix.log" 2>&1
fi
# One wineserver for the whole run: left to itself it quits a few seconds after its last
# client, and a program starting just then loses its connection ("recvmsg: Connection reset").
# The one wineboot started is such a server: it goes first (-p refuses while one runs).
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p >"$logs/wine-server.log" 2>&1
# "C:NAME" is a name in the current folder of drive C: the work folders lie on C:.
wintmp=$WINEPREFIX/drive_c/tmp
rm -rf "$wintmp"
mkdir -p "$wintmp"
failures=0

echo "== headless replay: Windows programs under wine against the Linux build"
wrappers=$wintmp/wrappers
mkdir -p "$wrappers"
for program in make_demo VELLA10W VELST10W orbw pcl2pdf; do
  printf '#!/bin/sh\nexec wine "%s/%s.exe" "$@"\n' "$win_bin" "$program" >"$wrappers/$program"
  chmod +x "$wrappers/$program"
done
replay_ok=true
: >"$logs/wine-replay.log"
for keys in demo print_handover; do
  TMPDIR=$wintmp REPLAY_KEYS=$top/tests/replay/$keys.keys \
    scripts/replay-compare.sh "$linux_bin" "$wrappers" >>"$logs/wine-replay.log" 2>&1 || replay_ok=false
done
if $replay_ok; then echo "passed"; else echo "FAILED"; failures=$((failures + 1)); fi
cat "$logs/wine-replay.log"

# tmux_run NAME COMMAND: runs COMMAND in a fresh 120 x 50 pseudo-terminal.
tmux_run() {
  tmux -L "$tmux_socket" new-session -d -x 120 -y 50 -s "$1" "$2"
}
# wait_for SESSION TEXT SECONDS: until the screen shows TEXT.
wait_for() {
  local deadline=$((SECONDS + $3))
  while [ $SECONDS -lt $deadline ]; do
    if tmux -L "$tmux_socket" capture-pane -p -t "$1" 2>/dev/null | grep -qF -- "$2"; then return 0; fi
    sleep 0.3
  done
  return 1
}
# wait_file FILE SECONDS: until FILE exists.
wait_file() {
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    [ -e "$1" ] && return 0
    sleep 0.3
  done
  return 1
}

echo "== console smoke test in a pseudo-terminal"
smoke_log=$logs/wine-console-smoke.log
rm -f "$smoke_log" "$wintmp/smoke.status"
tmux_run smoke "wine '$win_bin/console_smoke.exe' >'$smoke_log' 2>&1; echo \$? >'$wintmp/smoke.status'"
wait_file "$wintmp/smoke.status" 60 || true
# The program's standard output is in text mode: CRLF line ends.
[ -f "$smoke_log" ] && sed -i 's/\r$//' "$smoke_log"
if [ -f "$wintmp/smoke.status" ] && [ "$(cat "$wintmp/smoke.status")" = 0 ] &&
   grep -q '^[0-9]* passed, 0 failed$' "$smoke_log"; then
  echo "passed"
else
  echo "FAILED (status $(cat "$wintmp/smoke.status" 2>/dev/null || echo none))"
  failures=$((failures + 1))
fi
cat "$smoke_log" 2>/dev/null || true

echo "== the demo company in the console: main menu, customers, ESC twice"
demo_log=$logs/wine-console-demo.log
demo=$wintmp/demo
: >"$demo_log"
wine "$win_bin/make_demo.exe" "$demo" >>"$demo_log" 2>&1
snap() {
  { echo "---- $1"; tmux -L "$tmux_socket" capture-pane -p -t demo; } >>"$demo_log"
}
demo_ok=true
tmux_run demo "cd '$demo' && wine '$win_bin/VELLA10W.exe'; echo \$? >'$wintmp/demo.status'"
if wait_for demo "registro Vendite" 60; then snap "main menu"; else demo_ok=false; snap "no main menu"; fi
tmux -L "$tmux_socket" send-keys -t demo c
if $demo_ok && wait_for demo "GESTIONE   CLIENTI" 20; then snap "customers"; else demo_ok=false; snap "no customer screen"; fi
tmux -L "$tmux_socket" send-keys -t demo Escape
if $demo_ok && wait_for demo "registro Vendite" 20; then snap "back at the menu"; else demo_ok=false; snap "not back"; fi
tmux -L "$tmux_socket" send-keys -t demo Escape
if $demo_ok && wait_file "$wintmp/demo.status" 20 && [ "$(cat "$wintmp/demo.status")" = 0 ]; then
  echo "exit status 0" >>"$demo_log"
else
  demo_ok=false
  echo "exit status $(cat "$wintmp/demo.status" 2>/dev/null || echo none)" >>"$demo_log"
fi
if $demo_ok; then echo "passed"; else echo "FAILED"; failures=$((failures + 1)); fi
grep -c '' "$demo_log" | sed 's/^/log lines: /'

echo "== pcl2pdf.exe against the Linux converter on the golden print files"
pdf_log=$logs/wine-pcl2pdf.log
: >"$pdf_log"
pdf_dir=$wintmp/pdf
mkdir -p "$pdf_dir"
converted=0
differing=0
for prn in tests/*/golden/*.prn; do
  [ -f "$prn" ] || continue
  name=$(basename "$prn" .prn)
  cp "$prn" "$pdf_dir/$name.prn"
  "$linux_bin/pcl2pdf" "$pdf_dir/$name.prn" "$pdf_dir/$name.linux.pdf" -S >>"$pdf_log" 2>&1 || true
  (cd "$pdf_dir" && wine "$win_bin/pcl2pdf.exe" "$name.prn" "$name.win.pdf" -S >>"$pdf_log" 2>&1) || true
  converted=$((converted + 1))
  if [ -s "$pdf_dir/$name.linux.pdf" ] && cmp -s "$pdf_dir/$name.linux.pdf" "$pdf_dir/$name.win.pdf"; then
    echo "identical: $name ($(stat -c %s "$pdf_dir/$name.win.pdf") bytes)" >>"$pdf_log"
  else
    echo "DIFFERENT: $name" >>"$pdf_log"
    differing=$((differing + 1))
  fi
done
echo "converted $converted print files, $differing PDF files differ" >>"$pdf_log"
if [ "$converted" -gt 0 ] && [ "$differing" -eq 0 ]; then echo "passed"; else echo "FAILED"; failures=$((failures + 1)); fi
tail -1 "$pdf_log"

echo "== pdftk-qpdf.exe and moduvx.exe against the Linux programs"
# A print laid on the communication form, two prints joined, and the F24 form of one row:
# the Windows and the Linux programs must write the same bytes.
forms_log=$logs/wine-forms.log
: >"$forms_log"
forms_ok=true
for side in linux win; do
  dir=$wintmp/forms-$side
  mkdir -p "$dir"
  cp "$pdf_dir/balance_two_pages.linux.pdf" "$dir/LASER.PDF"
  cp "$pdf_dir/cash_banks.linux.pdf" "$dir/OTHER.PDF"
  cp "$linux_bin/COMDIVA.PDF" "$dir/"
  # Record 1 of the hand-over file with the F24 row in its field 11.
  printf '%-48s%-50s%-13s' '' 'C-6032-00002011-   140.39-     0.00' '' >"$dir/QMENU.DAT"
done
run_side() {  # run_side linux|win PROGRAM ARGS...
  local side=$1 program=$2
  shift 2
  if [ "$side" = linux ]; then
    (cd "$wintmp/forms-linux" && "$linux_bin/$program" "$@")
  else
    (cd "$wintmp/forms-win" && wine "$win_bin/$program.exe" "$@")
  fi
}
for side in linux win; do
  { run_side "$side" pdftk-qpdf LASER.PDF BACKGROUND COMDIVA.PDF OUTPUT LAID.PDF &&
    run_side "$side" pdftk-qpdf LASER.PDF OTHER.PDF CAT OUTPUT JOINED.PDF &&
    run_side "$side" moduvx; } >>"$forms_log" 2>&1 || { echo "$side: a program failed" >>"$forms_log"; forms_ok=false; }
done
for file in LAID.PDF JOINED.PDF F24.PDF; do
  if [ -s "$wintmp/forms-linux/$file" ] && cmp -s "$wintmp/forms-linux/$file" "$wintmp/forms-win/$file"; then
    echo "identical: $file ($(stat -c %s "$wintmp/forms-win/$file") bytes)" >>"$forms_log"
  else
    echo "DIFFERENT: $file" >>"$forms_log"
    forms_ok=false
  fi
done
if $forms_ok; then echo "passed"; else echo "FAILED"; failures=$((failures + 1)); fi
cat "$forms_log"

echo "windows: $((5 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
