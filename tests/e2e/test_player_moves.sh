# Keys typed into the window move Kestra in the sample map: after her teleport-in, holding
# Right runs her right at the run speed, holding Left brings her back, and Jump lifts her off
# the floor and lands her again. Her position is read from a probe that the copied map script
# hands to the camera as its control script, so it runs once a tick and prints where she is.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

# The probe keeps the camera on her, as the camera would by itself, and logs one line a tick.
cat > "$GAME_DIR/Probe.lua" <<'EOF'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
local fX, fY = Player_GetPosition()
fnLog(string.format("Probe %d %.3f %.3f", iTick, fX, fY))
Camera_CallFunc("CenterOnPlayer")
EOF
# She starts on the open floor right of the cliff, where half a second of running meets no wall,
# no ice and no wind. The start is changed in place: a second teleport-in would land her
# where the first one did.
map_script="$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"
grep -q '^MapM_SetPlayerStart(100, 390, 0)$' "$map_script" || e2e_fail "the map's start line changed"
sed -i 's/^MapM_SetPlayerStart(100, 390, 0)$/MapM_SetPlayerStart(300, 390, 0)/' "$map_script"
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$map_script"

e2e_start "$SCRATCH/moves.log" -skipto FirstSteps
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"

e2e_focus_window

# The teleport-in takes 180 ticks and locks her controls meanwhile; wait a little longer.
e2e_wait_for "$LOG" "Probe 200 " 60 || e2e_fail "the game stopped ticking during the teleport-in"
e2e_ticks 18

# probes_from <line>: the probe samples "tick x y" from that line of the log on.
probes_from() { tail -n "+$1" "$LOG" | awk '$1 == "Probe" { print $2, $3, $4 }'; }
log_lines() { wc -l < "$LOG"; }
last_probe() { probes_from 1 | tail -n 1; }

read -r _ x0 y0 <<< "$(last_probe)"
[ -n "$x0" ] || e2e_fail "no position read"

# motion <from line> <sign>: over the ticks in which x moved in the direction of sign, prints
# how many there were and the mean step per tick.
motion() {
    probes_from "$1" | awk -v s="$2" '
        NR > 1 { d = ($2 - px) * s; if (d > 0.001) { n++; sum += d } }
        { px = $2 }
        END { if (n > 0) printf "%d %.3f\n", n, sum / n; else print "0 0" }'
}

# The moves run in slow motion, so that a loaded machine's late key-ups still end each hold
# where the floor is open.
e2e_slow
# Right: 3.1 units a tick from the first held tick, no run-up (she already faces right).
mark="$(log_lines)"
xdotool keydown Right
e2e_ticks 30
xdotool keyup Right
e2e_ticks 24
read -r _ x1 y1 <<< "$(last_probe)"
read -r ticks step <<< "$(motion "$mark" 1)"
awk -v a="$x0" -v b="$x1" 'BEGIN { exit !(b - a > 40) }' || e2e_fail "Right moved her from $x0 to $x1 only"
# The hold lasts 30 ticks as the probe counts them; a loaded machine may deliver the key-down or
# the key-up a few ticks late, so only a run that never stops or barely starts fails here.
[ "$ticks" -ge 10 ] && [ "$ticks" -le 90 ] || e2e_fail "she ran for $ticks ticks during a 30-tick hold"
awk -v v="$step" 'BEGIN { exit !(v > 2.95 && v < 3.25) }' || e2e_fail "run step $step per tick, not about 3.1"
awk -v a="$x1" -v b="$(probes_from "$mark" | awk 'NR == 1 { print $2 }')" -v n="$ticks" \
    'BEGIN { d = a - b; exit !(d > n * 3.1 - 4 && d < n * 3.1 + 4) }' || e2e_fail "moved $x0 to $x1 in $ticks ticks"
[ "$y1" = "$y0" ] || e2e_fail "running on the flat floor changed her height from $y0 to $y1"

# Left: the first held tick only turns her, then she runs back at the same speed.
mark="$(log_lines)"
xdotool keydown Left
e2e_ticks 30
xdotool keyup Left
e2e_ticks 24
read -r _ x2 _ <<< "$(last_probe)"
read -r ticks step <<< "$(motion "$mark" -1)"
awk -v a="$x1" -v b="$x2" 'BEGIN { exit !(a - b > 40) }' || e2e_fail "Left moved her from $x1 to $x2 only"
awk -v v="$step" 'BEGIN { exit !(v > 2.95 && v < 3.25) }' || e2e_fail "run-back step $step per tick, not about 3.1"

# Jump: held for a while she rises well clear of the floor (y shrinks), then lands where she
# stood.
mark="$(log_lines)"
xdotool keydown z
e2e_ticks 24
xdotool keyup z
e2e_ticks 90
read -r _ x3 y3 <<< "$(last_probe)"
top="$(probes_from "$mark" | awk 'NR == 1 || $3 < m { m = $3 } END { print m }')"
awk -v g="$y0" -v t="$top" 'BEGIN { exit !(g - t > 40) }' || e2e_fail "the jump rose only from $y0 to $top"
[ "$y3" = "$y0" ] || e2e_fail "after the jump she is at y $y3, not back on the floor at $y0"
[ "$x3" = "$x2" ] || e2e_fail "a straight jump moved her from x $x2 to $x3"

e2e_fast
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
echo "PASS: keys run and jump the player (right $x0 -> $x1, left -> $x2, jump peak y $top from $y0)"
