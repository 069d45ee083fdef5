#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing when all are present.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  liballegro5-dev liballegro-audio5-dev liballegro-acodec5-dev liballegro-ttf5-dev
  liballegro-image5-dev libx11-dev libpng-dev
  liblua5.2-dev libfreetype-dev libgl-dev libglu1-mesa-dev mesa-utils libgl1-mesa-dri
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils x11-apps imagemagick fonts-dejavu-core iproute2
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Packages can be present yet leave a command out (a recommended package skipped by
# --no-install-recommends, for one), so check every command the scripts and tests call.
commands=(
  cmake make c++ pkg-config git clang clang++
  Xvfb xvfb-run xauth xdotool xdpyinfo import convert ip unshare
)
for c in "${commands[@]}"; do
  if ! command -v "$c" >/dev/null 2>&1; then
    echo "install-deps: the command '$c' is still missing after installing" >&2
    exit 1
  fi
done
