# Scripts may purge any part of the data library while she plays: the game keeps running and
# drawing (her body, the buster's charge sparks and shots, the frame-rate text) with what is
# left, and shuts down cleanly. A probe handed to the camera as its control script purges
# each top-level path in turn, and finally everything, while Shoot is held.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

cat > "$GAME_DIR/Probe.lua" <<'LUA'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
Camera_CallFunc("CenterOnPlayer")
local tPurges = {[100] = "Root/Images/Kestra/Misc/", [260] = "Root/Images/", [290] = "Root/Animations/",
                 [320] = "Root/Fonts/", [350] = "Root/Other/", [380] = "ALL"}
if tPurges[iTick] then
    DL_Purge(tPurges[iTick], false)
    fnLog("Purged " .. tPurges[iTick])
end
if iTick == 440 then fnLog("Still playing") end
LUA
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

e2e_start "$SCRATCH/purge.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
e2e_focus_window

# Her controls unlock after the 180-tick teleport-in; from then on she charges the buster.
e2e_wait_for "$LOG" "Purged Root/Images/Kestra/Misc/" 30 || e2e_fail "the probe never purged"
sleep 1.5
xdotool keydown x
e2e_wait_for "$LOG" "Purged ALL" 30 || e2e_fail "the game stopped before the last purge"
xdotool keydown Right
sleep 0.5
xdotool keyup x
xdotool keyup Right
e2e_wait_for "$LOG" "Still playing" 30 || e2e_fail "the game stopped after the purges"
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" "Purged Root/Images/" "Purged Root/Animations/" "Purged Root/Fonts/" \
    "Purged Root/Other/" "Purged ALL" "Still playing" "[Clean Memory] Begin" "[Clean Memory] Done"
echo "PASS: the game plays on through purges of every top-level path"
