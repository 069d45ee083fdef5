# Skipping to a level that has no map file warns and falls back to the level select: its screen
# is shown and its gear draws (traced) before any map loads, and the title screen is skipped.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
# The level select starts a lone map by itself; keep the copy at the one map this test expects.
find "$GAME_DIR/Data/Maps" -name '*.slf' ! -name 'FirstSteps.slf' -delete
printf '\nOM_SetOption("Debug_LevelSelectGearRender", true)\n' >> "$GAME_DIR/Configuration.lua"

e2e_start "$SCRATCH/skip.log" -skipto NoSuchLevel
e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
e2e_wait_for "$LOG" "[LevelSelectGear Render Complete]" 60 || e2e_fail "the level select never drew"
sleep 0.5
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" \
    "Skipping to level NoSuchLevel" \
    "WARNING:  File NoSuchLevel not found.  Going to level select." \
    "[Post Process] Complete" \
    "Showed LevelSelectScreen" \
    "[LevelSelectGear Render Complete]"
e2e_expect_no_text "$LOG" "Shifted to title screen"
# Nothing loaded a map before the level select was up.
first_load="$(grep -nF 'LoadMapFile] Begin' "$LOG" | head -n 1 | cut -d: -f1)"
shown="$(grep -nxF 'Showed LevelSelectScreen' "$LOG" | head -n 1 | cut -d: -f1)"
[ -z "$first_load" ] || [ "$first_load" -gt "$shown" ] || e2e_fail "a map loaded before the level select was shown"

echo "PASS"
