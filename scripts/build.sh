#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh <dir> [cmake options...]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$top" -B "$top/$dir" "$@" > "$top/$dir.configure.log" 2>&1 || { cat "$top/$dir.configure.log"; exit 1; }
cmake --build "$top/$dir" -j"$(nproc)"
