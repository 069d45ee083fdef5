#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh <dir> [cmake options...]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
# A tree copied together with its build folder brings a cache made for the original tree, whose
# makefiles would rebuild the original instead of this one: such a folder is configured afresh.
fresh=()
cache="$top/$dir/CMakeCache.txt"
if [ -f "$cache" ]; then
  made_for="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")"
  if [ "$(realpath -m "$made_for")" != "$(realpath -m "$top")" ]; then
    echo "$top/$dir was configured for $made_for: configuring it afresh for $top"
    fresh=(--fresh)
  fi
fi
cmake -S "$top" -B "$top/$dir" "${fresh[@]}" "$@" > "$top/$dir.configure.log" 2>&1 || { cat "$top/$dir.configure.log"; exit 1; }
cmake --build "$top/$dir" -j"$(nproc)"
