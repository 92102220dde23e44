#!/usr/bin/env bash
# Counts the file system calls of one registration list (F9) over 9,999 registrations: strace counts
# a run that opens the register and shows nothing, and one that also builds and shows the list
# once; the difference is what the list costs. It must be a handful of reads, not one per
# registration and name (a network data folder pays a round trip for each).
#   f9_syscalls.sh PROBE        prints the calls of one list by name and their total
# Exit status: 0 at most $MOST calls, 1 more, 2 set-up error.
set -u
probe=${1:?probe program}
MOST=${F9_MOST_CALLS:-40}

if ! command -v strace >/dev/null; then
  echo "FAIL: strace is not installed (scripts/install-packages.sh installs it)"
  exit 2
fi

# LeakSanitizer cannot run under ptrace; leaks are checked by the other tests of that build.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d "${TMPDIR:-/tmp}/vellano-f9.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT

"$probe" make "$work/data" >/dev/null || { echo "FAIL: the register was not written"; exit 2; }

# count N FILE: strace's summary of a run that shows the list N times, as "name calls" lines.
count() {
  strace -f -c -o "$work/summary" "$probe" list "$work/data" "$1" >"$work/out" || exit 2
  # Memory calls are left out: they never reach the disk or the network, and the sanitizer
  # build's allocator makes many more of them.
  awk '$1 ~ /^[0-9.]+$/ && NF >= 5 && $NF != "total" && $NF !~ /^(brk|mmap|munmap|mremap|madvise|mprotect)$/ { print $NF, $4 }' \
    "$work/summary" | LC_ALL=C sort >"$2"
}
count 0 "$work/none"
count 1 "$work/once"
grep -q '^9999 lines$' "$work/out" || { echo "FAIL: the list did not hold 9999 lines"; exit 2; }

# Calls by name: once minus none.
total=$(LC_ALL=C join -a 1 -a 2 -e 0 -o 0,1.2,2.2 "$work/once" "$work/none" |
  awk '{ d = $2 - $3; if (d != 0) printf "  %-20s %d\n", $1, d; t += d } END { print t + 0 }' |
  tee "$work/diff" | tail -n 1)
echo "system calls of one list over 9999 registrations: $total"
sed '$d' "$work/diff"
if [ "$total" -gt "$MOST" ]; then
  echo "FAIL: more than $MOST system calls"
  exit 1
fi
echo "OK"
