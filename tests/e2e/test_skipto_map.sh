# Skipping to the sample map loads it through the whole trace, runs its script and draws its
# chunks: the left wall of the level and the sky of its background fill the view.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

e2e_start "$SCRATCH/map.log" -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
e2e_expect_lines "$LOG" \
    " [LoadMapFile] Begin" \
    "  Pathname was FirstSteps" \
    "  Modified to Data/Maps/FirstSteps.slf" \
    "  Map type was 1" \
    "  Map was 2D Line Art 2Depth" \
    "  Precaching level" \
    "  Storing sizes" \
    "  Finished 2D Line Art 2Depth" \
    "  Executing Lua" \
    "  FirstSteps: floor solid true, air free true" \
    "  Complete!" \
    "  Setting Camera" \
    " [LoadMapFile] Done"
e2e_expect_no_text "$LOG" "[Fail ClipLump]"
e2e_expect_no_text "$LOG" "Error in SLF file"

sleep 1
e2e_find_window
e2e_screenshot "$WIN" "$SCRATCH/map.png"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

# The 800 by 600 window shows 480 by 360 units: the wall of the level's first 16 units on the
# left edge is earth (red over green over blue); the middle of the view is the background's sky.
pixel() { convert "$SCRATCH/map.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:; }
read -r r g b <<< "$(pixel 10 300)"
[ "$r" -gt "$g" ] && [ "$g" -gt "$b" ] && [ "$r" -gt 80 ] || e2e_fail "no wall at the left edge (saw $r $g $b)"
read -r r g b <<< "$(pixel 400 200)"
[ "$b" -gt "$r" ] && [ "$b" -gt 150 ] || e2e_fail "no sky in the view (saw $r $g $b)"
echo "PASS: the sample map loads and draws"
