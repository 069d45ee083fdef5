# When the connection to the X server goes (the server ends, or the window's client is killed)
# under a running game, the game says so in one line and ends within moments with its own
# status, instead of hanging or freeing twice in its exit path. A window destroyed by another
# client ends it the same way, after a line that names the error the server gave.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

# start_playing <log name>: boots into the sample map and leaves the window id in WIN.
start_playing() {
    e2e_start "$SCRATCH/$1.log" -skipto FirstSteps
    e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
    e2e_find_window
    sleep 1
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended on its own"
}

expect_prompt_end() {
    # A loose bound for a loaded machine; a hang never ends at all.
    e2e_wait_exit 10
    [ "$STATUS" -ne 124 ] || e2e_fail "$1: the game was still running ten seconds later"
    [ "$STATUS" -eq 3 ] || e2e_fail "$1: exit status $STATUS, not 3"
    [ "$(grep -c "The connection to the window system was lost, the game ends now." "$LOG")" -eq 1 ] ||
        e2e_fail "$1: the loss was not reported in exactly one line"
}

start_playing killed-window
xdotool windowkill "$WIN"
expect_prompt_end "window killed"

start_playing destroyed-window
"$(dirname "$KESTRA")/xdestroywindow" "$WIN" || e2e_fail "the window could not be destroyed"
expect_prompt_end "window destroyed"
grep -qE '^The window system refused request [0-9]+\.[0-9]+ on resource 0x[0-9a-f]+: error [0-9]+.*\.$' "$LOG" ||
    e2e_fail "window destroyed: the error was not named in a line of its own"
[ "$(grep -c "^The window system refused request" "$LOG")" -eq 1 ] || e2e_fail "window destroyed: more than one error line"
e2e_expect_no_text "$LOG" "X Error of failed request"

start_playing killed-server
kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=""
expect_prompt_end "server ended"
echo "PASS: losing the X connection or the window ends the game at once with status 3"
