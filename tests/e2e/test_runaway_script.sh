# A map script that never returns does not keep the game from quitting: a signal during the
# load stops the script with a message and the game shuts down cleanly, within moments. That
# holds for a plain loop, for one that catches every stop with its own pcall and loops on, and
# for such a loop inside a coroutine, under SIGTERM and SIGINT alike, for a loop of slow C calls
# and for a script in a long C call when the signal comes. An error handler that never returns
# cannot be stopped at all (Lua runs it with hooks off): two seconds after the stop was raised
# in it the game ends without its shutdown, says that a script would not stop, and ends as the
# signal would have ended it. A script held in a call that never returns holds the first signal
# up for good; a second signal ends the game at once the same way, killed by that signal.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

MAP_SCRIPT="$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"
cp "$MAP_SCRIPT" "$SCRATCH/FirstSteps.lua"

# start_loop <name> <loop>: starts the game with the map script ending in the loop and waits
# until the loop runs.
start_loop() {
    cp "$SCRATCH/FirstSteps.lua" "$MAP_SCRIPT"
    printf '\nfnLog("Runaway loop begins")\n%s\n' "$2" >> "$MAP_SCRIPT"
    e2e_start "$SCRATCH/$1.log" -startupdebug -skipto FirstSteps
    e2e_wait_for "$LOG" "Runaway loop begins" 30 || e2e_fail "$1: the map script never ran"
}

# signal_loop <name> <signal> <loop>: the map script ends in the loop; sends the signal once it
# runs and leaves the exit status in STATUS and the seconds the end took in TOOK.
signal_loop() {
    local name="$1" sig="$2"
    start_loop "$name" "$3"
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "$name: the game ended before SIG$sig"
    local started
    started="$(date +%s)"
    e2e_stop "$sig"
    TOOK="$(( $(date +%s) - started ))"
    [ "$STATUS" -ne 124 ] || e2e_fail "$name: SIG$sig did not end the game"
}

# expect_stopped <name> <signal> [seconds]: the script was stopped and the game shut down
# cleanly, within 10 seconds unless given.
expect_stopped() {
    [ "$STATUS" -eq 0 ] || e2e_fail "$1: exit status $STATUS"
    # A loose bound for a loaded machine; a stuck script never ends at all.
    [ "$TOOK" -le "${3:-10}" ] || e2e_fail "$1: SIG$2 took more than ${3:-10} seconds to end the run"
    e2e_expect_text "$LOG" "script stopped, the game is quitting"
    e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
    e2e_expect_no_text "$LOG" "a script would not stop"
}

# run_away <name> <signal> <loop> [seconds]: the script is stopped and the game shuts down
# cleanly.
run_away() {
    signal_loop "$1" "$2" "$3"
    expect_stopped "$1" "$2" "${4:-10}"
}

# run_stuck <name> <signal> <status> <loop>: the script cannot be stopped; the watcher ends the
# game two seconds after the stop, with the signal's own status.
run_stuck() {
    local name="$1" sig="$2" status="$3"
    signal_loop "$name" "$sig" "$4"
    [ "$STATUS" -eq "$status" ] || e2e_fail "$name: exit status $STATUS, not $status"
    # Loose on a loaded machine; the signal alone never ends it.
    [ "$TOOK" -ge 1 ] && [ "$TOOK" -le 15 ] || e2e_fail "$name: SIG$sig ended the run after $TOOK seconds, not two"
    e2e_expect_text "$LOG" "Quit watcher: a script would not stop after SIG$sig; the game ends without its shutdown."
    e2e_expect_no_text "$LOG" "[Clean Memory] Begin"
}

# run_held <name> <first> <second> <status> <call>: the script is held in a call that reads a
# pipe the driver keeps open ($FIFO in the call). The first signal is waited out; the second ends
# the game at once without its shutdown, killed by that second signal.
run_held() {
    local name="$1" first="$2" second="$3" status="$4" held
    FIFO="$SCRATCH/$name.fifo"
    mkfifo "$FIFO" || e2e_fail "$name: cannot make the pipe"
    exec {held}<>"$FIFO"
    start_loop "$name" "${5//\$FIFO/$FIFO}"
    sleep 0.5
    kill "-$first" "$GAME_PID"
    # Past the watcher's grace for a stuck script: a held call is not stuck, so nothing ends yet.
    sleep 3
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "$name: SIG$first alone ended the game"
    # A loose bound for a loaded machine; without the second signal's end the call never returns.
    e2e_stop "$second" 10
    [ "$STATUS" -eq "$status" ] || e2e_fail "$name: exit status $STATUS after SIG$first and SIG$second, not $status"
    e2e_expect_text "$LOG" "Quit watcher: SIG$second came while the game was already quitting; the game ends without its shutdown."
    e2e_expect_no_text "$LOG" "[Clean Memory] Begin"
    # Lets a shell the game left behind in the read see the end of the pipe.
    exec {held}>&-
}

run_away plain TERM 'while true do end'
run_away caught TERM 'while true do pcall(function() while true do end end) end'
run_away caught-int INT 'while true do pcall(function() while true do end end) end'
run_away coroutine TERM 'coroutine.wrap(function() while true do pcall(function() while true do end end) end end)()'
# A loop whose time goes into C calls runs few instructions a second; the stop reaches it all the
# same, within moments.
run_away slow-calls TERM 'local sText, tSame = string.rep("a", 200000), {a = "a"} while true do sText = sText:gsub("a", tSame) end'
# A script in one long C call when the signal comes has not been told to stop yet: the game
# waits for the call, and the stop ends the script once it returns.
run_away long-call TERM 'os.execute("sleep 4") while true do end' 30
[ "$TOOK" -ge 3 ] || e2e_fail "long-call: the run ended after $TOOK seconds, before the call returned"
# A loop of calls each five times slower than the quit check's pace, begun after the map's quick
# set-up had raised the check's count to hundreds of instructions, sees the stop before its next
# call: after the signal at most a call begun before the stop was seen runs, not the scores that
# go by before the count next looks. Calls begun after the signal say so.
SENT="$SCRATCH/sent"
start_loop slow-steps "while true do os.execute('[ -e $SENT ] && echo Late call >&2; sleep 0.1; echo Slow call >&2') end"
guard=$((SECONDS + 60))
until [ "$(grep -c '^Slow call$' "$LOG")" -ge 10 ]; do
    [ "$SECONDS" -lt "$guard" ] || e2e_fail "slow-steps: the loop made no 10 calls"
    sleep 0.1
done
touch "$SENT"
started="$(date +%s)"
e2e_stop TERM 60
TOOK="$(( $(date +%s) - started ))"
expect_stopped slow-steps TERM 60
late="$(grep -c '^Late call$' "$LOG")"
[ "$late" -le 2 ] || e2e_fail "slow-steps: $late calls began after SIGTERM"
# A call that never returns holds the first signal up for good; a second one ends the game.
run_held read TERM TERM 143 'io.input("$FIFO") io.read()'
run_held execute TERM INT 130 'os.execute("read tLine < $FIFO")'
HANDLER='xpcall(function() error("x") end, function(m) while true do end end)'
run_stuck handler TERM 143 "$HANDLER"
run_stuck handler-int INT 130 "$HANDLER"
echo "PASS: a runaway map script is stopped by SIGTERM and SIGINT, caught or not, one that cannot be stopped ends the game, and so does a second signal"
