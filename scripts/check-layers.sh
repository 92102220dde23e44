#!/usr/bin/env bash
# Fails when a source file includes a folder above its own layer, or a folder of its own
# level: includes only go downwards. Tests, benchmarks and fuzz targets may include any layer.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A allowed=(
  [platform]=""
  [records]="platform"
  [screen]="records platform"
  [master]="screen records platform"
  [printout]="screen records platform"
  [entry]="master printout screen records platform"
  [lists]="master printout screen records platform"
  [registers]="lists master printout screen records platform"
  [telematic]="registers lists master printout screen records platform"
  [programs]="telematic registers lists entry master printout screen records platform"
  [outside]="entry master printout screen records platform"
)
status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    [ "$target" = "$folder" ] && continue
    [ -n "${allowed[$target]+x}" ] || continue  # not a project folder
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$file: includes $target/, which $folder/ may not include"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[^/"]+/' --include='*.h' --include='*.cpp' "$folder" || true)
done
# The operating system's own headers belong to platform/ alone.
for folder in "${!allowed[@]}"; do
  [ "$folder" = platform ] || [ ! -d "$folder" ] && continue
  while IFS= read -r line; do
    echo "$line: only platform/ may include the system's console or Windows headers"
    status=1
  done < <(grep -rnE '^\s*#\s*include <(windows|curses|ncurses|ncursesw/curses)\.h>' \
             --include='*.h' --include='*.cpp' "$folder" || true)
done
[ $status -eq 0 ] && echo "includes follow the layers"
exit $status
