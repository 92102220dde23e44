#!/usr/bin/env bash
# Drives the terminal probe inside a private, detached tmux server and checks what it decoded
# (its key log) and what it drew (the tmux pane).
#   tmux_test.sh keys  PROBE   keys in a 120 x 50 terminal: names, screen, colours, title
#   tmux_test.sh small PROBE   a terminal smaller than 120 x 50 is asked to grow first
#   tmux_test.sh exits PROBE   the terminal modes come back after an exception or std::exit
set -u

mode=${1:?mode}
probe=${2:?probe program}

if ! command -v tmux >/dev/null; then
  echo "FAIL: tmux is not installed (scripts/install-packages.sh installs it)"
  exit 1
fi

# One server per run, so tests running side by side never share sessions.
sock="vellano-term-$$-${RANDOM}"
work=$(mktemp -d "${TMPDIR:-/tmp}/vellano-term.XXXXXX")
log="$work/keys.log"
status="$work/status"
errors="$work/stderr"
restored="$work/restored"
modes_before="$work/modes.before"
modes_after="$work/modes.after"
: >"$log"
unset TMUX

cleanup() {
  tmux -L "$sock" kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

t() { tmux -L "$sock" "$@"; }
screen_text() { t capture-pane -p -t probe 2>/dev/null | sed 's/ *$//'; }
screen_escapes() { t capture-pane -p -e -t probe 2>/dev/null; }

fail() {
  echo "FAIL: $*"
  echo "--- screen"
  screen_text
  echo "--- key log"
  cat "$log"
  echo "--- probe stderr"
  cat "$errors" 2>/dev/null
  exit 1
}

# Polls a condition for up to 20 seconds (sanitizer builds start slowly).
wait_for() {
  local what=$1
  shift
  local i
  for ((i = 0; i < 200; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

screen_has() { screen_text | grep -qF -- "$1"; }
screen_lacks() { ! screen_text | grep -qF -- "$1"; }
screen_line_is() { screen_text | grep -qx -- "$1"; }
log_last_is() { [[ $(wc -l <"$log") -eq $1 && $(tail -n 1 "$log") == "$2" ]]; }
session_gone() { ! t has-session -t probe 2>/dev/null; }
pane_title_is() { [[ $(t display -p -t probe '#{pane_title}') == "$1" ]]; }
bell_rung() { [[ $(t display -p -t probe '#{window_bell_flag}') == 1 ]]; }

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

start_probe() {
  local width=$1 height=$2
  cat >"$work/tmux.conf" <<EOF
set -g default-terminal $(terminal_type)
set -g history-limit 0
EOF
  rm -f "$status" "$restored" "$modes_before" "$modes_after"
  # The wrapper keeps the probe's stderr off the screen, notes whether the terminal modes
  # are as they were before (keeping both readable settings when not), and records the exit
  # status last.
  t -f "$work/tmux.conf" new-session -d -x "$width" -y "$height" -s probe \
    env LC_ALL=C.UTF-8 bash -c \
    'saved=$(stty -g); stty -a >"$5"; "$0" "$1" 2>"$2"; rc=$?
     if [[ $(stty -g) == "$saved" ]]; then : >"$4"; else stty -a >"$6"; fi; echo $rc >"$3"' \
    "$probe" "$log" "$errors" "$status" "$restored" "$modes_before" "$modes_after" ||
    fail "tmux did not start"
}

# The settings of an 'stty -a' listing one per line: flags alone, "name = value" together.
mode_settings() {
  awk -F';' '{
    for (i = 1; i <= NF; i++) {
      f = $i; gsub(/^ +| +$/, "", f)
      if (f == "") continue
      if (f ~ /=|^(speed|rows|columns) /) { print f; continue }
      n = split(f, flags, " "); for (j = 1; j <= n; j++) print flags[j]
    }
  }' "$1" | sort
}

# The settings the probe left different, as they are now.
modes_changed() {
  [[ -s $modes_before && -s $modes_after ]] || return 0
  comm -13 <(mode_settings "$modes_before") <(mode_settings "$modes_after") | paste -sd ' '
}

# Sends one key and waits until the probe has logged it and shows it on its key line.
key() {
  local expected=$1
  shift
  local count=$(($(wc -l <"$log") + 1))
  t send-keys -t probe "$@" || fail "send-keys $*"
  wait_for "the log to show '$expected'" log_last_is "$count" "$expected"
  wait_for "the screen to show '$expected'" screen_line_is "Tasto: $expected"
}

# A cell run drawn in the given ANSI colours, however tmux groups the codes.
coloured() {
  local fg=$1 bg=$2 text=$3
  screen_escapes | grep -qF -e $'\e['"$fg"$'m\e['"$bg"m"$text" -e $'\e['"$fg;$bg"m"$text"
}

# Sends the key that ends the probe and checks how it ended.
end_probe() {
  local key=$1 expected_status=$2
  t send-keys -t probe "$key" || fail "send-keys $key"
  wait_for "the probe to end" test -s "$status"
  [[ $(cat "$status") == "$expected_status" ]] || fail "the probe ended with status $(cat "$status")"
  [[ -e $restored ]] || fail "the terminal modes were not restored after $key: $(modes_changed)"
  wait_for "the tmux session to close" session_gone
  t kill-server 2>/dev/null
  t has-session -t probe 2>/dev/null && fail "the tmux session is still there"
  return 0
}

check_drawing() {
  local box_top box_bottom dots
  box_top=" ┌$(printf '─%.0s' {1..58})┐"
  box_bottom=" └$(printf '─%.0s' {1..58})┘"
  dots=" │  $(printf '·%.0s' {1..40})                │"
  wait_for "the box" screen_line_is "$box_top"
  screen_line_is "$box_bottom" || fail "bottom of the box"
  screen_line_is " │                                                          │" || fail "sides of the box"
  screen_line_is "$dots" || fail "row of middle dots"
}

run_keys() {
  start_probe 120 50
  check_drawing
  wait_for "the key line" screen_line_is "Tasto: -"

  key "F1" F1
  key "F12" F12
  key "PGDN" NPage
  key "CTRL-END LCTRL" C-End
  key "ALT-X LALT" M-x
  key "CTRL-DEL LCTRL" C-DC
  key "HOME" Home
  key "BS" BSpace
  key "TAB" Tab
  key "ENTER" Enter
  key "CHAR 130" -l "é"
  key "CHAR 65" -l "A"
  # A mouse press at column 10, row 5 as the terminal reports it (X10 encoding).
  key "MOUSE 5 10" -H 1b 5b 4d 20 2a 25
  pane_title_is "Sonda: MOUSE 5 10" || fail "title: $(t display -p -t probe '#{pane_title}')"
  # Give the terminal away and take it back: everything is drawn again over the child's output.
  key "F2" F2
  screen_lacks "CHILD OUTPUT" || fail "the child's output was not painted over"
  check_drawing

  local expected_log
  expected_log=$(printf '%s\n' F1 F12 PGDN "CTRL-END LCTRL" "ALT-X LALT" "CTRL-DEL LCTRL" HOME BS TAB \
    ENTER "CHAR 130" "CHAR 65" "MOUSE 5 10" F2)
  [[ $(cat "$log") == "$expected_log" ]] || fail "key log differs from: $expected_log"

  # Console white on blue is ANSI bright white (97) on blue (44); yellow on red is 93 on 41.
  coloured 97 44 "┌──" || fail "box colours"
  coloured 93 41 "Tasto: F2" || fail "key line colours"
  pane_title_is "Sonda: F2" || fail "title after taking the terminal back: $(t display -p -t probe '#{pane_title}')"
  [[ $(t display -p -t probe '#{cursor_y},#{cursor_x}') == "9,9" ]] || fail "cursor position"

  echo "--- screen at the end"
  screen_text | head -12
  end_probe Escape 0
  [[ $(tail -n 1 "$log") == "ESC" ]] || fail "ESC was not logged"
}

run_small() {
  start_probe 80 24
  wait_for "the request to enlarge" screen_has "Allargare la finestra a 120 x 50"
  screen_lacks "┌" || fail "the box was drawn in a terminal too small for it"
  # A key typed meanwhile is refused with a beep, not passed on.
  t send-keys -t probe F1
  wait_for "the beep" bell_rung
  t resize-window -t probe -x 120 -y 50 || fail "resize-window"
  check_drawing
  key "F3" F3
  [[ $(cat "$log") == "F3" ]] || fail "a key typed while too small was passed on"
  # Shrinking while keys are read asks again; growing back draws the same screen.
  t resize-window -t probe -x 100 -y 50 || fail "resize-window"
  wait_for "the request to enlarge again" screen_has "Allargare la finestra a 120 x 50"
  t resize-window -t probe -x 130 -y 55 || fail "resize-window"
  check_drawing
  wait_for "the key line again" screen_line_is "Tasto: F3"
  end_probe Escape 0
}

run_exits() {
  # An exception nobody catches: terminate aborts (SIGABRT, status 134).
  start_probe 120 50
  check_drawing
  end_probe F4 134
  grep -qF "uncaught on purpose" "$errors" || fail "the exception did not reach stderr"
  # std::exit skips every destructor.
  start_probe 120 50
  check_drawing
  end_probe F5 4
}

case "$mode" in
  keys) run_keys ;;
  small) run_small ;;
  exits) run_exits ;;
  *) fail "unknown mode $mode" ;;
esac
echo "PASS: $mode"
