# The game's audio through the real layer: with ALSA's default output made a null sink (an
# .asoundrc under a private HOME, no sound server to find), the device starts, every sound and
# the looping music load to real handles, and the sample map plays its music past the loop
# point and its sounds (teleport-in, jumps) until SIGTERM ends the run cleanly. A second run
# whose default output names a card that does not exist turns audio off and still plays.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
[ -f "$GAME_DIR/Data/Audio/StageSelect.wav" ] || e2e_fail "the generated sounds are missing"

# audio_home <dir> <pcm definition>: a HOME whose .asoundrc sets the default PCM.
audio_home() {
    mkdir -p "$1"
    printf 'pcm.!default %s\n' "$2" > "$1/.asoundrc"
}
audio_home "$SCRATCH/null-home" '{ type null }'
audio_home "$SCRATCH/no-card-home" '{ type hw card 99 }'
# Only OpenAL's ALSA back end, and no PulseAudio server for Allegro or OpenAL to reach.
export ALSOFT_DRIVERS=alsa
export PULSE_SERVER="unix:$SCRATCH/no-such-server"

scripts="$GAME_DIR/Data/Scripts"
# The loads report their handles while the print stack is on.
{
    printf 'Debug_PushPrint(true, "[Audio] Begin\\n")\n'
    cat "$scripts/Audio.lua"
    printf '\nDebug_PopPrint("[Audio] Done\\n")\n'
} > "$SCRATCH/Audio.lua"
mv "$SCRATCH/Audio.lua" "$scripts/Audio.lua"
printf '\nAudioManager_PlayMusic("StageSelect")\nfnLog("Map music requested")\n' >> "$scripts/Maps/FirstSteps.lua"

sounds=(MenuChange MenuSelect StageSelected HealthRecover SubtankFill BossDoorOpen BossDoorClose
        BusterDeflect Rank1BusterShot Rank2BusterShot Rank3BusterShot Dash Jump Land KestraInjured
        KestraDying LightningStrike TeleportIn TeleportOut EnemyHurt EnemyExplode EnemyShoot
        BusterCharging StageSelect)

HOME="$SCRATCH/null-home" e2e_start "$SCRATCH/null.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot did not finish"
e2e_expect_no_text "$LOG" "AudioManager:  Error booting sound system!"
e2e_expect_no_text "$LOG" "AudioManager:  Error loading"
e2e_expect_text "$LOG" "Map music requested"
e2e_expect_no_text "$LOG" "is not registered"
for s in "${sounds[@]}"; do
    handle="$(grep -F "AudioManager:  Loaded Data/Audio/$s.wav to " "$LOG" | head -n 1 | sed 's/.* to \([0-9]*\)\.$/\1/')"
    [ -n "$handle" ] && [ "$handle" -gt 0 ] || e2e_fail "$s did not load to a handle"
done
[ "$(grep -cF "AudioManager:  Loaded Data/Audio/" "$LOG")" -eq "${#sounds[@]}" ] || e2e_fail "not every sound loaded once"

e2e_focus_window
# The music's loop point is 8 seconds in; jumps and shots play sounds over it meanwhile.
# Each key is held for a few ticks: the game polls the keyboard once a tick.
for _ in $(seq 5); do
    sleep 0.8
    for k in z x; do xdotool keydown "$k"; sleep 0.1; xdotool keyup "$k"; done
done
sleep 4
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended while playing audio"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS with audio on"
e2e_expect_lines "$LOG" "[Post Process] Complete" "[Clean Memory] Begin" "[Clean Memory] Done"

# No device: audio is off for the run, nothing loads, and the game plays on.
HOME="$SCRATCH/no-card-home" e2e_start "$SCRATCH/off.log" -startupdebug -skipto FirstSteps
e2e_wait_for "$LOG" "[Post Process] Complete" 30 || e2e_fail "boot without a device did not finish"
e2e_expect_text "$LOG" "AudioManager:  Error booting sound system!"
e2e_expect_no_text "$LOG" "AudioManager:  Loaded"
e2e_expect_text "$LOG" "Map music requested"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended without a device"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS with audio off"
echo "PASS: audio plays on the null output and is off without a device"
