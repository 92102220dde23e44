#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and a run need (as root, or through sudo).
# A run opens PDF files with xdg-open (xdg-utils) and prints through Windows with lp
# (cups-client). A test counts the system calls of the registration list with strace.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git
          libncurses-dev libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev tmux 7zip qpdf libqpdf-dev zlib1g-dev less poppler-utils
          xdg-utils cups-client strace)
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
