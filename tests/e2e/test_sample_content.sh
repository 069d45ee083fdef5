# The sample game's generated content boots: the start-up scripts fill the data library with
# no failure reported, Kestra's palette and animations are there, and the loading screen
# draws its background and progress bar while the scripts run.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
for f in Icon.png Loading/LoadImage7.png Loading/Background.png Text/MenuAlphabet.png Generated/Kestra.slf; do
    [ -f "$GAME_DIR/Data/Graphics/$f" ] || e2e_fail "generated Data/Graphics/$f is missing (build the game_images target)"
done

# Each loose picture waits a moment first, so the loading screen is due for a redraw; at the
# end the animations are checked and the boot holds the loading screen up until the driver has
# its picture, however long a loaded machine takes over it (a minute at most).
scripts="$GAME_DIR/Data/Scripts"
{
    printf 'local fLoad = DL_LoadBitmap\n'
    printf 'DL_LoadBitmap = function(a, b) os.execute("sleep 0.05") fLoad(a, b) end\n'
    cat "$GAME_DIR/Data/Scripts/Startup.lua"
    cat <<'EOF'
for _, sName in ipairs({"Idle", "Run", "Jump"}) do
    DL_SetActiveObject("Root/Animations/Kestra/Base/" .. sName)
    fnLog("Animation " .. sName .. " has type " .. tostring(DL_GetActiveObjectType()))
end
DL_ClearActiveEntity()
fnLog("Content loaded")
for _ = 1, 600 do
    local fTaken = io.open("LoadingShot.taken", "r")
    if fTaken then fTaken:close() break end
    os.execute("sleep 0.1")
end
EOF
} > "$SCRATCH/Startup.lua"
mv "$SCRATCH/Startup.lua" "$scripts/Startup.lua"

e2e_start "$SCRATCH/content.log"
e2e_wait_for "$LOG" "Content loaded" 60 || e2e_fail "the start-up scripts did not finish"
e2e_find_window
e2e_screenshot "$WIN" "$SCRATCH/loading.png"
: > "$GAME_DIR/LoadingShot.taken"
e2e_wait_for "$LOG" "[Post Process] Complete" 60 || e2e_fail "boot did not finish"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

e2e_expect_text "$LOG" "Read out 4 colors"
for sName in Idle Run Jump; do e2e_expect_text "$LOG" "Animation $sName has type 101"; done
e2e_expect_no_text "$LOG" "Failed"
e2e_expect_no_text "$LOG" "not found"
e2e_expect_no_text "$LOG" "did not open"

# The 800 by 600 window shows the 480 by 360 view: the bar's fill starts at its left end in
# the bottom 20 view rows, and the top of the background is its dark blue sky.
pixel() { convert "$SCRATCH/loading.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:; }
read -r r g b <<< "$(pixel 5 585)"
[ "$r" -lt 40 ] && [ "$g" -gt 200 ] && [ "$b" -lt 40 ] || e2e_fail "no progress bar fill at the bottom left (saw $r $g $b)"
read -r r g b <<< "$(pixel 400 10)"
[ "$b" -gt "$r" ] && [ "$b" -gt 60 ] || e2e_fail "no loading background at the top (saw $r $g $b)"
echo "PASS: sample content loads under the loading screen"
