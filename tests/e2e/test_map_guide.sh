# The map-script calls of tools/MAPS.md, as an author would use them: a small map made with
# genlevelart and slfpack, its script laying out the start, ladder, spikes, a death pit with
# water, a checkpoint, a trigger, a platform, enemies (a skeletal puppet among them, by a spawn
# point the script builds), backgrounds, a boss door, the ending, and the zones, warp and
# outline of its later sections. Kestra starts before the
# door, runs through it, which brings the dragon tank by the goal, and on to the goal, whose
# script asks for the title; no call fails on the way. Then she starts again by the pit and
# dies in it.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
TOOLS="$(dirname "$KESTRA")"
[ -x "$TOOLS/genlevelart" ] && [ -x "$TOOLS/slfpack" ] || e2e_fail "the map tools were not built"

# 80 by 32 tiles: floor on row 28, a ladder up to a ledge, spikes, a pit, a wall with a door gap.
awk 'BEGIN {
    print "grid 5 2 256 16"; print "prefixes LA LB CL"; print "level 1 \"Guide\""
    print "spawn Bat 700 150"; print "tiles"
    for (y = 0; y < 32; y++) {
        row = ""
        for (x = 0; x < 80; x++) {
            c = "."
            if (y == 0 || x == 0 || x == 79 || y >= 28) c = "#"
            if (y >= 28 && x >= 32 && x <= 37) c = "."
            if (x == 12 && y >= 18 && y <= 27) c = "H"
            if (y == 18 && x >= 13 && x <= 20) c = "="
            if (y == 27 && x >= 24 && x <= 26) c = "^"
            if (y >= 1 && y <= 23 && x >= 56 && x <= 58) c = "#"
            row = row c
        }
        print row
    }
    print "end"
}' > "$SCRATCH/Layout.txt"
"$TOOLS/genlevelart" "$SCRATCH/Layout.txt" "$SCRATCH/map" > /dev/null || e2e_fail "genlevelart failed"
"$TOOLS/slfpack" "$SCRATCH/map/Map.slfm" "$GAME_DIR/Data/Maps/Guide.slf" || e2e_fail "slfpack failed"

# The puppet's constructor logs its coming.
printf '\nfnLog("Spawned " .. Enemy_GetProperty("Name"))\n' >> "$GAME_DIR/Data/Scripts/Enemies/DragonTank/CConstructor.lua"

here="$GAME_DIR/Data/Scripts/Maps/Guide"
mkdir -p "$here"
cat > "$GAME_DIR/Data/Scripts/Maps/Guide.lua" <<'LUA'
local sHere = gsScriptRoot .. "Maps/Guide/"
MapM_SetPlayerStart(800, 390, 0)
Ladder_Create("GuideLadder", 192, 288, 208, 448)
DamageZone_Create("GuideSpikes")
DamageZone_SetProperty("Rectangle", 384, 436, 432, 448)
DamageZone_SetProperty("DamageToPlayer", 3)
DL_PopActiveEntity()
DamageZone_Create("GuidePit")
DamageZone_SetProperty("Rectangle", 512, 444, 608, 512)
DamageZone_SetProperty("IsDeathPit", true)
DL_PopActiveEntity()
fnLayWater("GuidePitWater", 512, 476, 608, 511)
Checkpoint_Create("GuideCheckpoint", 624, 384, 40, 64)
Checkpoint_SetProperty("Respawn Location", 630, 390)
Checkpoint_SetProperty("Camera", 400, 152)
DL_PopActiveEntity()
ZTrigger_Create("GuideHello")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 820, 330, 860, 448)
ZTrigger_SetProperty("CallData", sHere .. "Hello.lua", 1)
ZTrigger_SetProperty("NoRefire", true)
DL_PopActiveEntity()
MovingContainer_Create("GuidePlatform")
Proj_SetProperty("Dimensions", 0, 0, 64, 16)
Proj_SetProperty("Position", 528, 440)
RE_DefineData("fTick", "N", 0)
Proj_SetProperty("LogicScript", sHere .. "Swing.lua")
Proj_SetProperty("AnimationLibraryPath", "Root/Animations/Sprites/Platform/Deck")
DL_PopActiveEntity()
SpawnManager_AddSpawnAuto("Jellyfish", "GuideJelly", 820, 120)
Enemy_Create("GuideCrawler", gsEnemyScripts .. "Tick/CConstructor.lua", "700", "432")
DL_PopActiveEntity()
SpawnManager_AddSpawn("EnemySpawnPoint")
PTrigger_SetProperty("Hitbox", 1190, 400, 1254, 448)
RE_DefineData("EnemyName", "S", "GuideTank")
RE_DefineData("PathToConstructorScript", "S", gsEnemyScripts .. "DragonTank/CConstructor.lua")
RE_DefineData("SpawnPositionX", "N", 1190)
RE_DefineData("SpawnPositionY", "N", 400)
RE_DefineData("CanRespawn", "N", 1)
DL_PopActiveEntity()
Door_Create("GuideDoor")
Door_SetProperty("RenderPos", 896, 376)
Door_SetProperty("Hitbox", 868, 380, 28, 68)
Door_SetProperty("StartCamera", 656, 152)
Door_SetProperty("EndCamera", 800, 152)
Door_SetProperty("PostExecScript", sHere .. "DoorPassed.lua")
DL_PopActiveEntity()
ZTrigger_Create("GuideEnd")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 1150, 330, 1264, 448)
ZTrigger_SetProperty("CallData", sHere .. "End.lua")
ZTrigger_SetProperty("NoRefire", true)
DL_PopActiveEntity()
fnLayBackdrops({
    {"GuideSky", "Sky", 0, 0, 1280, 512, 20, 1, -0.95},
    {"GuideHills", "Hills", 0, 250, 2560, 378, 4, 1, -0.9},
})
Slide_Create("MyIce", 192, 340, 288, 388, 0.15)
Push_Create("MyBreeze", 192, 280, 288, 384, 0.5, 0)
Slip_Create("MyIcyWall", 284, 384, 300, 448)
MapM_SetWarpZone(1, 630, 390)
PTrigger_Create("SeePit")
PTrigger_SetProperty("Hitbox", 512, 444, 608, 512)
DL_PopActiveEntity()
fnLog("Guide: ready")
LUA
cat > "$here/Hello.lua" <<'LUA'
fnLog("Guide: hello " .. tostring(LM_GetScriptArgument(0)))
LUA
cat > "$here/Swing.lua" <<'LUA'
local fTick = RE_GetData("fTick", "N") + 1
RE_SetData("fTick", "N", fTick)
Proj_SetProperty("Position", 528 + 30 * math.sin(fTick / 40), 440)
LUA
cat > "$here/DoorPassed.lua" <<'LUA'
Camera_SetProperty("ScriptControl", "NULL")
fnLog("Guide: through the door")
LUA
cat > "$here/End.lua" <<'LUA'
fnLog("Guide: the end")
GUI_ForceToTitle(true)
LUA

e2e_start "$SCRATCH/guide.log" -skipto Guide
e2e_wait_for "$LOG" "Guide: ready" 30 || e2e_fail "the guide's map did not load"
e2e_focus_window 10
sleep 3
# run_right <log line> <seconds> <failure>: holds Right until the line appears.
run_right() {
    xdotool keydown Right
    e2e_wait_for "$LOG" "$1" "$2"
    local found=$?
    xdotool keyup Right
    [ "$found" -eq 0 ] || e2e_fail "$3"
}
run_right "Guide: through the door" 60 "she never got through the door"
sleep 1
run_right "Guide: the end" 60 "she never reached the goal"
sleep 1
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_text "$LOG" "Guide: hello 1"
e2e_expect_text "$LOG" "Spawned GuideTank"
if grep -E "Failed|Error,|Error processing|could not resolve|never spawn|spawns nothing|\[LoadMapFile\] Warning|Enemy_Create:|fnStageBoss:|Checkpoint_SetProperty:|MapBGM_SetPackProperty:" "$LOG" | grep -v "sound system"; then
    e2e_fail "a map-script call of the guide failed"
fi

# The death pit kills: started again on the pit's right rim, inside the checkpoint, she walks
# left into the pit, dies there and comes back at the checkpoint's respawn point.
sed -i 's/^MapM_SetPlayerStart(800, 390, 0)$/MapM_SetPlayerStart(640, 390, 0)/' "$GAME_DIR/Data/Scripts/Maps/Guide.lua"
e2e_play_probe Guide
e2e_start "$SCRATCH/pit.log" -skipto Guide
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the guide's map did not load again"
e2e_focus_window 10
e2e_until_ticks 300 "t > 120 && x == 640 && y == 396" || e2e_fail "she did not land at the new start (last probe: $(e2e_probe))"
e2e_hold_ticks Left 300 "y > 420"
e2e_until_ticks 600 "x == 630" || e2e_fail "the death pit did not kill her (last probe: $(e2e_probe))"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: the guide's calls make a map that plays from its start through the door to its end, and its pit kills"
