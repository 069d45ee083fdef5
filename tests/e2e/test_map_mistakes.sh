# An author's first map, packed with the project's own tools, with the mistakes a newcomer
# makes: a level of one 16 by 16 tile (smaller than her box), a backdrop whose picture file
# does not exist, a pack naming a picture nobody loaded, and a damage zone, a checkpoint and a
# trigger given their rectangles the wrong way round. Each mistake is named on standard error
# and the game runs on.
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
e2e_expect_text "$LOG" "[LoadMapFile] Warning, map Tiny is 16 by 16 units, too small for her 19 by 52 box"
e2e_expect_text "$LOG" "pack TinySky shows Root/Images/Backdrops/Generated/NoSuchPicture, a picture with no pixels"
e2e_expect_text "$LOG" "pack TinyHills names Root/Images/Backdrops/Generated/Hils, which holds no picture"
e2e_expect_text "$LOG" "TinyPit was given a reversed rectangle (16, 40, 0, 20), taken as (0, 20, 16, 40)"
e2e_expect_text "$LOG" "TinyFlag was given a reversed rectangle (0, 0, 16, -16), taken as (0, -16, 16, 0)"
e2e_expect_text "$LOG" "TinyHello was given a reversed rectangle 0 (16, 0, 0, 16), taken as (0, 0, 16, 16)"
echo "PASS: a tiny map's mistakes are each named, and the game runs on"
