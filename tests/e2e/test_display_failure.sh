# A window of 0 by 0 cannot be created, nor any window without an X server: the reason is
# printed and the run fails with a non-zero status instead of pretending to succeed.
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

# With no X server to reach, the step that fails does not say why; a last line names the DISPLAY
# tried, or says that none is set.
# no_display <name> <env arguments...>: runs the game with that environment; the log is in LOG.
no_display() {
    LOG="$SCRATCH/$1.log"
    shift
    (cd "$GAME_DIR" && exec timeout 30 env "$@" "$KESTRA") 2>"$LOG" >/dev/null
    STATUS=$?
    [ "$STATUS" -ne 124 ] || e2e_fail "the game kept running without a display"
    [ "$STATUS" -eq 1 ] || e2e_fail "a start-up without a display exited with status $STATUS"
}
free=900
while [ -e "/tmp/.X$free-lock" ] || [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
no_display unreachable "DISPLAY=:$free"
e2e_expect_lines "$LOG" "Start-up failed while booting Allegro." "No X display could be reached at DISPLAY=\":$free\"."
no_display unset -u DISPLAY
e2e_expect_lines "$LOG" "Start-up failed while booting Allegro." "No X display could be reached: DISPLAY is not set."
echo "PASS"
