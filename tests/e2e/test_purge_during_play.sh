# Scripts may purge any part of the data library while she plays: the game keeps running and
# drawing (her body, the buster's charge sparks and shots, the frame-rate text) with what is
# left, and shuts down cleanly. A probe handed to the camera as its control script purges
# each top-level path in turn, and finally everything, while Shoot is held.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

# The first purge falls in the teleport-in. The rest count from the tick the probe finds the
# file "Charging", which the driver writes once a tick has read Shoot held, so they fall while
# she charges however late a loaded machine presses it.
cat > "$GAME_DIR/Probe.lua" <<'LUA'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
Camera_CallFunc("CenterOnPlayer")
local function fnPurge(sPath)
    DL_Purge(sPath, false)
    fnLog("Purged " .. sPath)
end
if iTick == 100 then fnPurge("Root/Images/Kestra/Misc/") end
if iTick > 100 and not giCharging then
    local fFile = io.open("Charging", "r")
    if fFile then
        fFile:close()
        giCharging = iTick
    end
end
local tPurges = {[70] = "Root/Images/", [100] = "Root/Animations/", [130] = "Root/Fonts/", [160] = "Root/Other/",
                 [190] = "ALL"}
local iSince = giCharging and iTick - giCharging or -1
if tPurges[iSince] then fnPurge(tPurges[iSince]) end
if iSince == 250 then fnLog("Still playing") end
LUA
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"
e2e_trace_controls

e2e_start "$SCRATCH/purge.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
e2e_focus_window

# Her controls unlock after the 180-tick teleport-in; from then on she charges the buster.
e2e_wait_for "$LOG" "Purged Root/Images/Kestra/Misc/" 30 || e2e_fail "the probe never purged"
e2e_ticks_from_now 90
e2e_mark_ticks
xdotool keydown x
e2e_control_ticks 1 Shoot 1
: > "$GAME_DIR/Charging"
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
