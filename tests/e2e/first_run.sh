#!/usr/bin/env bash
# A new user's first run, in a real terminal: the demo company is generated into a fresh
# folder and the entry program is started there inside a private tmux server at 120 x 50,
# then worked with keys like a person would, checking the pane after every step.
#
# scripts/start.sh itself cannot run here (it installs packages and builds); after its build
# it does exactly what this does: make_demo into the data folder, then VELLA10W started in
# that folder in host mode 1, with no arguments.
#   first_run.sh MAKE_DEMO VELLA10W
set -u

make_demo=$(realpath "${1:?make_demo program}")
program=$(realpath "${2:?VELLA10W program}")

if ! command -v tmux >/dev/null; then
  echo "FAIL: tmux is not installed (scripts/install-packages.sh installs it)"
  exit 1
fi

# One server and one folder per run, so tests running side by side never meet.
sock="vellano-e2e-$$-${RANDOM}"
work=$(mktemp -d "${TMPDIR:-/tmp}/vellano-e2e.XXXXXX")
data="$work/demo"
status="$work/status"
errors="$work/stderr"
unset TMUX VELLANO_KEYS VELLANO_SCREEN VELLANO_COMMANDS
for letter in A B C D E; do unset "VELLANO_DRIVE_$letter"; done

cleanup() {
  tmux -L "$sock" kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

t() { tmux -L "$sock" "$@"; }
screen_text() { t capture-pane -p -t first 2>/dev/null | sed 's/ *$//'; }

fail() {
  echo "FAIL: $*"
  echo "--- screen"
  screen_text
  echo "--- program stderr"
  cat "$errors" 2>/dev/null
  exit 1
}

# Polls a condition for up to 30 seconds (sanitizer builds start slowly).
wait_for() {
  local what=$1
  shift
  local i
  for ((i = 0; i < 300; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

screen_has() { screen_text | grep -qF -- "$1"; }
screen_lacks() { ! screen_text | grep -qF -- "$1"; }
# A screen row holding these characters from this column on (1-based, counted in characters).
row_has() {
  local row=$1 col=$2 text=$3
  local line
  line=$(screen_text | sed -n "${row}p")
  [[ ${line:col-1:${#text}} == "$text" ]]
}

terminal_type() {
  local candidate
  for candidate in tmux-256color screen-256color screen; do
    if infocmp "$candidate" >/dev/null 2>&1; then
      echo "$candidate"
      return
    fi
  done
  echo screen
}

keys() { t send-keys -t first "$@" || fail "send-keys $*"; }

# ---- The demo company, as the start script makes it on a first run.
"$make_demo" "$data" >"$work/make_demo.out" 2>&1 || { cat "$work/make_demo.out"; fail "make_demo failed"; }
for f in TTY.DAT DATA.DAT DIKTA.DAT VENDIT11.DAT ACQUIS11.DAT CORRIS11.DAT; do
  [[ -s $data/$f ]] || fail "make_demo wrote no $f"
done

# ---- VELLA10W in the data folder, no arguments; its exit status is recorded last.
cat >"$work/tmux.conf" <<EOF
set -g default-terminal $(terminal_type)
set -g history-limit 0
EOF
t -f "$work/tmux.conf" new-session -d -x 120 -y 50 -s first -c "$data" \
  env LC_ALL=C.UTF-8 TERM="$(terminal_type)" bash -c '"$0" 2>"$1"; echo $? >"$2"' \
  "$program" "$errors" "$status" || fail "tmux did not start"

# The main menu of the demo company: its name in the terminal's title, the double-lined logo box,
# the menu entries and the empty code field drawn as dots.
wait_for "the main menu" screen_has "registro Vendite........."
title=$(t display -p -t first '#{pane_title}')
[[ $title == *"[ Azienda: DAT  FERRAMENTA BORGHI S.N.C. ]"* ]] || fail "the title names no demo company: $title"
screen_has "╔═════" || fail "the logo box is not drawn with double lines"
screen_has "│registro coRrispettivi...│" || fail "the menu entries"
screen_has "┌─Codice──┐" || fail "the code box"
screen_has "│  ·····  │" || fail "the dotted code field"

# ---- "v": the sales register, its counters and the dotted input areas.
keys v
wait_for "the sales register" screen_has "REGISTRO  VENDITE"
screen_has "Ultimo Protocollo 1     :  157" || fail "the last protocol of sezionale 1"
screen_has "Ultimo Protocollo 2     :   43" || fail "the last protocol of sezionale 2"
screen_has "│ [· 200] │" || fail "the registration count"
screen_has "│Data: ··.··.··" || fail "the dotted date field"
screen_has "(Registro.Sezionale.Numero): · . · . ·······" || fail "the dotted protocol fields"
screen_has "···.·· ·························│·· ····· ··· ··.· │···│··········│" || fail "the dotted VAT lines"

# ---- Registration 2, then back to 1 with PgUp, on to 2 with PgDn and back to 1.
keys 2 Enter
wait_for "registration 2" screen_has "(Registro.Sezionale.Numero): V . 1 . 2"
screen_has "│Data   : 02/01/11 │" || fail "the document date of registration 2"
keys PPage
wait_for "registration 1 after PgUp" screen_has "(Registro.Sezionale.Numero): V . 1 . 1"
screen_has "│Data   : 01/01/11 │" || fail "the document date of registration 1"
screen_has "Fattura di vendita" || fail "the note of registration 1"
screen_has "Saldo:D" || fail "the customer's balance side"
keys NPage
wait_for "registration 2 after PgDn" screen_has "(Registro.Sezionale.Numero): V . 1 . 2"
keys PPage
wait_for "registration 1 again" screen_has "(Registro.Sezionale.Numero): V . 1 . 1"

# ---- ESC leaves the registration unchanged: the screen is empty again.
keys Escape
wait_for "the empty registration" screen_has "(Registro.Sezionale.Numero): · . · . ·······"
screen_has "│Data: ··.··.··" || fail "the date field is not dotted again"

# ---- F9: the search list of the registrations, opened at the one last shown (1).
keys F9
wait_for "the search list" screen_has "┌ Prog│Data Doc N°Doc│Data Reg│Importo   │Ragione Sociale"
row_has 2 1 "│    1│01/01/11 1    │01/01/11│" || fail "the list does not start at registration 1"
screen_has "│    3│04/01/11 1/B  │04/01/11│" || fail "a sezionale 2 invoice in the list"
keys Escape
wait_for "the list to close" screen_lacks "Prog│Data Doc"
screen_has "REGISTRO  VENDITE" || fail "ESC from the list left the register"

# ---- A new registration: a date typed into the date field, shown as a date once accepted.
keys Enter
wait_for "the new registration" screen_has "│  · 201  │"
keys -l 150611
wait_for "the typed date" screen_has "│Data: ·150611·"
keys Enter
wait_for "the accepted date" screen_has "│Data: 15/06/11"
# Two ESCs abandon it: nothing is saved and the count stays 200.
keys Escape
wait_for "the abandoned registration" screen_has "│Data: ··.··.··"
screen_has "│ [· 200] │" || fail "the abandoned registration was counted"

# ---- ESC back to the main menu, ESC again ends the program with status 0.
keys Escape
wait_for "the main menu again" screen_has "│registro Acquisti........│"
screen_lacks "REGISTRO  VENDITE" || fail "the register is still on the screen"
keys Escape
wait_for "the program to end" test -s "$status"
[[ $(cat "$status") == 0 ]] || fail "VELLA10W ended with status $(cat "$status")"
# Nothing was saved: the sales register still counts 200.
[[ $(head -c 5 "$data/INDVEN11.DAT") == " 200 " ]] || fail "the register header changed: $(head -c 5 "$data/INDVEN11.DAT")"
echo "PASS: first run"
