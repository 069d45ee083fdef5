# SIGTERM and SIGINT end a running game through the normal shutdown, with status 0.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

for sig in TERM INT; do
    e2e_start "$SCRATCH/$sig.log" -startupdebug
    e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
    sleep 1
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended on its own before SIG$sig"
    e2e_stop "$sig"
    [ "$STATUS" -eq 0 ] || e2e_fail "SIG$sig: exit status $STATUS"
    e2e_expect_lines "$LOG" "[Post Process] Complete" "[Clean Memory] Begin" "[Clean Memory] Done"
done
echo "PASS"
