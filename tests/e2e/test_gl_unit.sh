#!/bin/bash
# Runs the unit tests that need an OpenGL context (suites with "GL" in their name) inside a
# private X server. Arguments: <kestra path> <game dir>; corvel_tests sits beside kestra.
set -u
KESTRA="${1:?usage: test_gl_unit.sh <kestra path> <game dir>}"
TESTS="$(dirname "$KESTRA")/corvel_tests"
if [ ! -x "$TESTS" ]; then
    echo "test_gl_unit: $TESTS not built" >&2
    exit 1
fi
if ! command -v xvfb-run > /dev/null; then
    echo "test_gl_unit: xvfb-run not installed" >&2
    exit 1
fi

OUTPUT="$(mktemp)"
trap 'rm -f "$OUTPUT"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" "$TESTS" --gtest_filter='*GL*' > "$OUTPUT" 2>&1
STATUS=$?
cat "$OUTPUT"
if [ $STATUS -ne 0 ]; then
    exit $STATUS
fi
# Under Xvfb every GL test must really run; a skip means the display could not be made.
if grep -q '^\[  SKIPPED \]' "$OUTPUT"; then
    echo "test_gl_unit: GL tests were skipped under Xvfb" >&2
    exit 1
fi
if ! grep -q '^\[  PASSED  \] [1-9]' "$OUTPUT"; then
    echo "test_gl_unit: no GL test ran" >&2
    exit 1
fi
exit 0
