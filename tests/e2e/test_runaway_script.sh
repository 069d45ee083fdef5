# A map script that never returns does not keep the game from quitting: a signal during the
# load stops the script with a message and the game shuts down cleanly, within moments. That
# holds for a plain loop and for one that catches every stop with its own pcall and loops on,
# under SIGTERM and SIGINT alike.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

MAP_SCRIPT="$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"
cp "$MAP_SCRIPT" "$SCRATCH/FirstSteps.lua"

# run_away <name> <signal> <loop>: the map script ends in the loop; the signal must end the game.
run_away() {
    local name="$1" sig="$2" loop="$3"
    cp "$SCRATCH/FirstSteps.lua" "$MAP_SCRIPT"
    printf '\nfnLog("Runaway loop begins")\n%s\n' "$loop" >> "$MAP_SCRIPT"
    e2e_start "$SCRATCH/$name.log" -startupdebug -skipto FirstSteps
    e2e_wait_for "$LOG" "Runaway loop begins" 30 || e2e_fail "$name: the map script never ran"
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "$name: the game ended before SIG$sig"
    local started
    started="$(date +%s)"
    e2e_stop "$sig"
    [ "$STATUS" -ne 124 ] || e2e_fail "$name: SIG$sig did not end the game"
    [ "$STATUS" -eq 0 ] || e2e_fail "$name: exit status $STATUS"
    # A loose bound for a loaded machine; a stuck script never ends at all.
    [ "$(( $(date +%s) - started ))" -le 5 ] || e2e_fail "$name: SIG$sig took more than 5 seconds to end the run"
    e2e_expect_text "$LOG" "script stopped, the game is quitting"
    e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
}

run_away plain TERM 'while true do end'
run_away caught TERM 'while true do pcall(function() while true do end end) end'
run_away caught-int INT 'while true do pcall(function() while true do end end) end'
echo "PASS: a runaway map script is stopped by SIGTERM and SIGINT, caught or not"
