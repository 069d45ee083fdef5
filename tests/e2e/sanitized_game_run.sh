# About thirty seconds of play on the sample map by a sanitizer build: she teleports in, jumps,
# dashes, shoots and charges, runs right into the pit and dies, comes back at the checkpoint,
# the game is paused and resumed, and SIGTERM ends the run. The moves are read back from a
# probe that logs her position every tick; any AddressSanitizer, UndefinedBehaviorSanitizer or
# LeakSanitizer report fails the run, and so does an exit status other than 0 (a report at exit
# turns the status of the clean shutdown into 86).
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

cat > "$GAME_DIR/Probe.lua" <<'EOF'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
local fX, fY = Player_GetPosition()
fnLog(string.format("Probe %d %.3f %.3f", iTick, fX, fY))
Camera_CallFunc("CenterOnPlayer")
EOF
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

e2e_start "$SCRATCH/run.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "Probe 0 " 60 || e2e_fail "the probe never ran"
e2e_focus_window
# The teleport-in locks her controls for 180 ticks.
e2e_wait_for "$LOG" "Probe 200 " 30 || e2e_fail "the game stopped ticking during the teleport-in"

# tap <key>...: each key held for a few ticks, since the game polls the keyboard once a tick and
# a bare press and release can fall between two polls.
tap() {
    local k
    for k in "$@"; do
        xdotool keydown "$k"; sleep 0.15; xdotool keyup "$k"; sleep 0.25
    done
}
probes() { awk '$1 == "Probe" { print $2, $3, $4 }' "$LOG"; }
probe_count() { grep -c '^Probe ' "$LOG"; }
read -r _ start_x start_y <<< "$(probes | tail -n 1)"

# Jumps, a dash each way, single shots and a charged one.
xdotool keydown z; sleep 0.4; xdotool keyup z; sleep 0.8
tap z z
dash_from="$(wc -l < "$LOG")"
xdotool keydown c; sleep 0.6; xdotool keyup c
xdotool keydown Left; xdotool keydown c; sleep 0.5; xdotool keyup c; xdotool keyup Left
# A dash moves her faster than her run of 3.1 units a tick.
fastest="$(tail -n "+$dash_from" "$LOG" | awk '$1 == "Probe" { if (seen) { d = $3 - px; if (d < 0) d = -d; if (d > m) m = d } px = $3; seen = 1 } END { print m + 0 }')"
awk -v v="$fastest" 'BEGIN { exit !(v > 3.5) }' || e2e_fail "no dash: her fastest step was $fastest a tick"
tap x x x x
xdotool keydown x; sleep 1.5; xdotool keyup x
sleep 0.5
top="$(probes | awk -v f="$start_y" 'BEGIN { m = f } $3 < m { m = $3 } END { print m }')"
awk -v g="$start_y" -v t="$top" 'BEGIN { exit !(g - t > 40) }' || e2e_fail "no jump rose from $start_y (highest $top)"

# Right all the way: up the slope, with a hop now and then onto the plateau above the step,
# over the plateau and the checkpoint below its cliff, past the ladder and into the pit. The
# death runs its animation, then the map reloads.
loads() { grep -c 'LoadMapFile\] Begin' "$LOG"; }
loads_before="$(loads)"
xdotool keydown Right
for i in $(seq 150); do
    [ "$(loads)" -gt "$loads_before" ] && break
    [ $((i % 10)) -eq 0 ] && { xdotool keydown z; sleep 0.15; xdotool keyup z; }
    sleep 0.1
done
xdotool keyup Right
[ "$(loads)" -gt "$loads_before" ] || e2e_fail "no map reload after the run into the pit"
awk '$1 == "Probe" && $3 > 448 && $4 > 400 { found = 1 } END { exit !found }' "$LOG" || e2e_fail "she never sank into the pit"
e2e_wait_for "$LOG" "LoadMapFile] Done" 20 || e2e_fail "the reload did not finish"
sleep 4
read -r _ back_x back_y <<< "$(probes | tail -n 1)"
awk -v x="$back_x" 'BEGIN { exit !(x > 280 && x < 340) }' || e2e_fail "after the death she is at x $back_x, not at the checkpoint"

# Pause (Return) opens the pause screen and the world stops ticking, so the probe is silent
# until Pause, with the menu's cursor on its first line, closes the screen again.
tap Return
paused_at=""
for _ in $(seq 10); do
    count="$(probe_count)"
    sleep 0.5
    [ "$(probe_count)" -eq "$count" ] && { paused_at="$count"; break; }
done
[ -n "$paused_at" ] || e2e_fail "the world kept ticking after Pause"
sleep 2
[ "$(probe_count)" -eq "$paused_at" ] || e2e_fail "the world ticked while paused"
tap Return
for _ in $(seq 50); do
    [ "$(probe_count)" -gt "$((paused_at + 20))" ] && break
    sleep 0.1
done
[ "$(probe_count)" -gt "$((paused_at + 20))" ] || e2e_fail "the world did not resume after the pause"

# A last stretch of play until about thirty seconds have passed.
for _ in 1 2 3; do
    xdotool keydown Left; tap z x; xdotool keyup Left
    xdotool keydown Right; tap c z; xdotool keyup Right
done
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended during play"
e2e_stop TERM

for report in "ERROR: AddressSanitizer" "ERROR: LeakSanitizer" "runtime error:" "SUMMARY: UndefinedBehaviorSanitizer"; do
    e2e_expect_no_text "$LOG" "$report"
done
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
echo "PASS: thirty seconds of play with no sanitizer report (start $start_x $start_y, jump peak $top, dash step $fastest, respawn $back_x $back_y)"
