# Keys typed into the window reach the control manager: a default control follows its key
# down and up, a control bound from Configuration.lua follows its new key, and a control
# whose keys stay untouched never reads as held. The states are read from the control
# manager's trace, which prints every control's held state each tick.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
cat >> "$GAME_DIR/Configuration.lua" <<'EOF'

OM_SetOption("Debug_ControlManager", true)
CM_Rebind("Select", "KEY2", nil)
EOF

e2e_start "$SCRATCH/controls.log"
e2e_wait_for "$LOG" "[ControlManager Begin Update]" || e2e_fail "the control manager never updated"

e2e_focus_window
sleep 0.3

# Nothing has been typed yet.
e2e_expect_no_text "$LOG" "State of Jump is 1"
e2e_expect_no_text "$LOG" "State of Select is 1"

# Z is Jump's first key: held for half a second, then let go.
xdotool keydown z
e2e_wait_for "$LOG" "State of Jump is 1" 60 || e2e_fail "Jump never read as held while Z was down"
sleep 0.5
xdotool keyup z
sleep 0.5
held_lines="$(grep -cF "State of Jump is 1" "$LOG")"
# 60 ticks a second over the half second of holding; a loose bound for a loaded machine.
[ "$held_lines" -ge 5 ] || e2e_fail "Jump read as held in only $held_lines ticks"

# B was bound to Select by the configuration; Select has no default key.
xdotool key --delay 200 b
e2e_wait_for "$LOG" "State of Select is 1" 60 || e2e_fail "Select never read as held after B"
sleep 0.3

e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

# After the release Jump reads as not held again, and stays so.
last_held="$(grep -nF "State of Jump is 1" "$LOG" | tail -n 1 | cut -d: -f1)"
tail -n "+$last_held" "$LOG" | grep -qF "State of Jump is 0" || e2e_fail "Jump still held after Z was let go"
# Dash (C) was never touched.
e2e_expect_no_text "$LOG" "State of Dash is 1"
echo "PASS: keys reach the control manager"
