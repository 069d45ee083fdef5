# "-redirect" sends the log to a file; a file that cannot be opened keeps the log on
# standard error with a warning.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_start "$SCRATCH/stderr.log" -startupdebug -redirect "$SCRATCH/redirected.log"
e2e_wait_for "$SCRATCH/redirected.log" "[Post Process] Complete" || e2e_fail "nothing reached the redirected log"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$SCRATCH/redirected.log" "[Initializing Allegro]" "[Post Process] Begin" "[Clean Memory] Done"
e2e_expect_no_text "$SCRATCH/stderr.log" "[Initializing Allegro]"

e2e_start "$SCRATCH/fallback.log" -startupdebug -redirect "$SCRATCH/no/such/dir/log.txt"
e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "log lost after a failed redirect"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" \
    "ParseCommandLine warning, cannot open $SCRATCH/no/such/dir/log.txt for writing. The log stays on standard error." \
    "[Initializing Allegro]" \
    "[Clean Memory] Done"
echo "PASS"
