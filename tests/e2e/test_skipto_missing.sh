# Skipping to a level that has no map file warns and falls back to the level select.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_start "$SCRATCH/skip.log" -skipto NoSuchLevel
e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" \
    "Skipping to level NoSuchLevel" \
    "WARNING:  File NoSuchLevel not found.  Going to level select." \
    "[Post Process] Complete"
e2e_expect_no_text "$LOG" "Shifted to title screen"
echo "PASS"
