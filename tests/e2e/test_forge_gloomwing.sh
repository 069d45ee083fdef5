# The forge's Gloomwing comes once a visit: once Kestra has shot it down, walking back from the
# pit's rim and coming again brings no new one, so she can wait at the rim for the swinging
# platform without being knocked about. The copied constructor logs each Gloomwing it makes.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/ForgeGate.slf" ] || e2e_fail "the forge map was not built"
printf '\nfnLog("Gloomwing comes: " .. Enemy_GetProperty("Name"))\n' >> "$GAME_DIR/Data/Scripts/Enemies/Bat/CConstructor.lua"
e2e_play_probe ForgeGate

e2e_start "$SCRATCH/gloomwing.log" -skipto ForgeGate
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
e2e_until_ticks 300 "t > 200 && x == 110 && y == 396" || e2e_fail "she did not land at the start (last probe: $(e2e_probe))"

# Toward the rim the view reaches the Gloomwing; she faces it and shoots it down. The walk is
# in slow motion, so that a loaded machine's late key-up cannot carry her over the rim.
e2e_slow
e2e_hold_ticks Right 300 "x >= 250"
e2e_fast
e2e_wait_for "$LOG" "Gloomwing comes: " 60 || e2e_fail "no Gloomwing came as she neared the pit"
name="$(grep -F "Gloomwing comes: " "$LOG" | head -n 1 | sed 's/.*Gloomwing comes: //')"
for _ in $(seq 60); do
    grep -qF "Enemy destroyed: $name" "$LOG" && break
    e2e_tap x 0.15
done
e2e_expect_text "$LOG" "Enemy destroyed: $name"

# Back to the start, where the view leaves the bat's spawn point, for longer than a spawn
# point's wait after its enemy falls; then to the rim again, where she stands and waits.
e2e_hold_ticks Left 300 "x <= 120"
read -r back _ <<< "$(e2e_probe)"
e2e_until_ticks 400 "t > $back + 300"
# In slow motion, so that a loaded machine's late key-up cannot carry her over the rim.
e2e_slow
e2e_hold_ticks Right 300 "x >= 260"
e2e_fast
e2e_until_ticks 30 "y == 396"
read -r t x _ <<< "$(e2e_probe)"
e2e_until_ticks 400 "t > $t + 360 || x != $x"
e2e_until_ticks 0 "x == $x" || e2e_fail "something knocked her from where she waited at the rim (last probe: $(e2e_probe))"
comes="$(grep -cF "Gloomwing comes: " "$LOG")"
[ "$comes" -eq 1 ] || e2e_fail "a Gloomwing came $comes times in one visit"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: the forge's Gloomwing, once shot, left her in peace at the pit's rim"
