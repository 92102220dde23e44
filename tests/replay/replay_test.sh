#!/usr/bin/env bash
# The replay compared with itself on one build: two runs must leave the same bytes, screens
# and command log, the walk must get back out through the main menu (status 0: the keys are
# still in step with the screens), and every screen's save must still reach its file.
# Without these a before/after comparison proves nothing.
#   replay_test.sh BIN_FOLDER
set -u
bin=${1:?bin folder}
here=$(cd "$(dirname "$0")" && pwd)

# One file per save the walk makes (demo.keys says which screen writes which), plus the lock
# and the (emptied) journal the saves leave in the folder.
expected="ACQUIS11.DAT CASBAN.DAT CLIFOR.DAT CORRIS11.DAT DATA.DAT ESTC.DAT INDACQ11.DAT INDEX.DAT
INDICECL.DAT INDVEN11.DAT PAGVEN11.DAT PARAM.DAT PSALCL11.DAT PSALFO11.DAT SOTCON.DAT TABIVA.DAT
VENDIT11.DAT VELLANO.JNL(new) VELLANO.LCK(new)"

out=$(bash "$here/../../scripts/replay-compare.sh" "$bin" "$bin")
status=$?
echo "$out"
fail() { echo "FAIL: $*"; exit 1; }

[ "$status" -eq 0 ] || fail "two runs of the same build differ (replay-compare exit $status)"
grep -qx 'exit status: identical (0)' <<<"$out" || fail "the walk did not end with ESC from the main menu"
changed=$(grep -A1 '^files the replay changed' <<<"$out" | tail -n 1 | tr ' ' '\n' | grep . | sort)
want=$(tr ' ' '\n' <<<"$expected" | grep . | sort)
if [ "$changed" != "$want" ]; then
  echo "changed files, expected (<) and seen (>):"
  diff <(echo "$want") <(echo "$changed")
  fail "the walk no longer changes the files it saves"
fi
echo "PASS"
