# A map script that never returns does not keep the game from quitting: SIGTERM during the
# load stops the script with a message and the game shuts down cleanly.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

printf '\nfnLog("Runaway loop begins")\nwhile true do end\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

e2e_start "$SCRATCH/runaway.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "Runaway loop begins" 30 || e2e_fail "the map script never ran"
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended before SIGTERM"
e2e_stop TERM
[ "$STATUS" -ne 124 ] || e2e_fail "SIGTERM did not end the game"
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_text "$LOG" "script stopped, the game is quitting"
e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
echo "PASS: a runaway map script is stopped by SIGTERM"
