# The Hollow can be finished with the keys alone: Kestra runs over the sloped block, meets the
# goblin and the dragon tank as the cave comes into view, hops onto the Crawler's step and from there onto the ledge, climbs the pillar and drops into the arena,
# which wakes the Warden and holds the camera on the arena; she shoots the Warden down, the goal
# rises at the arena's far end, and reaching it brings up the thanks page.
# GodMode is on in the copied configuration: the run checks that the way is open and the goal
# works, not a player's dodging, and without it a hit's knock-back under a loaded machine's
# uneven ticks would make the run a gamble.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/Hollow.slf" ] || e2e_fail "the Hollow was not built"
printf '\nOM_SetOption("GodMode", true)\n' >> "$GAME_DIR/Configuration.lua"
# The skeletal puppets log their coming, which she must meet on her way.
for kind in Goblin DragonTank; do
    printf '\nfnLog("Spawned " .. Enemy_GetProperty("Name"))\n' >> "$GAME_DIR/Data/Scripts/Enemies/$kind/CConstructor.lua"
done
e2e_play_probe Hollow

e2e_start "$SCRATCH/finish.log" -skipto Hollow
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
e2e_until 60 "t > 200" || e2e_fail "the game stopped ticking during the teleport-in"

# Over the block (its slopes need no jump) to the foot of the Crawler's step, and clear what
# waits ahead at the height of her buster: the Crawler on the step and the puppets (the Sentinel
# hangs above her head on the floor).
e2e_hold "Right" 60 "x >= 840 && y == 396"
for puppet in CaveGoblin CaveDragonTank; do
    grep -qF "Spawned $puppet" "$LOG" || e2e_fail "she crossed the cave without meeting $puppet"
done
for _ in $(seq 16); do e2e_tap x 0.2; done

# Over the pillar: a hop onto the step, a jump from its end onto the ledge, and one from the
# ledge onto or over the pillar. A hit can knock her off the way; she goes on from where she lands.
# Her box (19 units wide) has its top at y 396 on the floor, 364 on the step, 332 on the ledge and
# 268 on the pillar. A jump can pass through those heights on its way up (beside the ledge, or
# against the pillar's side), so she stands on a step, ledge or pillar only where it lies under her.
on_step="y == 364 && x > 861 && x < 928"
on_ledge="y == 332 && x > 973"
on_pillar="y == 268 && x > 1069"
# where_she_is <x> <y>: arena, pillar, ledge, step or floor for her box there; air when none.
where_she_is() {
    awk -v x="$1" -v y="$2" "BEGIN { x += 0; y += 0
        if (x >= 1120) print \"arena\"; else if ($on_pillar) print \"pillar\"
        else if ($on_ledge) print \"ledge\"; else if ($on_step) print \"step\"
        else if (y == 396) print \"floor\"; else print \"air\" }"
}
# jump_right <landing>: with Jump and Right held she leaves the ground and runs on until she lands;
# the game sees Jump let go before the next jump presses it again.
jump_right() {
    local y0
    read -r _ _ y0 _ <<< "$(e2e_probe)"
    xdotool keydown z
    xdotool keydown Right
    e2e_until_ticks 60 "y < $y0 - 4"
    e2e_hold_ticks "Right" 300 "$1"
    xdotool keyup Right
    e2e_release z
}
# In slow motion, so that a loaded machine's late keys still end each hop and jump where it should.
e2e_slow
for _ in $(seq 12); do
    read -r _ x y <<< "$(e2e_probe)"
    case "$(where_she_is "$x" "$y")" in
        arena|pillar) break ;;
        ledge) jump_right "($on_pillar) || y == 396" ;;
        step) e2e_hold_ticks "Right" 300 "x >= 900 || y != 364"; jump_right "($on_ledge) || y == 396" ;;
        floor)
            if awk -v x="$x" 'BEGIN { exit !(x <= 861) }'; then
                e2e_hold_ticks "Right" 300 "x >= 855"
                # A short hop with Right held: she runs onto the step as soon as she is above it.
                xdotool keydown Right
                xdotool keydown z; e2e_until_ticks 30 "y < 360"; xdotool keyup z
                e2e_hold_ticks "Right" 300 "($on_step) || (y == 396 && x > 861)"
                xdotool keyup Right
            else
                e2e_hold_ticks "Left" 300 "x <= 934"
                jump_right "($on_ledge) || y == 396"
            fi ;;
        *)
            if awk -v x="$x" 'BEGIN { exit !(x < 850) }'; then e2e_hold_ticks "Right" 600 "x >= 850 && y == 396"
            else e2e_ticks 18; fi ;;
    esac
done
e2e_until_ticks 6 "($on_pillar) || x >= 1120" || e2e_fail "she never got over the pillar (last probe: $(e2e_probe))"
e2e_fast
e2e_hold "Right" 60 "x >= 1136 && y == 396"
e2e_wait_for "$LOG" "Warden awakens" 60 || e2e_fail "the Warden did not wake in its arena"

# She faces right, along the floor, where the Warden paces.
e2e_beat_warden
e2e_finish_right "the Hollow"
