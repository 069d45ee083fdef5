# In the Hollow, an enemy's contact hurts Kestra and a charged buster shot sent with the keys
# kills an enemy. Both are read from the log: the copied map script adds a Crawler that logs
# when its contact strikes her (its own logic script reads "HitPlayer") and then flies at her
# like any Gloomwing, and a Sentinel in
# front of her, out of its own range, whose death the shared destruction script logs.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/Hollow.slf" ] || e2e_fail "the Hollow was not built"

mkdir -p "$GAME_DIR/Data/Scripts/E2E"
cat > "$GAME_DIR/Data/Scripts/E2E/BiterLogic.lua" <<'LUA'
if Enemy_GetProperty("HitPlayer") then
    fnLog("E2E biter struck the player")
    Enemy_SelfDestruct()
end
LM_ExecuteScript(gsEnemyScripts .. "Bat/Logic.lua")
LUA
cat >> "$GAME_DIR/Data/Scripts/Maps/Hollow.lua" <<'LUA'
-- Test enemies: a Gloomwing far enough to the right that it reaches her only after her
-- teleport-in, and a Sentinel in her line of fire.
Enemy_Create("E2EBiter", gsEnemyScripts .. "Bat/CConstructor.lua", "440", "400")
Enemy_SetProperty("PathToLogicScript", "Data/Scripts/E2E/BiterLogic.lua")
DL_PopActiveEntity()
Enemy_Create("E2ETarget", gsEnemyScripts .. "Sentinel/CConstructor.lua", "300", "402")
DL_PopActiveEntity()
LUA
# The charge is held for as many ticks as the trace counts, however a loaded machine spaces them.
e2e_trace_controls

e2e_start "$SCRATCH/enemies.log" -skipto Hollow
e2e_wait_for "$LOG" "Hollow: ready" 30 || e2e_fail "the Hollow did not load"
e2e_wait_for "$LOG" "E2E biter struck the player" 60 || e2e_fail "the biter's contact never struck her"
e2e_wait_for "$LOG" "Enemy destroyed: E2EBiter" 60 || e2e_fail "the biter did not die after striking"

e2e_focus_window
e2e_ticks_from_now 90

# The press fires a small shot at once (1 damage of the target's 4); held, the buster charges
# to its third rank; the release fires the charged shot (3 damage), which kills the target.
e2e_mark_ticks
xdotool keydown x
e2e_control_ticks 132 Shoot 1
grep -qF "Enemy destroyed: E2ETarget" "$LOG" && e2e_fail "the target died before the charged shot"
xdotool keyup x
e2e_wait_for "$LOG" "Enemy destroyed: E2ETarget" 60 || e2e_fail "the charged shot did not kill the target"

e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: an enemy's contact hurt Kestra and a charged shot killed an enemy"
