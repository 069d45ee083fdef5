# Every sample enemy kind runs in the Hollow without a script complaint: the copied map script
# creates one of each near the start and lets them fly, walk, spit and spawn for a few seconds;
# the Hive releases swarmers, the Warden takes the boss bar and both puppets boot their presets.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/Hollow.slf" ] || e2e_fail "the Hollow was not built"

cat >> "$GAME_DIR/Data/Scripts/Maps/Hollow.lua" <<'LUA'
local saKinds = {
    {"Bat", "240", "300"}, {"Jellyfish", "160", "250"}, {"Tick", "200", "432"},
    {"Sentinel", "300", "330"}, {"Wasp", "360", "100"}, {"GreatBlight", "400", "388"},
    {"Goblin", "120", "384"}, {"DragonTank", "440", "400"},
}
for i, tKind in ipairs(saKinds) do
    Enemy_Create("Sample" .. tKind[1], gsEnemyScripts .. tKind[1] .. "/CConstructor.lua", tKind[2], tKind[3])
    DL_PopActiveEntity()
end
fnLog("Hollow test: all kinds created")
LUA

e2e_start "$SCRATCH/hollow.log" -skipto Hollow
e2e_wait_for "$LOG" "Hollow test: all kinds created" 30 || e2e_fail "the kinds were not created"
sleep 5
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

# From the map's load on (the boot's own lines, sound-device noise included, come before).
play="$SCRATCH/play.log"
awk '/Pathname was Hollow/ { on = 1 } on' "$LOG" > "$play"
e2e_expect_text "$play" "Warden awakens"
e2e_expect_text "$play" "Using preset: Golbin"
e2e_expect_text "$play" "Using preset: Dragon Tank"
for word in Failed Error Warning error; do e2e_expect_no_text "$play" "$word"; done
echo "PASS: every sample enemy kind ran in the Hollow without a complaint"
