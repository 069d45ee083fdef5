#!/usr/bin/env bash
# headless-run.sh <kestra> <screenshot.png> [game arguments...]
# Runs the game on a private Xvfb display for a few seconds, saves a screenshot, then ends it
# with SIGTERM. Exits with the game's own status.
set -euo pipefail
game="$1"; shot="$2"; shift 2
seconds="${KESTRA_HEADLESS_SECONDS:-6}"
fdfile="$(mktemp)"
pid=""
# Xvfb picks a free display number itself and writes it to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
  rm -f "$fdfile"
}
trap cleanup EXIT
display=""
for _ in $(seq 100); do
  n="$(tr -dc '0-9' < "$fdfile")"
  if [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then display=":$n"; break; fi
  sleep 0.1
done
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY="$display" "$game" "$@" &
pid=$!
sleep "$seconds"
if kill -0 "$pid" 2>/dev/null; then
  if DISPLAY="$display" import -window root "$shot"; then
    echo "Screenshot saved to $shot"
  else
    echo "Could not save a screenshot (ImageMagick's import is needed)" >&2
  fi
  kill -TERM "$pid"
fi
status=0
wait "$pid" || status=$?
pid=""
exit "$status"
