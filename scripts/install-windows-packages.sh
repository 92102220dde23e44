#!/usr/bin/env bash
# Installs the Debian packages the Windows build needs (as root, or through sudo): the
# mingw-w64 cross compiler, zlib for it, and 7-Zip for the zip. With --wine also wine, which
# runs the Windows smoke tests here (about 1.1 GB together).
set -euo pipefail
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake ninja-build 7zip)
if [ "${1:-}" = --wine ]; then
  packages+=(wine wine64 tmux)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
