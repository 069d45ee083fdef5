#!/bin/bash
# Runs the unit tests that need an OpenGL context (suites with "GL" in their name) inside a
# private X server. Arguments: <kestra path> <game dir>; corvel_tests sits beside kestra.
# In a sanitizer build the leak check at exit covers them too, with Mesa's driver kept loaded
# so that the suppression file can name its allocations.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
TESTS="$(dirname "$KESTRA")/corvel_tests"
[ -x "$TESTS" ] || e2e_fail "$TESTS not built"
e2e_sanitizer_preload "$TESTS"

OUTPUT="$SCRATCH/gl_unit.log"
if [ -n "$GAME_PRELOAD" ]; then
    LD_PRELOAD="$GAME_PRELOAD" "$TESTS" --gtest_filter='*GL*' > "$OUTPUT" 2>&1
else
    "$TESTS" --gtest_filter='*GL*' > "$OUTPUT" 2>&1
fi
STATUS=$?
cat "$OUTPUT"
[ $STATUS -eq 0 ] || e2e_fail "GL unit tests ended with status $STATUS"
# Under Xvfb every GL test must really run; a skip means the display could not be made.
if grep -q '^\[  SKIPPED \]' "$OUTPUT"; then
    e2e_fail "GL tests were skipped under Xvfb"
fi
grep -q '^\[  PASSED  \] [1-9]' "$OUTPUT" || e2e_fail "no GL test ran"
e2e_expect_no_text "$OUTPUT" "ERROR: LeakSanitizer"
e2e_expect_no_text "$OUTPUT" "runtime error:"
exit 0
