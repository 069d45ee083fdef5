# When the X server goes away under a running game, the game says so in one line and ends
# within a second with its own status, instead of hanging or freeing twice in its exit path.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

e2e_start "$SCRATCH/lost.log" -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended on its own"

kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=""
e2e_wait_exit 1
[ "$STATUS" -ne 124 ] || e2e_fail "the game was still running a second after the X server ended"
[ "$STATUS" -eq 3 ] || e2e_fail "exit status $STATUS, not 3"
[ "$(grep -c "The connection to the window system was lost, the game ends now." "$LOG")" -eq 1 ] ||
    e2e_fail "the loss was not reported in exactly one line"
echo "PASS: losing the X server ends the game at once with status 3"
