#!/usr/bin/env bash
# Installs what is missing, builds the normal, the sanitizer and the fuzz trees, and runs every
# test; each fuzz target runs for a bounded time, all of them in parallel.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
# run_ctest <tree> [ctest options...]: when tests fail, each one's own last words close the
# output (the end of its output, then its failure lines), where a reader of only the end of a
# long run, such as a CI summary, sees why.
run_ctest() {
  local tree="$1"; shift
  (cd "$tree" && ctest --output-on-failure "$@") && return 0
  echo "---- why they failed ----"
  awk '
    / Test: / { name = $3 }
    /^Output:$/ { n = 0; inside = 1; getline; next }
    /^<end of output>$/ { inside = 0 }
    inside { out[++n] = $0 }
    /^Test .*(Failed|Exception|Timeout)/ && name != "" {
      print "== " name
      for (k = (n > 12 ? n - 11 : 1); k <= n; k++) print "   " out[k]
      m = 0
      for (k = 1; k <= n && m < 6; k++) if (out[k] ~ /FAIL:|Failure|Expected|Which is|error:|ERROR:/) { print "   " out[k]; m++ }
      name = ""
    }' "$tree/Testing/Temporary/LastTest.log"
  return 1
}
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" build
run_ctest "$top/build" -j"$(nproc)"
"$top/scripts/build.sh" build-san -DCORVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# The GL unit tests run in the sanitizer tree only through sanitized.gl_unit, on a private X
# server with Mesa's driver kept loaded for the leak check; a desktop's DISPLAY is not theirs.
(unset DISPLAY && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$top/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$top/build-san" -L '^(unit|sanitized-x11)$' -j"$(nproc)")
"$top/scripts/build.sh" build-fuzz -DCORVEL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
run_ctest "$top/build-fuzz" -L fuzz -j"$(nproc)"
