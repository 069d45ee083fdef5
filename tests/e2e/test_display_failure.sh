# A window of 0 by 0 cannot be created: the reason is printed and the run fails with a
# non-zero status instead of pretending to succeed.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
printf '\nOM_SetOption("WinSizeX", 0)\nOM_SetOption("WinSizeY", 0)\n' >> "$GAME_DIR/Configuration.lua"

e2e_start "$SCRATCH/display.log"
e2e_wait_exit 30
[ "$STATUS" -ne 124 ] || e2e_fail "the game kept running without a display"
[ "$STATUS" -ne 0 ] || e2e_fail "a failed boot exited with status 0"
e2e_expect_lines "$LOG" \
    "Display of size 0 by 0 failed to create." \
    "With no display, the program will now exit" \
    "Start-up failed while booting the managers."
e2e_expect_no_text "$LOG" "[Post Process] Begin"
echo "PASS"
