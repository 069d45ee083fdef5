# The measured frame rate is drawn in the top right corner of the view, whole: its last digit
# ends inside the 800 by 600 window instead of running past its right edge.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -f "$GAME_DIR/Data/Maps/FirstSteps.slf" ] || e2e_fail "the sample map was not built"

e2e_start "$SCRATCH/fps.log" -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
# The meter measures once a second; give it two.
sleep 2.5
e2e_find_window
e2e_screenshot "$WIN" "$SCRATCH/fps.png"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

# The text is the only white in the top rows (sky, earth and stone are all darker). Its pixels
# must be there, and none may touch the window's last columns, where a cut-off text would end.
read -r count right <<< "$(convert "$SCRATCH/fps.png" -crop 800x40+0+0 +repage txt:- |
    awk 'NR > 1 { split($1, p, /[,:]/); c = $2; gsub(/[()]/, "", c); split(c, v, ",");
                  if (v[1] >= 230 && v[2] >= 230 && v[3] >= 230) { n++; if (p[1] + 0 > m) m = p[1] + 0 } }
         END { print n + 0, m + 0 }')"
[ "$count" -gt 20 ] || e2e_fail "no frame-rate text in the top rows (saw $count white pixels)"
[ "$right" -lt 796 ] || e2e_fail "the frame-rate text runs to column $right of 800"
[ "$right" -gt 700 ] || e2e_fail "the frame-rate text left the top right corner (ends at column $right)"
echo "PASS: the frame-rate text ends at column $right, inside the window"
