#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time:
#   run_fuzzer.sh TARGET SEED_CORPUS WORK_CORPUS SECONDS INPUT_TIMEOUT [DICTIONARY]
# New inputs go to the work corpus in the build tree, so the committed seeds stay small. A
# crash, sanitizer report, leak or hang ends the run non-zero and its input is written into the
# seed corpus (crash-*, leak-*, timeout-*, oom-*), so that it is replayed by every later run
# until the fault is fixed; commit it with the fix. The target's own output (the engine's
# messages) is dropped; libFuzzer's and the sanitizers' reports still reach standard error.
set -uo pipefail
target="$1"; seeds="$2"; work="$3"; seconds="$4"; input_timeout="$5"; dictionary="${6:-}"
mkdir -p "$work"
extra=()
if [ -n "$dictionary" ]; then extra+=(-dict="$dictionary"); fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
"$target" -max_total_time="$seconds" -timeout="$input_timeout" -rss_limit_mb=2048 \
  -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$seeds/" "${extra[@]}" "$work" "$seeds"
status=$?
if [ $status -ne 0 ]; then
  echo "run_fuzzer: $(basename "$target") failed ($status); the input is kept in $seeds" >&2
fi
exit $status
