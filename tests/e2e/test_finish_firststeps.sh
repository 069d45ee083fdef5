# First Steps can be finished with the keys alone: from her start Kestra runs up to the step
# below the plateau, shoots the Driftbell and the Crawler there with the normal shot, jumps onto
# the ice, runs over the cliff, answers the signpost's dialogue in the console, runs to the
# ladder, climbs it and walks to the goal, which brings up the thanks page.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"
e2e_play_probe FirstSteps

e2e_start "$SCRATCH/finish.log" -skipto FirstSteps
e2e_wait_for "$LOG" "Probe 0 " 30 || e2e_fail "the probe never ran"
e2e_focus_window
# The teleport-in locks her controls for 180 ticks.
e2e_until 60 "t > 200" || e2e_fail "the game stopped ticking during the teleport-in"

# Up the slope to the step's right end, under the plateau's face.
e2e_hold "Right" 60 "x >= 160 && y <= 366"
sleep 0.3
for _ in $(seq 40); do
    grep -qF "Enemy destroyed: PlateauDriftbell" "$LOG" && grep -qF "Enemy destroyed: PlateauCrawler" "$LOG" && break
    e2e_tap x 0.25
done
e2e_expect_text "$LOG" "Enemy destroyed: PlateauDriftbell"
e2e_expect_text "$LOG" "Enemy destroyed: PlateauCrawler"

# Onto the ice and over the cliff to the signpost below it: passing it puts its dialogue in the
# console, which its key opens; Down picks the second answer and Tab gives it. Right goes down
# before Jump: a driver held up for half a second between the two found her fallen back to the
# step, below the plateau's face.
xdotool keydown Right
xdotool keydown z
e2e_until 60 "y <= 332" || e2e_fail "the jump never rose to the plateau (last probe: $(e2e_probe))"
xdotool keyup z
e2e_hold "Right" 60 "x >= 336 && y == 396"
e2e_wait_for "$LOG" "Signpost: the dialogue is in the console" 60 || e2e_fail "passing the signpost showed no dialogue"
e2e_tap grave 0; e2e_ticks 18
e2e_tap Down 0; e2e_ticks 12
e2e_tap Tab 0; e2e_ticks 18
e2e_wait_for "$LOG" "Signpost: answer 2" 60 || e2e_fail "the signpost's dialogue took no answer"
e2e_tap grave 0; e2e_ticks 18

# On to the ladder; Up held as well takes it as soon as she reaches it.
e2e_hold "Right Up" 60 "x > 390 && y < 390"
e2e_hold "Up" 60 "y <= 172"
e2e_finish_right "First Steps"
