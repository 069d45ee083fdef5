# A traced start: every boot step reports in order, the window appears under its title, and
# the run ends cleanly on request.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
# Scripts read GL enumeration values once the display exists.
printf '\nfnLog("GL_REPEAT is " .. DM_GetEnumeration("GL_REPEAT"))\n' >> "$GAME_DIR/Data/Scripts/Startup.lua"

e2e_start "$SCRATCH/boot.log" -startupdebug
e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
# The title reaches the X server asynchronously, so allow it a moment.
titled=0
for _ in $(seq 50); do
    xdotool search --name '^Brontel$' >/dev/null 2>&1 && { titled=1; break; }
    sleep 0.1
done
[ "$titled" -eq 1 ] || e2e_fail "no window titled Brontel"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

e2e_expect_lines "$LOG" \
    "[Initializing Allegro]" \
    " Booted Addons" \
    " Booted Keyboard" \
    " Booted Mouse" \
    " Booted Joystick" \
    " Booted Event Queue" \
    " Booted Timer with FPS 60.000000" \
    "[Allegro] Finished init" \
    "[Begin Manager Boot]" \
    " Lua Manager" \
    " Lua Defaults" \
    " Control Manager" \
    " Options Manager" \
    " Configuration.lua" \
    " Display Created" \
    " [GL Wrangling] Begin" \
    " [GL Wrangling] Done" \
    " Wrangle completed" \
    " Created LoadInterrupt" \
    " Created DataLibrary" \
    " Created misc Managers" \
    " Created GUI" \
    "[Complete Manager Boot]" \
    "[Post Process] Begin" \
    " Set icon" \
    " Booted icon" \
    " Set system font" \
    " Created default objects" \
    "== Program Status Report: ==" \
    " Booted spawn presets" \
    " Printed loading report" \
    " Shifted to title screen" \
    "[Post Process] Complete" \
    "[Clean Memory] Begin" \
    "[Clean Memory] Done"

# All twenty GL entry points are fetched, and the driver offers each of them.
[ "$(grep -cE '^  gl[A-Za-z0-9]+ 0x[0-9a-f]+$' "$LOG")" -eq 20 ] || e2e_fail "GL entry points not all fetched"
# The boot scripts ran: the startup script reports the configured window.
e2e_expect_text "$LOG" "Startup: scripts from Data/Scripts/, window 800 by 600"
e2e_expect_text "$LOG" "GL_REPEAT is 10497"
e2e_expect_no_text "$LOG" "Lua Error"
echo "PASS"
