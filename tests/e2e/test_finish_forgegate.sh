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
e2e_play_probe ForgeGate
cat >> "$GAME_DIR/PlayProbe.lua" <<'LUA'
local sLine = "Platforms"
for _, sName in ipairs({"SwingPlatform", "LoopPlatform"}) do
    EM_PushEntity(sName)
    local fX, fY = Proj_GetProperty("Position")
    DL_PopActiveEntity()
    sLine = sLine .. string.format(" %.1f %.1f", fX, fY)
end
fnLog(sLine)
LUA
# platforms: "SWINGX SWINGY LOOPX LOOPY", the platforms' top-left corners at the last probe.
platforms() { awk '$1 == "Platforms" { l = $2 " " $3 " " $4 " " $5 } END { print l }' "$LOG"; }
# wait_platforms <seconds> <awk condition on sx, sy, lx, ly>
wait_platforms() {
    local sx sy lx ly
    for _ in $(seq $(($1 * 50))); do
        read -r sx sy lx ly <<< "$(platforms)"
        awk -v sx="$sx" -v sy="$sy" -v lx="$lx" -v ly="$ly" "BEGIN { exit !($2) }" && return 0
        sleep 0.02
    done
    e2e_fail "the platforms never came to $2 (last: $(platforms))"
}

e2e_start "$SCRATCH/finish.log" -skipto ForgeGate
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
e2e_until 20 "t > 200" || e2e_fail "the game stopped ticking during the teleport-in"

# Near the pit the view reaches the Gloomwing over it, which wakes and comes for her at the
# height of her buster; she faces it and shoots.
e2e_hold "Right" 5 "x >= 270"
for _ in $(seq 60); do
    grep -qF "Enemy destroyed: AutoSpawn00" "$LOG" && break
    e2e_tap x 0.15
done
e2e_expect_text "$LOG" "Enemy destroyed: AutoSpawn00"

# To the pit's rim in short steps.
e2e_step Right 5 "x >= 296"
e2e_until 1 "x >= 296 && x < 336 && y == 396" || e2e_fail "she did not stop at the pit's rim (last probe: $(e2e_probe))"

# Onto the swinging platform at its nearest and out with it; at its furthest the looping
# platform hangs level beside it, and she walks over; it carries her up toward the far side,
# where she walks off onto the gallery's floor.
wait_platforms 10 "sx <= 352"
e2e_step Right 2 "x >= 352 || y > 420"
wait_platforms 10 "sx >= 482"
e2e_hold "Right" 3 "x >= 540 || y > 420"
wait_platforms 10 "lx >= 630"
e2e_hold "Right" 3 "(x >= 724 && y == 396) || y > 420"
e2e_until 1 "y == 396" || e2e_fail "she fell into the pit (last probe: $(e2e_probe))"

# Into the boss door: it opens, walks her through and closes behind her.
e2e_hold_for_line "Right" "ForgeGate: through the boss door" 20 "the door never let her through"
e2e_hold "Right" 5 "x >= 1130"
e2e_wait_for "$LOG" "Warden awakens" 5 || e2e_fail "the Warden did not wake in its room"

# She faces right, along the floor, where the Warden paces.
e2e_beat_warden
e2e_finish_right "Forge Gate"
