# The screens in one run: the game boots to the title, Enter leads to the level select, which
# lists the maps and starts the first one; in play Enter opens the pause screen, E turns to
# the options page, where X on Jump's primary binding waits for a key and J becomes Jump;
# the screen closes from the sound entry, and J then makes Kestra jump. A screenshot of each
# screen must differ from the one before it.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"
# FirstSteps on the first line and a second map after it, so the level select shows its list
# instead of starting the only map at once, whatever other maps the sample game has.
find "$GAME_DIR/Data/Maps" -mindepth 1 ! -name FirstSteps.slf -exec rm -rf {} +
cp "$GAME_DIR/Data/Maps/FirstSteps.slf" "$GAME_DIR/Data/Maps/Zenith.slf"

cat > "$GAME_DIR/Probe.lua" <<'LUA'
local iTick = tonumber(LM_GetScriptArgument(0)) or -1
local fX, fY = Player_GetPosition()
fnLog(string.format("Probe %d %.3f %.3f", iTick, fX, fY))
Camera_CallFunc("CenterOnPlayer")
LUA
printf '\nCamera_SetProperty("ScriptControl", "Probe.lua")\n' >> "$GAME_DIR/Data/Scripts/Maps/FirstSteps.lua"

# The log shows what each tick read of the controls, so every key is held until a tick has seen
# it and every wait counts ticks, however a loaded machine stretches them.
e2e_trace_controls

e2e_start "$SCRATCH/screens.log"
e2e_focus_window 10

shots=()
shot() {
    local file="$SCRATCH/$1.png"
    e2e_screenshot root "$file"
    shots+=("$file")
}
# The title holds its first frame for two seconds, then animates; wait for the last frame.
e2e_ticks_from_now 210
shot title
e2e_press Return Pause
e2e_ticks_from_now 48
shot levelselect
grep -qF "Executed any to level" "$LOG" && e2e_fail "a map started before one was chosen"

# The cursor stands on the first line, FirstSteps.
e2e_press x Shoot
e2e_wait_for "$LOG" "Executed any to level FirstSteps" 60 || e2e_fail "choosing the first line did not start FirstSteps"
e2e_wait_for "$LOG" "Probe 200 " 60 || e2e_fail "the level never ran 200 ticks"
e2e_ticks_from_now 18
shot game

probes_from() { tail -n "+$1" "$LOG" | awk '$1 == "Probe" { print $2, $3, $4 }'; }
last_probe() { probes_from 1 | tail -n 1; }

e2e_press Return Pause
e2e_ticks_from_now 60
shot pause
# The world is frozen under the pause screen.
read -r t1 _ _ <<< "$(last_probe)"
e2e_ticks_from_now 30
read -r t2 _ _ <<< "$(last_probe)"
[ "$t1" = "$t2" ] || e2e_fail "the world ran on under the pause screen ($t1 -> $t2)"

e2e_press e ShoulderR
e2e_ticks_from_now 24
shot options
# The wait for a new binding lasts 180 ticks, which a loaded machine's screenshot can outlast:
# its picture is taken in a wait of its own, which then runs out and leaves Jump as it was. The
# wait that takes J has no picture in it, and both run in slow motion, so that a slow driver
# still finds them open.
# slow: holds F3 and waits for a tick that has read it. A lagging game reads the keyboard's
# state when it handles a key event, so the state read at F3's event could already show X down:
# a wait begun from it would take X, whose own event comes after.
slow() {
    e2e_mark_ticks
    e2e_slow
    e2e_control_ticks 1 SlowDown 1
}
slow
e2e_press x Shoot
e2e_ticks_from_now 3
shot rebindwait
e2e_fast
e2e_ticks_from_now 180
slow
e2e_press x Shoot
e2e_press j
e2e_fast
e2e_ticks_from_now 18
shot rebound
# From Jump's primary binding down past the bindings and the double-tap entry: Enter on any
# entry below them only closes the screen.
for _ in 1 2 3 4 5 6 7 8 9 10; do e2e_press Down Down; done
e2e_press Return Pause
e2e_ticks_from_now 72
shot resumed
read -r t3 x3 y3 <<< "$(last_probe)"
e2e_ticks_from_now 24
read -r t4 _ _ <<< "$(last_probe)"
[ "$t4" != "$t3" ] || e2e_fail "the world did not run again after the pause screen closed"

# J is Jump now: she rises well clear of the floor and lands again.
mark="$(wc -l < "$LOG")"
e2e_mark_ticks
xdotool keydown j
e2e_control_ticks 24 Jump 1
xdotool keyup j
e2e_ticks_from_now 90
top="$(probes_from "$mark" | awk 'NR == 1 || $3 < m { m = $3 } END { print m }')"
awk -v g="$y3" -v t="$top" 'BEGIN { exit !(g - t > 30) }' || e2e_fail "J did not jump (floor $y3, top $top)"

e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

# Each screen drew something different from the one before it.
for ((i = 1; i < ${#shots[@]}; i++)); do
    a="${shots[$((i - 1))]}"; b="${shots[$i]}"
    diff="$(compare -metric AE "$a" "$b" null: 2>&1 >/dev/null | awk '{ print int($1) }')"
    [ -n "$diff" ] && [ "$diff" -gt 500 ] || e2e_fail "$(basename "$b") hardly differs from $(basename "$a") ($diff pixels)"
done
echo "PASS: title, level select, play, pause, options rebinding and resume (J jumped to y $top from $y3)"
