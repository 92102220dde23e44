#!/usr/bin/env bash
# Installs the Debian packages the Windows build needs (as root, or through sudo): the
# mingw-w64 cross compiler, zlib for it, wine (the build runs make_form.exe to draw the form),
# dpkg-dev (unpacks the sources of qpdf) and 7-Zip for the zip, about 1.1 GB together. With
# --tests also tmux, for the console smoke test.
set -euo pipefail
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake ninja-build 7zip wine wine64 dpkg-dev)
if [ "${1:-}" = --tests ]; then
  packages+=(tmux)
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
