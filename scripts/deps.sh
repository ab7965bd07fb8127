#!/usr/bin/env bash
# Installs, from Debian's packages, whatever Vastara needs to build, run and test that this
# machine lacks. Safe to run again: installed packages are skipped.
set -euo pipefail
packages=(
  g++ cmake make pkg-config lld
  qt6-base-dev libgl-dev
  fonts-dejavu-core
  xvfb xauth xdotool x11-apps python3
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file man-db lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
