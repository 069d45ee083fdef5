# The Hollow's spawn points: nothing spawns while Kestra stands at the start; the first enemies
# appear as she runs right and the view scrolls toward them, the skeletal puppets (made by the
# map script's own spawn points) among them. Her death reloads the map without its script: the
# puppets come again as she walks on from the checkpoint, and no enemy shot fired before the
# death is left in the view she comes back to. The copied constructors log each spawn; a test
# enemy leaves one still spit shot by the checkpoint, which logs each tick it lives.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/Hollow.slf" ] || e2e_fail "the Hollow was not built"
printf '\nOM_SetOption("GodMode", true)\n' >> "$GAME_DIR/Configuration.lua"
for kind in Jellyfish Bat Tick Goblin DragonTank; do
    printf '\nfnLog("Spawned " .. Enemy_GetProperty("Name"))\n' >> "$GAME_DIR/Data/Scripts/Enemies/$kind/CConstructor.lua"
done
e2e_play_probe Hollow

# On the open cave floor, short of the Crawler's step: a zone that ends GodMode, then one that
# kills. The spitter hangs over the checkpoint and spits once, when it first comes into view.
here="$GAME_DIR/Data/Scripts/Maps/Hollow"
cat >> "$GAME_DIR/Data/Scripts/Maps/Hollow.lua" <<LUA
ZTrigger_Create("TestMortal")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 830, 300, 840, 448)
ZTrigger_SetProperty("CallData", gsScriptRoot .. "Maps/Hollow/TestMortal.lua")
DL_PopActiveEntity()
DamageZone_Create("TestDeath")
DamageZone_SetProperty("Rectangle", 830, 300, 880, 448)
DamageZone_SetProperty("DamageToPlayer", 200)
DL_PopActiveEntity()
Enemy_Create("TestSpitter", gsScriptRoot .. "Maps/Hollow/TestSpitter.lua", "700", "250")
DL_PopActiveEntity()
LUA
cat > "$here/TestMortal.lua" <<'LUA'
OM_SetOption("GodMode", false)
LUA
cat > "$here/TestSpitter.lua" <<'LUA'
fnEnemyHome()
fnEnemyBasics(16, 16, 1, 0, gsScriptRoot .. "Maps/Hollow/TestSpit.lua")
Enemy_SetProperty("DoNotDespawnOffScreen")
LUA
cat > "$here/TestSpit.lua" <<'LUA'
if not gbTestSpat and Enemy_IsOnScreen() then
    gbTestSpat = true
    Enemy_PushPropertyAsActiveObject("AIAttackHandler")
    AIAttackHandler_CreateAttack("LEMON_PROJECTILE")
    fnEnemySpit("EyeShot", 0, 0, 0)
    AILemonAttack_PushPropertyAsActiveObject("Projectile")
    Proj_SetProperty("LogicScript", gsScriptRoot .. "Maps/Hollow/TestShot.lua")
    DL_PopActiveEntity()
    DL_PopActiveEntity()
    DL_PopActiveEntity()
end
LUA
cat > "$here/TestShot.lua" <<'LUA'
fnLog("Shot alive")
LUA

e2e_start "$SCRATCH/spawns.log" -skipto Hollow
e2e_wait_for "$LOG" "Hollow: ready" 30 || e2e_fail "the Hollow did not load"
e2e_find_window
# Past the teleport-in, still at the start.
sleep 4
grep -qF "Spawned" "$LOG" && e2e_fail "an enemy spawned before the view moved"

e2e_focus_window
xdotool keydown Right
e2e_wait_for "$LOG" "Spawned AutoSpawn00" 60
found=$?
xdotool keyup Right
[ "$found" -eq 0 ] || e2e_fail "the first spawn point (a Driftbell at x 560) never spawned"

# On over the block, past the checkpoint: both puppets come, and the spitter's shot is out.
e2e_hold "Right" 60 "x >= 800"
for puppet in CaveGoblin CaveDragonTank; do
    grep -qF "Spawned $puppet" "$LOG" || e2e_fail "$puppet never spawned as she crossed the cave"
done
grep -qF "Shot alive" "$LOG" || e2e_fail "the test enemy never spat"

# Into the killing zone; her death reloads the Hollow and she comes back at the checkpoint.
xdotool keydown Right
e2e_wait_for "$LOG" "Executed any to level Hollow" 60
found=$?
xdotool keyup Right
[ "$found" -eq 0 ] || e2e_fail "she did not die in the killing zone (last probe: $(e2e_probe))"
e2e_wait_for "$LOG" "[LoadMapFile] Done" 60 || e2e_fail "the reload did not finish"
sleep 4
reload="$SCRATCH/reload.log"
awk '/Executed any to level Hollow/ { on = 1 } on' "$LOG" > "$reload"
# A shot marked for removal by the load still runs the tick it goes.
shots="$(grep -c "Shot alive" "$reload")"
[ "$shots" -le 1 ] || e2e_fail "the shot fired before her death lived on for $shots ticks after the reload"

# From the checkpoint to the cave again: the map script's puppets come again.
e2e_hold "Right" 60 "x >= 790"
sleep 0.5
awk '/Executed any to level Hollow/ { on = 1 } on' "$LOG" > "$reload"
for puppet in CaveGoblin CaveDragonTank; do
    grep -qF "Spawned $puppet" "$reload" || e2e_fail "$puppet never spawned again after her death (last probe: $(e2e_probe))"
done

e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: the Hollow's spawn points spawn as the view scrolls, its puppets again after a death, and no shot outlives it"
