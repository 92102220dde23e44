#!/usr/bin/env bash
# Replays one key script with two builds and compares what they leave behind: the exit status,
# every data file (byte for byte), the screen dumps and the outside-command log.
#
#   scripts/replay-compare.sh BIN_BEFORE BIN_AFTER
#
# Each bin folder must hold make_demo and VELLA10W. Both runs start from the demo company that
# folder's own make_demo writes and use the same folder path, so anything that shows a path
# cannot differ by where it ran. Exit status: 0 all identical, 1 differences, 2 set-up error.
#   REPLAY_KEYS=file   another key script (default tests/replay/demo.keys)
#   REPLAY_KEEP=1      keep the work folder and print where it is
set -u

usage() { echo "usage: $0 BIN_BEFORE BIN_AFTER" >&2; exit 2; }
[ $# -eq 2 ] || usage

repo=$(cd "$(dirname "$0")/.." && pwd)
keys=${REPLAY_KEYS:-$repo/tests/replay/demo.keys}
[ -f "$keys" ] || { echo "no key script: $keys" >&2; exit 2; }

absolute() { (cd "$1" 2>/dev/null && pwd); }
bin_before=$(absolute "$1") || { echo "not a folder: $1" >&2; exit 2; }
bin_after=$(absolute "$2") || { echo "not a folder: $2" >&2; exit 2; }
for bin in "$bin_before" "$bin_after"; do
  for program in make_demo VELLA10W; do
    [ -x "$bin/$program" ] || { echo "missing $bin/$program" >&2; exit 2; }
  done
done

work=$(mktemp -d "${TMPDIR:-/tmp}/replay.XXXXXX") || exit 2
if [ "${REPLAY_KEEP:-}" = 1 ]; then
  trap 'echo "work folder kept: $work"' EXIT
else
  trap 'rm -rf "$work"' EXIT
fi

# Only the three headless variables may reach the programs: drop any other VELLANO_ setting
# (drive and printer mappings) inherited from the caller.
for name in $(compgen -e); do
  case $name in VELLANO_*) unset "$name" ;; esac
done

# run SIDE BIN: fresh demo into $work/run/data, the replay there, results moved to $work/SIDE.
run() {
  local side=$1 bin=$2 run=$work/run
  rm -rf "$run"
  mkdir -p "$run/io" "$work/$side"
  if ! "$bin/make_demo" "$run/data" >"$run/io/make_demo.out" 2>&1; then
    echo "$side: make_demo failed:" >&2
    cat "$run/io/make_demo.out" >&2
    exit 2
  fi
  cp -R "$run/data" "$work/$side/fresh"
  cp "$keys" "$run/io/keys"
  (
    cd "$run/data" &&
      VELLANO_KEYS="$run/io/keys" VELLANO_SCREEN="$run/io/screens.txt" \
      VELLANO_COMMANDS="$run/io/commands.txt" \
      timeout 300 "$bin/VELLA10W" </dev/null >"$run/io/stdout" 2>"$run/io/stderr"
  )
  echo $? >"$run/io/status"
  # A run that starts no outside command leaves no log: that is an empty log.
  touch "$run/io/screens.txt" "$run/io/commands.txt"
  mv "$run/data" "$work/$side/data"
  mv "$run/io" "$work/$side/io"
}

run before "$bin_before"
run after "$bin_after"

differences=0
note() { echo "  $*"; }
different() { differences=$((differences + 1)); echo "DIFFERENT: $*"; }

files_of() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

echo "replay: $keys"
echo "before: $bin_before"
echo "after:  $bin_after"

# The starting data. Not a verdict on its own, but it tells a difference in the demo from one
# made by the replay.
if diff -r "$work/before/fresh" "$work/after/fresh" >/dev/null; then
  echo "fresh demo: identical ($(files_of "$work/after/fresh" | wc -l) files)"
else
  different "fresh demo written by make_demo"
  diff -rq "$work/before/fresh" "$work/after/fresh" | head -20 | sed 's/^/  /'
fi

# Exit status.
status_before=$(cat "$work/before/io/status")
status_after=$(cat "$work/after/io/status")
if [ "$status_before" = "$status_after" ]; then
  echo "exit status: identical ($status_after)"
else
  different "exit status: before $status_before, after $status_after"
fi
case $status_after in
  0 | 3) ;;
  *) note "warning: VELLA10W ended with status $status_after (0 = ESC out, 3 = script ran out)"
     sed -n '1,5p' "$work/after/io/stderr" | sed 's/^/  stderr: /' ;;
esac

# Data files: the same names, and each the same bytes.
files_of "$work/before/data" >"$work/before/files"
files_of "$work/after/data" >"$work/after/files"
if ! cmp -s "$work/before/files" "$work/after/files"; then
  different "the data folders hold different files"
  diff "$work/before/files" "$work/after/files" | grep '^[<>]' | sed 's/^</  only before:/; s/^>/  only after: /'
fi
compared=0
differing=0
while IFS= read -r file; do
  [ -f "$work/before/data/$file" ] || continue
  compared=$((compared + 1))
  if ! cmp -s "$work/before/data/$file" "$work/after/data/$file"; then
    differing=$((differing + 1))
    different "data file $file ($(stat -c %s "$work/before/data/$file") bytes before," \
      "$(stat -c %s "$work/after/data/$file") after); cmp -l (offset, octal before, after):"
    cmp -l "$work/before/data/$file" "$work/after/data/$file" 2>&1 | head -10 | sed 's/^/  /'
  fi
done <"$work/after/files"
echo "data files compared: $compared, differing: $differing"
echo "  $(tr '\n' ' ' <"$work/after/files")"

# What the replay changed in the demo, so a script that saves nothing shows up here.
changed=()
while IFS= read -r file; do
  if [ ! -f "$work/after/fresh/$file" ]; then
    changed+=("$file(new)")
  elif ! cmp -s "$work/after/fresh/$file" "$work/after/data/$file"; then
    changed+=("$file")
  fi
done <"$work/after/files"
echo "files the replay changed (after vs. its fresh demo): ${#changed[@]}"
echo "  ${changed[*]:-(none)}"

# Screen dumps: one "----" line closes each.
dumps_before=$(grep -c '^----$' "$work/before/io/screens.txt")
dumps_after=$(grep -c '^----$' "$work/after/io/screens.txt")
if cmp -s "$work/before/io/screens.txt" "$work/after/io/screens.txt"; then
  echo "screens compared: $dumps_after dumps, identical"
else
  different "screens: $dumps_before dumps before, $dumps_after after"
  # The first dump that differs, counted from 1, then a diff excerpt.
  first=$(awk 'FILENAME == ARGV[1] { a[FNR] = $0; last = FNR; next }
               FNR > last || a[FNR] != $0 { exit }
               $0 == "----" { n++ }
               END { print n + 1 }' \
    "$work/before/io/screens.txt" "$work/after/io/screens.txt")
  note "first differing dump: $first"
  diff "$work/before/io/screens.txt" "$work/after/io/screens.txt" | head -30 | sed 's/^/  /'
fi

# Outside commands.
commands=$(wc -l <"$work/after/io/commands.txt")
if cmp -s "$work/before/io/commands.txt" "$work/after/io/commands.txt"; then
  echo "command log: identical ($commands lines)"
else
  different "command log"
  diff "$work/before/io/commands.txt" "$work/after/io/commands.txt" | head -20 | sed 's/^/  /'
fi

if [ "$differences" -eq 0 ]; then
  echo "RESULT: identical"
  exit 0
fi
echo "RESULT: $differences difference(s)"
exit 1
