#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer trees, and runs every test.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" build
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)")
"$top/scripts/build.sh" build-san -DCORVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# The GL unit tests run in the sanitizer tree only through sanitized.gl_unit, on a private X
# server with Mesa's driver kept loaded for the leak check; a desktop's DISPLAY is not theirs.
(cd "$top/build-san" && unset DISPLAY && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$top/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 ctest -L '^(unit|sanitized-x11)$' --output-on-failure -j"$(nproc)")
