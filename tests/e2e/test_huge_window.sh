# Window sizes no display can be made with are cut to the largest monitor (the private X
# server's screen is 1024 by 768), with a message, and the game boots and runs instead of
# crashing in the window system.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
config="$GAME_DIR/Configuration.lua"
cp "$config" "$SCRATCH/Configuration.lua"

# run_with <width> <height> <log name> <expected message>
run_with() {
    cp "$SCRATCH/Configuration.lua" "$config"
    printf '\nOM_SetOption("WinSizeX", %s)\nOM_SetOption("WinSizeY", %s)\n' "$1" "$2" >> "$config"
    e2e_start "$SCRATCH/$3.log"
    e2e_wait_for "$LOG" "[Post Process] Complete" 60 || e2e_fail "boot did not finish with a window of $1 by $2"
    e2e_expect_text "$LOG" "$4"
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended with a window of $1 by $2"
    e2e_stop TERM
    [ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS with a window of $1 by $2"
}

run_with 100000 300 wide "Display of size 100000 by 300 is larger than a display can be made, using 1024 by 300."
run_with "1/0" 2147483647 infinite "Display of size 2147483647 by 2147483647 is larger than a display can be made, using 1024 by 768."
echo "PASS: oversized windows are cut and the game runs"
