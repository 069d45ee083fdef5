#!/usr/bin/env bash
# Installs what is missing, builds the normal, the sanitizer and the fuzz trees, and runs every
# test; each fuzz target runs for a bounded time, all of them in parallel.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" build
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)")
"$top/scripts/build.sh" build-san -DCORVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# The GL unit tests run in the sanitizer tree only through sanitized.gl_unit, on a private X
# server with Mesa's driver kept loaded for the leak check; a desktop's DISPLAY is not theirs.
(cd "$top/build-san" && unset DISPLAY && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$top/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 ctest -L '^(unit|sanitized-x11)$' --output-on-failure -j"$(nproc)")
"$top/scripts/build.sh" build-fuzz -DCORVEL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
(cd "$top/build-fuzz" && ctest -L fuzz --output-on-failure -j"$(nproc)")
