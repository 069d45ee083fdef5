#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing when all are present.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  liballegro5-dev liballegro-audio5-dev liballegro-acodec5-dev liballegro-ttf5-dev
  liballegro-image5-dev
  liblua5.2-dev libfreetype-dev libgl-dev libglu1-mesa-dev mesa-utils libgl1-mesa-dri
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool x11-utils x11-apps imagemagick fonts-dejavu-core
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
