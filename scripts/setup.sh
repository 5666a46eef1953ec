#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12 (idempotent).
set -euo pipefail
packages=(cmake ninja-build g++ zlib1g-dev libgtest-dev clang-format
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
          wine wine64 xvfb xauth imagemagick fonts-wqy-microhei locales python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
