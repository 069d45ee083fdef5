# Forge Gate can be finished with the keys alone: Kestra shoots down the Gloomwing that comes
# for her, rides the two platforms over the pit (the probe also logs where they are, so the
# keys can wait for them as a player watches them), walks into the boss door, which takes her
# through, and shoots the Warden, which wakes in the room beyond; the goal rises at the room's
# far end, and reaching it brings up the thanks page.
# GodMode is on in the copied configuration: the run checks that the way is open and the goal
# works, not a player's dodging, and without it a hit under a loaded machine's uneven ticks
# would make the run a gamble. A death pit spares her in GodMode, so a fall fails at once.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/ForgeGate.slf" ] || e2e_fail "the forge map was not built"
printf '\nOM_SetOption("GodMode", true)\n' >> "$GAME_DIR/Configuration.lua"
# Besides her place, the probe logs the platforms' top-left corners and where they are in their
# common swing of 240 ticks (p): the swinging one is nearest the rim at p 180 and furthest out at
# p 60, where the looping one hangs level beside it, and that one is over the far side from p 150
# to 210. The keys wait for the platforms as a player watches them, and every hold whose length
# decides where she ends up is counted in game ticks, so a loaded machine's slow or uneven ticks
# change nothing.
e2e_play_probe ForgeGate "sx sy lx ly p" <<'LUA'
for _, sName in ipairs({"SwingPlatform", "LoopPlatform"}) do
    EM_PushEntity(sName)
    local fX, fY = Proj_GetProperty("Position")
    tMore[#tMore + 1] = fX
    tMore[#tMore + 1] = fY
    local fPhase = RE_GetData("fTick", "N") % RE_GetData("fPeriod", "N")
    DL_PopActiveEntity()
    if #tMore == 4 then tMore[5] = fPhase end
end
LUA

e2e_start "$SCRATCH/finish.log" -skipto ForgeGate
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
e2e_until 60 "t > 200" || e2e_fail "the game stopped ticking during the teleport-in"

# Near the pit the view reaches the Gloomwing over it, which wakes and comes for her at the
# height of her buster; she faces it and shoots. The walk is in slow motion, so that a loaded
# machine's late key-up cannot carry her over the rim.
e2e_slow
e2e_hold_ticks Right 300 "x >= 250"
e2e_fast
for _ in $(seq 60); do
    grep -qF "Enemy destroyed: PitGloomwing" "$LOG" && break
    e2e_tap x 0.15
done
e2e_expect_text "$LOG" "Enemy destroyed: PitGloomwing"
e2e_until_ticks 0 "x < 336 && y == 396" || e2e_fail "she did not stay on the rim (last probe: $(e2e_probe))"

# Onto the swinging platform: she sets off as it swings back toward the rim, timed by her
# distance to the rim's edge (x 336) at her running pace of 3.1 a tick so that she reaches it
# once the platform's near end is well within her stride (from p 164, when it is 352 or nearer,
# to p 196). Reaching the edge as the platform only just comes within reach, she would drop a
# unit and be caught against its side; setting off up to 25 ticks late still finds it there.
# From a little before that moment to her drop onto the gallery the game runs in slow motion, so
# a loaded machine's late keys still land within the platforms' few ticks.
e2e_until_ticks 600 "(p + (336 - x) / 3.1) % 240 >= 120 && (p + (336 - x) / 3.1) % 240 < 166" ||
    e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
e2e_slow
e2e_until_ticks 600 "(p + (336 - x) / 3.1) % 240 >= 166 && (p + (336 - x) / 3.1) % 240 < 170" ||
    e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
e2e_hold_ticks Right 60 "(x >= 340 && x >= sx - 4) || y > 400"
e2e_until_ticks 0 "y == 396 && x >= sx - 10 && x < sx + 60" ||
    e2e_fail "she did not get onto the swinging platform (last probe: $(e2e_probe))"

# Out on it, she walks toward the looping platform as it comes down beside it: its side stops
# her before she can walk off the swing's far end, and once it hangs within a unit of level (p
# 50 to 70) she steps up onto it and stops well on it; rising, it lifts her off the swing. Still
# held against its side late in the meeting, she lets go and rides the swing back out for the
# next one.
for _ in 1 2 3; do
    e2e_until_ticks 300 "p >= 30 && p < 38" || e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
    e2e_hold_ticks Right 60 "x >= lx - 2 || p >= 64 || y > 400"
    e2e_until_ticks 30 "y < 396 || y > 400"
    e2e_until_ticks 0 "y <= 400" || e2e_fail "she fell between the platforms (last probe: $(e2e_probe))"
    e2e_until_ticks 0 "y < 396 && x > lx - 19 && x < lx + 64" && break
done
e2e_until_ticks 0 "y < 396 && x > lx - 19 && x < lx + 64" ||
    e2e_fail "she never got onto the looping platform (last probe: $(e2e_probe))"

# It carries her up toward the far side; once it is over there she walks off its far end and
# drops onto the gallery's floor.
e2e_until_ticks 300 "p >= 150 && p < 160" || e2e_fail "the platforms stopped (last probe: $(e2e_probe))"
e2e_hold_ticks Right 90 "(x >= 724 && y == 396) || y > 420"
e2e_until_ticks 0 "y == 396" || e2e_fail "she fell into the pit (last probe: $(e2e_probe))"
e2e_fast

# Into the boss door: it opens, walks her through and closes behind her.
e2e_hold_for_line "Right" "ForgeGate: through the boss door" 60 "the door never let her through"
e2e_hold "Right" 60 "x >= 1130"
e2e_wait_for "$LOG" "Warden awakens" 60 || e2e_fail "the Warden did not wake in its room"

# She faces right, along the floor, where the Warden paces.
e2e_beat_warden
e2e_finish_right "Forge Gate"
