# SIGTERM and SIGINT end a running game through the normal shutdown, with status 0: the world
# ticks up to the signal, stops ticking before the memory is cleaned, and the run ends within
# moments. The ticks are read from a probe the map hands to the camera as its control script.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"
cat > "$GAME_DIR/Probe.lua" <<'PROBE'
fnLog("Probe " .. LM_GetScriptArgument(0))
Camera_CallFunc("CenterOnPlayer")
PROBE
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

ticks() { grep -c '^Probe ' "$LOG"; }
for sig in TERM INT; do
    e2e_start "$SCRATCH/$sig.log" -startupdebug -skipto FirstSteps
    e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
    e2e_wait_for "$LOG" "Probe 0" || e2e_fail "the world never ticked"
    before="$(ticks)"
    for _ in $(seq 300); do [ "$(ticks)" -ge "$((before + 20))" ] && break; sleep 0.1; done
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended on its own before SIG$sig"
    [ "$(ticks)" -ge "$((before + 20))" ] || e2e_fail "the world was not ticking before SIG$sig"
    started="$(date +%s)"
    e2e_stop "$sig"
    [ "$STATUS" -eq 0 ] || e2e_fail "SIG$sig: exit status $STATUS"
    # A loose bound for a loaded machine; a signal left waiting would take far longer.
    [ "$(( $(date +%s) - started ))" -le 10 ] || e2e_fail "SIG$sig took more than 10 seconds to end the run"
    e2e_expect_lines "$LOG" "[Post Process] Complete" "[Clean Memory] Begin" "[Clean Memory] Done"
    # Nothing ticks once the shutdown has begun.
    sed -n '/^\[Clean Memory\] Begin$/,$p' "$LOG" | grep -q '^Probe ' && e2e_fail "SIG$sig: the world ticked during the shutdown"
done
# A signal during boot, while the managers start and before any script or the main loop runs,
# lets the boot wind down and shuts down as cleanly.
e2e_start "$SCRATCH/boot.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Allegro] Finished init" || e2e_fail "Allegro never finished its start"
e2e_stop INT
[ "$STATUS" -eq 0 ] || e2e_fail "SIGINT during boot: exit status $STATUS"
e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
grep -q '^Probe ' "$LOG" && e2e_fail "SIGINT during boot: the world ticked"
# A boot starved of its CPU is slow, not stuck: SIGINT while its scripts and loaders run waits
# for the boot to wind down, however long that takes, and shuts down as cleanly. The game shares
# one CPU with busy loops.
cpu="$(($(nproc) - 1))"
e2e_busy_cpu "$cpu" 6
E2E_GAME_CPU="$cpu" e2e_start "$SCRATCH/starved.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Allegro] Finished init" 120 || e2e_fail "Allegro never finished its start"
sleep 0.5
e2e_stop INT 120
e2e_idle_cpu
[ "$STATUS" -eq 0 ] || e2e_fail "SIGINT during a starved boot: exit status $STATUS"
e2e_expect_lines "$LOG" "[Clean Memory] Begin" "[Clean Memory] Done"
e2e_expect_no_text "$LOG" "a script would not stop"
echo "PASS"
