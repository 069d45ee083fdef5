#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from game/.
# With no display the game runs under Xvfb for a few seconds, saves build/screenshot.png and exits.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" build
cd "$top/game"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$top/build/kestra" "$@"
fi
exec "$top/scripts/headless-run.sh" "$top/build/kestra" "$top/build/screenshot.png" "$@"
