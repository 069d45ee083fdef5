# The Hollow's spawn records become spawn points: nothing spawns while Kestra stands at the
# start, and the first enemies appear as she runs right and the view scrolls toward them.
# The copied constructors log each spawn.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/Hollow.slf" ] || e2e_fail "the Hollow was not built"
for kind in Jellyfish Bat Tick; do
    printf '\nfnLog("Spawned " .. Enemy_GetProperty("Name"))\n' >> "$GAME_DIR/Data/Scripts/Enemies/$kind/CConstructor.lua"
done

e2e_start "$SCRATCH/spawns.log" -skipto Hollow
e2e_wait_for "$LOG" "Hollow: ready" 30 || e2e_fail "the Hollow did not load"
e2e_find_window
# Past the teleport-in, still at the start.
sleep 4
grep -qF "Spawned" "$LOG" && e2e_fail "an enemy spawned before the view moved"

e2e_focus_window
xdotool keydown Right
e2e_wait_for "$LOG" "Spawned AutoSpawn00" 8
found=$?
xdotool keyup Right
[ "$found" -eq 0 ] || e2e_fail "the first spawn point (a Driftbell at x 560) never spawned"

e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: the Hollow's spawn points spawn as the view scrolls"
