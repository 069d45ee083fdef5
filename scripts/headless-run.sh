#!/usr/bin/env bash
# headless-run.sh <kestra> <screenshot.png> [game arguments...]
# Runs the game on a private Xvfb display for a few seconds, saves a screenshot, then ends it with SIGTERM.
set -euo pipefail
game="$1"; shot="$2"; shift 2
seconds="${KESTRA_HEADLESS_SECONDS:-6}"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY="$display" "$game" "$@" &
pid=$!
sleep "$seconds"
if kill -0 "$pid" 2>/dev/null; then
  DISPLAY="$display" import -window root "$shot" && echo "Screenshot saved to $shot"
  kill -TERM "$pid"
fi
wait "$pid"
