# The sample map draws its parallax background where the level is empty, Kestra's dash kicks
# up dust that is drawn through sprites (a probe looks for them every tick), and dashing past
# the ladder fires its zone trigger once. Water fills the pit.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

cat > "$GAME_DIR/Probe.lua" <<'EOF2'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
local iSprites = 0
if EM_Exists("X") then
    EM_PushEntity("X")
    if DL_GetActiveObjectType() == 300 then iSprites = 1 end
    DL_PopActiveEntity()
end
fnLog(string.format("Probe %d sprites %d", iTick, iSprites))
Camera_CallFunc("CenterOnPlayer")
EOF2
map_script="$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"
sed -i 's/^MapM_SetPlayerStart(100, 390, 0)$/MapM_SetPlayerStart(300, 390, 0)/' "$map_script"
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$map_script"
# The dash is held for as many ticks as the trace counts, however a loaded machine spaces them.
e2e_trace_controls

e2e_start "$SCRATCH/effects.log" -skipto FirstSteps
e2e_wait_for "$LOG" "Probe 200 " 40 || e2e_fail "the game stopped ticking during the teleport-in"

e2e_find_window
e2e_screenshot "$WIN" "$SCRATCH/still.png"

# Nothing has made an effect yet; a dash does.
mark="$(wc -l < "$LOG")"
e2e_focus_window
e2e_mark_ticks
xdotool keydown c
e2e_control_ticks 36 Dash 1
xdotool keyup c
e2e_ticks_from_now 12
tail -n "+$mark" "$LOG" | grep -q '^Probe [0-9]* sprites 1$' || e2e_fail "no dust sprite while she dashed"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_no_text "$LOG" "Sprite_SetProperty"
# The dash carries her past the ladder, whose zone trigger starts the music once.
[ "$(grep -c '^FirstSteps: music at the ladder, slot 0$' "$LOG")" -eq 1 ] || e2e_fail "the ladder's zone trigger did not fire exactly once"

# High in the view, above all the ground, is the background's sky: not the black the
# frame is cleared to.
pixel() { convert "$SCRATCH/still.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:; }
for spot in "400 40" "200 60" "600 250"; do
    read -r r g b <<< "$(pixel $spot)"
    [ $((r + g + b)) -gt 60 ] || e2e_fail "the empty level at $spot shows the clear colour ($r $g $b)"
    [ "$b" -gt "$r" ] || e2e_fail "no sky behind the level at $spot (saw $r $g $b)"
done
# The pit right of the ladder holds water: blue, drawn through the water sprite over the dark
# pit and the spikes.
read -r r g b <<< "$(pixel 730 560)"
[ "$b" -gt 150 ] && [ "$b" -gt $((r + 60)) ] || e2e_fail "no water in the pit (saw $r $g $b)"
echo "PASS: the background shows behind the level, a dash raises dust and fires the ladder trigger"
