# The spikes drawn on the forge pit's floor kill: Kestra walks off the rim while the swinging
# platform is out over the pit, falls among them and comes back at the map's start, where before
# she stood on them unharmed and could jump from there onto the platforms. Then she rides the
# mech in, whose box is taller: it dies as it lands among them.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/ForgeGate.slf" ] || e2e_fail "the forge map was not built"
# p: where the swinging platform is in its swing of 240 ticks; it is nearest the rim at 180.
e2e_play_probe ForgeGate "p" <<'LUA'
EM_PushEntity("SwingPlatform")
tMore[1] = RE_GetData("fTick", "N") % RE_GetData("fPeriod", "N")
DL_PopActiveEntity()
LUA

e2e_start "$SCRATCH/pit.log" -skipto ForgeGate
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
e2e_until_ticks 300 "t > 200 && x == 110 && y == 396" || e2e_fail "she did not land at the start (last probe: $(e2e_probe))"

# Setting off at p 20, she reaches the rim's edge about 75 ticks later, with the platform still
# well out; she runs on over the edge, or off the platform should she land on it.
e2e_until_ticks 300 "p >= 20 && p < 28" || e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
# walk_in <what>: she sets off as the platform swings out, off the rim and down among the spikes,
# and must come back at the start, where the keys work again once she has teleported in (180
# ticks).
walk_in() {
    local back
    e2e_until_ticks 300 "p >= 20 && p < 28" || e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
    e2e_hold_ticks Right 600 "x > 336 && y > 420"
    e2e_until_ticks 600 "x == 110 && y < 420" || e2e_fail "the spikes did not kill $1 (last probe: $(e2e_probe))"
    read -r back _ <<< "$(e2e_probe)"
    e2e_until_ticks 300 "t > $back + 190"
}
walk_in her

# Onto the mech on its shelf, up and to the left of the start.
e2e_hold_for_line "Left z" "Mech control activated!" 60 "she did not board the mech"
walk_in "her in the mech"
e2e_expect_text "$LOG" "Mech control deactivated!"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: the forge pit's spikes kill her, on foot and in the mech, and she starts over"
