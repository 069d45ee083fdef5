# An author's first maps, packed with the project's own tools, with the mistakes a newcomer
# makes. The first: a level of one 16 by 16 tile (smaller than her box), a backdrop whose
# picture file does not exist, a pack naming a picture nobody loaded, and a damage zone, a
# checkpoint and a trigger given their rectangles the wrong way round. The second: a death pit
# whose top lies below where its floor stops her, a boss view smaller than the view, an enemy
# placed beyond the map's edge, a checkpoint whose respawn point is in the ground, an enemy
# folder misspelled, and a script that fails part way. Each mistake is named on standard error
# with its file and object (and its line, where a script call was given it), and the game
# plays on.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
TOOLS="$(dirname "$KESTRA")"
[ -x "$TOOLS/genlevelart" ] && [ -x "$TOOLS/slfpack" ] || e2e_fail "the map tools were not built"

printf 'grid 1 1 16 16\nprefixes LA LB CL\nlevel 1 "Tiny"\ntiles\n.\nend\n' > "$SCRATCH/Layout.txt"
"$TOOLS/genlevelart" "$SCRATCH/Layout.txt" "$SCRATCH/map" > /dev/null || e2e_fail "genlevelart failed"
"$TOOLS/slfpack" "$SCRATCH/map/Map.slfm" "$GAME_DIR/Data/Maps/Tiny.slf" || e2e_fail "slfpack failed"

cat > "$GAME_DIR/Data/Scripts/Maps/Tiny.lua" <<'LUA'
MapM_SetPlayerStart(0, 0, 0)
fnLayBackdrops({{"TinySky", "NoSuchPicture", 0, 0, 480, 360, 1, 1, -0.95}})
MapBGM_CreatePack("TinyHills")
MapBGM_SetPackProperty("Image", "Root/Images/Backdrops/Generated/Hils")
MapBGM_SetPackProperty("Activate")
DL_PopActiveEntity()
DamageZone_Create("TinyPit")
DamageZone_SetProperty("Rectangle", 16, 40, 0, 20)
DL_PopActiveEntity()
Checkpoint_Create("TinyFlag", 0, 0, 16, -16)
DL_PopActiveEntity()
ZTrigger_Create("TinyHello")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 16, 0, 0, 16)
DL_PopActiveEntity()
fnLog("Tiny: ready")
LUA

e2e_start "$SCRATCH/tiny.log" -skipto Tiny
e2e_wait_for "$LOG" "[LoadMapFile] Done" 30 || e2e_fail "the tiny map did not load"
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended after the map's mistakes"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_text "$LOG" "Tiny: ready"
e2e_expect_text "$LOG" "[LoadMapFile] Warning, map Tiny (Data/Scripts/Maps/Tiny.lua): the level is 16 by 16 units, too small for her 19 by 52 box"
e2e_expect_text "$LOG" "MapBGM_SetPackProperty: Data/Scripts/Maps/Tiny.lua:2 (through Data/Scripts/SetupFuncs.lua:"
e2e_expect_text "$LOG" "pack TinySky shows Root/Images/Backdrops/Generated/NoSuchPicture, a picture with no pixels"
e2e_expect_text "$LOG" "MapBGM_SetPackProperty: Data/Scripts/Maps/Tiny.lua:4: warning, pack TinyHills names Root/Images/Backdrops/Generated/Hils, which holds no picture"
e2e_expect_text "$LOG" "TinyPit was given a reversed rectangle (16, 40, 0, 20), taken as (0, 20, 16, 40)"
e2e_expect_text "$LOG" "TinyFlag was given a reversed rectangle (0, 0, 16, -16), taken as (0, -16, 16, 0)"
e2e_expect_text "$LOG" "TinyHello was given a reversed rectangle 0 (16, 0, 0, 16), taken as (0, 0, 16, 16)"

# 32 by 32 tiles, the floor's top at y 448, and a pit from x 320 to 416 whose floor is the last
# tile row (top at y 496): there her box's top stops at 444.
awk 'BEGIN {
    print "grid 2 2 256 16"; print "prefixes LA LB CL"; print "level 1 \"Slips\""; print "tiles"
    for (y = 0; y < 32; y++) {
        row = ""
        for (x = 0; x < 32; x++) row = row ((y >= 28 && !(x >= 20 && x <= 25 && y <= 30)) ? "#" : ".")
        print row
    }
    print "end"
}' > "$SCRATCH/Slips.txt"
"$TOOLS/genlevelart" "$SCRATCH/Slips.txt" "$SCRATCH/slips" > /dev/null || e2e_fail "genlevelart failed on the second map"
"$TOOLS/slfpack" "$SCRATCH/slips/Map.slfm" "$GAME_DIR/Data/Maps/Slips.slf" || e2e_fail "slfpack failed on the second map"
cat > "$GAME_DIR/Data/Scripts/Maps/Slips.lua" <<'LUA'
MapM_SetPlayerStart(64, 390, 0)
DamageZone_Create("SlipsPit")
DamageZone_SetProperty("Rectangle", 320, 460, 416, 512)
DamageZone_SetProperty("IsDeathPit", true)
DL_PopActiveEntity()
fnStageBoss({sName = "SlipsBoss", sKind = "GreatBlight", fX = 440, fY = 388, faWake = {432, 32, 512, 448},
             faView = {0, 0, 300, 250}, faLevel = {0, 0, 512, 512}, fGoalX = 480, fGoalY = 448})
Enemy_Create("SlipsCrawler", gsEnemyScripts .. "Tick/CConstructor.lua", "900", "432")
DL_PopActiveEntity()
fnPlaceCheckpoint("SlipsFlag", {250, 384, 40, 64}, {250, 460}, {0, 152})
Enemy_Create("SlipsTik", gsEnemyScripts .. "Tik/CConstructor.lua", "200", "432")
DL_PopActiveEntity()
LUA
e2e_play_probe Slips
cat >> "$GAME_DIR/Data/Scripts/Maps/Slips.lua" <<'LUA'
fnLayBackdropz({})
fnLog("Slips: the rest ran")
LUA

e2e_start "$SCRATCH/slips.log" -skipto Slips
e2e_wait_for "$LOG" "[LoadMapFile] Done" 30 || e2e_fail "the second map did not load"
e2e_focus_window 10
# She lands on the floor and runs: the game plays on.
# Her teleport-in holds the keys for its first 180 ticks.
e2e_until_ticks 400 "t > 200 && y == 396" || e2e_fail "she did not land in the second map (last probe: $(e2e_probe))"
e2e_hold_ticks Right 120 "x > 100"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_text "$LOG" "[LoadMapFile] Warning, map Slips (Data/Scripts/Maps/Slips.lua): death pit SlipsPit (320, 460 to 416, 512) never kills her on foot"
e2e_expect_text "$LOG" "stops her 19 by 52 box with its top at y 444 at the lowest, so she stands in it unharmed; put the zone's top above 444."
e2e_expect_text "$LOG" "fnStageBoss: Data/Scripts/Maps/Slips.lua:6: SlipsBoss's faView (0, 0, 300, 250) is 300 by 250; it must be one view, 480 by 360"
e2e_expect_text "$LOG" "Enemy_Create: Data/Scripts/Maps/Slips.lua:8: SlipsCrawler stands at (900, 432) to (928, 448), outside the 512 by 512 map"
e2e_expect_text "$LOG" "Checkpoint_SetProperty: Data/Scripts/Maps/Slips.lua:10 (through Data/Scripts/Stage/Setup.lua:"
e2e_expect_text "$LOG" "checkpoint SlipsFlag's respawn point (250, 460) puts her box at (250, 460) to (269, 512), which is not free in the 512 by 512 map"
e2e_expect_text "$LOG" "Enemy_Create: Data/Scripts/Maps/Slips.lua:11: SlipsTik's constructor Data/Scripts/Enemies/Tik/CConstructor.lua could not be loaded"
e2e_expect_text "$LOG" "Lua Error during Execution: Data/Scripts/Maps/Slips.lua:18: attempt to call global 'fnLayBackdropz' (a nil value)"
e2e_expect_text "$LOG" "[LoadMapFile] Warning, map Slips (Data/Scripts/Maps/Slips.lua): the script stopped at the Lua error above, so the rest of it did not run: what it sets up after the failing line is missing from the map"
e2e_expect_no_text "$LOG" "Slips: the rest ran"
echo "PASS: each map's mistakes are named with their file and object, and the game plays on"
