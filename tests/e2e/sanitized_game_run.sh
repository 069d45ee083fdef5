# About thirty seconds of play on the sample map by a sanitizer build: she teleports in, jumps,
# dashes, shoots and charges, runs right into the pit and dies, comes back at the checkpoint,
# the game is paused and resumed, and SIGTERM ends the run. The moves are read back from a
# probe that logs her position every tick, and every key is held until a tick has read it, so
# a slow sanitizer build on a loaded machine plays the same run. Any AddressSanitizer,
# UndefinedBehaviorSanitizer or LeakSanitizer report fails the run, and so does an exit status
# other than 0 (a report at exit turns the status of the clean shutdown into 86).
# Arguments: <kestra path> <game dir> <leak suppression file>.
. "$(dirname "$0")/lib.sh"
SUPPRESSIONS="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
e2e_init "$1" "$2"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"
[ -f "$SUPPRESSIONS" ] || e2e_fail "no suppression file at $SUPPRESSIONS"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:exitcode=86"
export LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
e2e_sanitizer_preload "$KESTRA"

# dx: how far she moved along x since the tick before.
e2e_play_probe FirstSteps "dx" <<'LUA'
tMore[1] = fX - (gfProbeLastX or fX)
gfProbeLastX = fX
LUA
# The control trace counts ticks while the world stands still under the pause screen.
e2e_trace_controls

e2e_start "$SCRATCH/run.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "Probe 0 " 180 || e2e_fail "the probe never ran"
e2e_focus_window
# The teleport-in locks her controls for 180 ticks.
e2e_until_ticks 300 "t > 200" || e2e_fail "the game stopped ticking during the teleport-in"
read -r _ start_x start_y _ <<< "$(e2e_probe)"
first_line="$(wc -l < "$LOG")"

# probes_from <line>: the probe samples "tick x y dx" from that line of the log on.
probes_from() { tail -n "+$1" "$LOG" | awk '$1 == "Probe" { print $2, $3, $4, $5 }'; }

# land: back on the floor where she started, and standing there a moment, since a press in the
# tick she lands can go unseen.
land() {
    e2e_until_ticks 180 "y == $start_y" || e2e_fail "she did not land from $1 (last probe: $(e2e_probe))"
    e2e_ticks 12
}
# A long jump rises well clear of the floor, then two short ones.
e2e_hold_ticks z 60 "y < $start_y - 40"
land "the jump"
for _ in 1 2; do
    e2e_press z Jump
    e2e_until_ticks 60 "y < $start_y" || e2e_fail "Jump did not lift her (last probe: $(e2e_probe))"
    land "a hop"
done

# dash <keys> <condition>: holds the keys for most of a dash, which must move her faster than
# her run of 3.1 units a tick.
dash() {
    local k found
    for k in $1; do xdotool keydown "$k"; done
    e2e_until_ticks 60 "$2"
    found=$?
    [ "$found" -ne 0 ] || e2e_ticks 24
    for k in $1; do xdotool keyup "$k"; done
    [ "$found" -eq 0 ] || e2e_fail "holding $1 did not dash her (last probe: $(e2e_probe))"
    e2e_ticks 12
}
dash c "dx > 3.5"
dash "Left c" "dx < -3.5"
fastest="$(probes_from "$first_line" | awk '{ d = $4 < 0 ? -$4 : $4; if (d > m) m = d } END { print m + 0 }')"

# Single shots, then a charge held for a second and a half.
for _ in 1 2 3 4; do
    e2e_press x Shoot
    e2e_ticks 6
done
e2e_mark_ticks
xdotool keydown x
e2e_control_ticks 90 Shoot 1
xdotool keyup x
e2e_ticks 30
top="$(probes_from "$first_line" | awk -v m="$start_y" '$3 < m { m = $3 } END { print m }')"

# Right all the way: up the slope to the step below the plateau, a jump from there onto it,
# over the plateau and off its cliff past the checkpoint at its foot, past the ladder and into
# the pit. A jump anywhere else could land her on the ledge over the checkpoint. The death runs
# its animation, then the map reloads.
loads() { grep -c "LoadMapFile\] $1" "$LOG"; }
begun_before="$(loads Begin)"
done_before="$(loads Done)"
pit="x > 448 && y > 400"
step="x >= 160 && x < 192 && y > 340 && y <= 366"
sank=1
xdotool keydown Right
for _ in $(seq 8); do
    e2e_until_ticks 600 "($pit) || ($step)" || break
    if e2e_until 0 "$pit"; then sank=0; break; fi
    xdotool keydown z
    e2e_until_ticks 40 "($pit) || y <= 332"
    e2e_release z
done
xdotool keyup Right
[ "$sank" -eq 0 ] || e2e_fail "she never sank into the pit (last probe: $(e2e_probe))"
# She comes back out of the pit once the map has reloaded, and the keys work again once she
# has teleported in.
e2e_until_ticks 900 "x < 440" || e2e_fail "she did not come back after the death (last probe: $(e2e_probe))"
read -r back_tick _ <<< "$(e2e_probe)"
e2e_until_ticks 300 "t > $back_tick + 200" || e2e_fail "the game stopped ticking after the death"
[ "$(loads Begin)" -gt "$begun_before" ] || e2e_fail "no map reload after the run into the pit"
[ "$(loads Done)" -gt "$done_before" ] || e2e_fail "the reload did not finish"
read -r _ back_x back_y _ <<< "$(e2e_probe)"
awk -v x="$back_x" 'BEGIN { exit !(x > 280 && x < 340) }' || e2e_fail "after the death she is at x $back_x, not at the checkpoint"

# Pause (Enter) opens the pause screen and the world stops: the probe, which runs with the
# world, keeps its tick while the control trace counts the game's ticks on. Pause, with the
# menu's cursor on its first line, closes the screen again and the world runs on.
e2e_press Return Pause
e2e_ticks_from_now 30
read -r paused_tick _ <<< "$(e2e_probe)"
e2e_ticks_from_now 120
read -r still_tick _ <<< "$(e2e_probe)"
[ "$still_tick" = "$paused_tick" ] || e2e_fail "the world ticked while paused ($paused_tick -> $still_tick)"
e2e_press Return Pause
e2e_until 120 "t > $paused_tick + 20" || e2e_fail "the world did not resume after the pause"

# A last stretch of play until about thirty seconds have passed, back and forth between the
# cliff and the ladder.
for _ in 1 2 3; do
    xdotool keydown Right; e2e_press z Jump; e2e_ticks 20; xdotool keyup Right
    xdotool keydown Left; e2e_press c Dash; e2e_press x Shoot; e2e_ticks 20; xdotool keyup Left
done
e2e_ticks 120
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended during play"
# The sanitizers look for leaks at exit, which a loaded machine makes slow.
e2e_stop TERM 120

for report in "ERROR: AddressSanitizer" "ERROR: LeakSanitizer" "runtime error:" "SUMMARY: UndefinedBehaviorSanitizer"; do
    e2e_expect_no_text "$LOG" "$report"
done
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
echo "PASS: thirty seconds of play with no sanitizer report (start $start_x $start_y, jump peak $top, dash step $fastest, respawn $back_x $back_y)"
