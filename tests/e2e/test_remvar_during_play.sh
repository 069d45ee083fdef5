# VM_RemVar removes whatever entry stands at its path, so a script can take away the very
# objects the game draws with while she plays: her idle frames and animation, the ready image
# and the system font. The game keeps running with what is left and shuts down cleanly.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

cat > "$GAME_DIR/Probe.lua" <<'LUA'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
Camera_CallFunc("CenterOnPlayer")
local function fnRemove(sPath)
    VM_RemVar(sPath)
    fnLog("Removed " .. sPath .. ", still there: " .. tostring(VM_Exists(sPath)))
end
if iTick == 100 then fnRemove("Root/Images/Kestra/Misc/Ready") end
if iTick == 240 then
    for i = 0, 7 do fnRemove(string.format("Root/Images/Kestra/Body/Idle%02d", i)) end
end
if iTick == 270 then fnRemove("Root/Animations/Kestra/Body/Idle") end
if iTick == 300 then fnRemove("Root/Fonts/All/All/SystemFont") end
if iTick == 400 then fnLog("Still playing") end
LUA
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

e2e_start "$SCRATCH/remvar.log" -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
e2e_wait_for "$LOG" "Still playing" 40 || e2e_fail "the game stopped after the removals"
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" \
    "Removed Root/Images/Kestra/Misc/Ready, still there: false" \
    "Removed Root/Images/Kestra/Body/Idle07, still there: false" \
    "Removed Root/Animations/Kestra/Body/Idle, still there: false" \
    "Removed Root/Fonts/All/All/SystemFont, still there: false" \
    "Still playing"
echo "PASS: the game plays on after scripts remove what it draws with"
