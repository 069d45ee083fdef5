# Shared helpers for the end-to-end drivers. Source it, then call e2e_init "$@".
# Each driver gets a private Xvfb (Xvfb picks a free display itself), a scratch directory,
# and cleanup of both on exit, whatever happens.

set -u

e2e_init() {
    KESTRA="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    GAME_DIR="$(cd "$2" && pwd)"
    SCRATCH="$(mktemp -d)"
    XVFB_PID=""
    GAME_PID=""
    E2E_BUSY_PIDS=""
    trap e2e_cleanup EXIT
    [ -x "$KESTRA" ] || e2e_fail "no game binary at $KESTRA"
    e2e_start_xvfb
}

e2e_cleanup() {
    e2e_idle_cpu
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        # A server too starved or stuck to go within ten seconds is killed: a driver must not
        # hang on its way out.
        for _ in $(seq 100); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$SCRATCH"
}

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${LOG:-}" ] && [ -f "$LOG" ]; then
        echo "---- log ----" >&2
        tail -n 60 "$LOG" >&2
    fi
    exit 1
}

e2e_start_xvfb() {
    local fdfile="$SCRATCH/displayfd"
    : > "$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    local n
    for _ in $(seq 100); do
        n="$(tr -dc '0-9' < "$fdfile")"
        if [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    e2e_fail "Xvfb did not start"
}

# Copies the run directory, so a driver can change its configuration without touching game/.
e2e_copy_game() {
    cp -r "$GAME_DIR" "$SCRATCH/game"
    GAME_DIR="$SCRATCH/game"
}

# e2e_start <log> [game arguments...]: starts the game from the run directory in the
# background with standard error going to the log. With E2E_GAME_CPU set (a CPU number, from
# the environment or the driver) the game runs on that CPU alone, to see how it fares starved.
e2e_start() {
    LOG="$1"; shift
    E2E_SEEN=0
    E2E_TICK=-1
    local pin=""
    [ -z "${E2E_GAME_CPU:-}" ] || pin="taskset -c $E2E_GAME_CPU"
    (cd "$GAME_DIR" && { [ -z "${GAME_PRELOAD:-}" ] || export LD_PRELOAD="$GAME_PRELOAD"; } && exec $pin "$KESTRA" "$@") \
        2>"$LOG" >/dev/null &
    GAME_PID=$!
}

# e2e_busy_cpu <cpu> <count>: keeps the CPU busy with that many endless loops until
# e2e_idle_cpu, or the driver's end, stops them.
e2e_busy_cpu() {
    for _ in $(seq "$2"); do
        taskset -c "$1" sh -c 'while :; do :; done' &
        E2E_BUSY_PIDS="$E2E_BUSY_PIDS $!"
    done
}

e2e_idle_cpu() {
    local pid
    for pid in ${E2E_BUSY_PIDS:-}; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    E2E_BUSY_PIDS=""
}

# e2e_sanitizer_preload <binary>: for a sanitizer build, sets GAME_PRELOAD so that the game (and
# nothing else the driver runs) keeps Mesa's software driver loaded to the end. The driver is
# otherwise unloaded when the display closes, before LeakSanitizer looks, and its allocations
# could not be named by library in the suppression file. The sanitizer runtime must come first.
e2e_sanitizer_preload() {
    GAME_PRELOAD=""
    local runtime driver
    runtime="$(ldd "$1" 2>/dev/null | awk '$1 ~ /^libasan\.so/ { print $3 }')"
    [ -n "$runtime" ] || return 0
    driver="/usr/lib/$(gcc -print-multiarch 2>/dev/null)/dri/swrast_dri.so"
    [ -f "$driver" ] || driver="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)"
    [ -n "$driver" ] && [ -f "$driver" ] || e2e_fail "no Mesa software driver to keep loaded"
    GAME_PRELOAD="$runtime $driver"
}

# e2e_find_window [seconds]: leaves the game window's id in WIN; the window can appear a
# little after the log shows the game running.
e2e_find_window() {
    local limit="${1:-5}"
    WIN=""
    for _ in $(seq $((limit * 10))); do
        WIN="$(xdotool search --name '^Brontel$' 2>/dev/null | head -n 1)"
        [ -n "$WIN" ] && return 0
        sleep 0.1
    done
    e2e_fail "no game window"
}

# e2e_focus_window [seconds]: finds the game window (WIN) and gives it the keyboard, so the
# keys a driver types reach the game.
e2e_focus_window() {
    e2e_find_window "$@"
    # The wait for the focus to arrive is bounded: without a window manager it may never be told.
    timeout 10 xdotool windowfocus --sync "$WIN" 2>/dev/null || xdotool windowfocus "$WIN" || e2e_fail "cannot focus the window"
}

# e2e_wait_for <file> <text> [seconds]: waits until the text appears in the file.
e2e_wait_for() {
    local file="$1" text="$2" limit="${3:-30}"
    for _ in $(seq $((limit * 10))); do
        grep -qF -- "$text" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# e2e_stop <signal> [seconds]: sends the signal and waits for the game (20 seconds unless
# given); the exit status is in STATUS.
e2e_stop() {
    kill "-$1" "$GAME_PID" 2>/dev/null
    e2e_wait_exit "${2:-20}"
}

# e2e_wait_exit <seconds>: waits for the game to end on its own; STATUS holds its exit
# status, or 124 when it had to be killed.
e2e_wait_exit() {
    local limit="$1"
    for _ in $(seq $((limit * 10))); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        STATUS=124
    else
        wait "$GAME_PID"
        STATUS=$?
    fi
    GAME_PID=""
}

# e2e_expect_lines <file> <line>...: each line must appear whole, in the order given.
e2e_expect_lines() {
    local file="$1"; shift
    local from=1 line found
    for line in "$@"; do
        found="$(tail -n "+$from" "$file" | grep -nxF -- "$line" | head -n 1 | cut -d: -f1)"
        [ -n "$found" ] || e2e_fail "missing or out of order: '$line' in $file"
        from=$((from + found))
    done
}

e2e_expect_text() {
    grep -qF -- "$2" "$1" || e2e_fail "missing '$2' in $1"
}

e2e_expect_no_text() {
    if grep -qF -- "$2" "$1"; then e2e_fail "unexpected '$2' in $1"; fi
}

# Playing a map with the keys. e2e_play_probe <map> [names] appends to the copied map script a
# zone trigger over the whole level without "NoRefire", so its script runs every tick she is in
# the level and logs "Probe TICK X Y" with the top-left corner of her box. With names, the Lua
# read from standard input appends one number per name to the local table tMore each tick; they
# follow X and Y on the line, and the conditions below can use them by name. Call
# e2e_copy_game first.
e2e_play_probe() {
    E2E_PROBE_MORE="${2:-}"
    {
        echo 'giPlayProbeTick = (giPlayProbeTick or -1) + 1'
        echo 'local fX, fY = Player_GetPosition()'
        echo 'local tMore = {}'
        [ -z "$E2E_PROBE_MORE" ] || cat
        echo 'local sLine = string.format("Probe %d %.1f %.1f", giPlayProbeTick, fX, fY)'
        echo 'for _, fValue in ipairs(tMore) do sLine = sLine .. string.format(" %.1f", fValue) end'
        echo 'fnLog(sLine)'
    } > "$GAME_DIR/PlayProbe.lua"
    cat >> "$GAME_DIR/Data/Scripts/Maps/$1.lua" <<'LUA'
ZTrigger_Create("PlayProbe")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, -10000, -10000, 10000, 10000)
ZTrigger_SetProperty("CallData", "PlayProbe.lua")
DL_PopActiveEntity()
LUA
}

# e2e_probe: "TICK X Y" of the last probe line, and its named values after them.
e2e_probe() {
    awk '$1 == "Probe" { l = $0 } END { print substr(l, 7) }' "$LOG"
}

# The waits below read each probe line once, in order: E2E_SEEN is how many bytes of the log
# they have looked at, E2E_TICK the tick of the last probe line among them (-1 before the first)
# and E2E_LAST that line. A condition that holds for a single tick is seen however seldom a
# loaded machine lets them look. A condition is an awk expression on t, x, y and the probe's
# names.

# e2e_probe_names: the awk assignments that give the probe's named values, which follow the
# tick, X and Y on its line (fields 5 on of the split line f), their names.
e2e_probe_names() {
    local i=5 name
    for name in ${E2E_PROBE_MORE:-}; do printf ' %s = f[%d] + 0;' "$name" "$i"; i=$((i + 1)); done
}

# e2e_probe_check <condition>: takes every whole line written since the last look as seen (a
# line still being written waits for the next look) and returns 0 when the newest probe line
# among them, or the last one seen when no new one came, meets the condition.
e2e_probe_check() {
    local cond="$1" names size result
    names="$(e2e_probe_names)"
    size="$(stat -c %s "$LOG" 2>/dev/null)" || size=0
    [ "$size" -ge "$E2E_SEEN" ] || size="$E2E_SEEN"
    # The blank line and the mark after the new bytes tell awk where they end: the record before
    # the mark is empty when the last line is whole, and the part of one still being written
    # when not; either way it is left for the next look.
    result="$({ tail -c "+$((E2E_SEEN + 1))" "$LOG" 2>/dev/null | head -c "$((size - E2E_SEEN))"; printf '\n\001\n'; } |
        LC_ALL=C awk -v last="${E2E_LAST:-}" "
        \$0 == \"\\001\" { exit }
        { line[++count] = \$0 }
        END {
            if (count > 0) count--
            for (k = 1; k <= count; k++) {
                used += length(line[k]) + 1
                if (split(line[k], f, \" \") >= 4 && f[1] == \"Probe\") last = line[k]
            }
            n = split(last, f, \" \"); t = f[2] + 0; x = f[3] + 0; y = f[4] + 0;$names
            printf \"%d %d %d %s\\n\", used, n ? t : -1, (n && ($cond)) ? 1 : 0, last
        }")"
    local used tick hit
    read -r used tick hit E2E_LAST <<< "$result"
    E2E_SEEN=$((E2E_SEEN + ${used:-0}))
    E2E_TICK="${tick:--1}"
    [ "$hit" = 1 ]
}

# e2e_follow <ticks> <seconds> <condition>: the body of the waits below. One reader follows the
# log for the whole wait, so a loaded machine, which is slow to start processes, delays no look:
# tail hands awk each whole line as it is written, and awk hands on each probe line with the
# bytes read through it, its tick, whether it meets the condition and whether it was written
# after the call. The tick limit (none when 0) counts from the newest probe at the call.
e2e_follow() {
    local ticks="$1" cond="$2" limit="$3" names size fifo="$SCRATCH/follow.$$"
    names="$(e2e_probe_names)"
    size="$(stat -c %s "$LOG" 2>/dev/null)" || size=0
    rm -f "$fifo.lines" "$fifo.probes"
    mkfifo "$fifo.lines" "$fifo.probes" || e2e_fail "cannot make the reader's pipes"
    tail -c "+$((E2E_SEEN + 1))" -F --pid=$$ "$LOG" > "$fifo.lines" 2>/dev/null &
    local tail_pid=$!
    LC_ALL=C awk -W interactive -v old="$((size - E2E_SEEN))" "
        { used += length(\$0) + 1 }
        \$1 == \"Probe\" && NF >= 4 {
            n = split(\$0, f, \" \"); t = f[2] + 0; x = f[3] + 0; y = f[4] + 0;$names
            printf \"%d %d %d %d %s\\n\", used, t, (($cond) ? 1 : 0), (used > old ? 1 : 0), \$0; fflush()
        }" < "$fifo.lines" > "$fifo.probes" 2>/dev/null &
    local awk_pid=$! fd
    exec {fd}< "$fifo.probes"
    local guard=$((SECONDS + limit)) found=1 used=0 bytes tick hit new line start="" before=""
    local part pending=""
    while [ "$SECONDS" -lt "$guard" ]; do
        # A read that times out may have taken part of a line, which the next one completes.
        if ! IFS= read -r -t 0.5 -u "$fd" part; then
            pending="$pending$part"
            continue
        fi
        read -r bytes tick hit new line <<< "$pending$part"
        pending=""
        used="$bytes"; E2E_TICK="$tick"; E2E_LAST="$line"
        [ "$hit" = 1 ] && { found=0; break; }
        if [ "$new" = 0 ]; then before="$tick"; elif [ -z "$start" ]; then start="${before:-$tick}"; fi
        [ "$ticks" -gt 0 ] && [ -n "$start" ] && [ "$tick" -ge $((start + ticks)) ] && break
    done
    kill "$tail_pid" "$awk_pid" 2>/dev/null
    exec {fd}<&-
    wait "$tail_pid" "$awk_pid" 2>/dev/null
    rm -f "$fifo.lines" "$fifo.probes"
    E2E_SEEN=$((E2E_SEEN + used))
    return "$found"
}

# e2e_until <seconds> <condition>: waits until a probe line meets the condition (0 seconds: only
# whether the newest does); returns 1 when none does in time.
e2e_until() {
    [ "$1" -gt 0 ] || { e2e_probe_check "$2"; return; }
    e2e_follow 0 "$2" "$1"
}

# e2e_until_ticks <ticks> <condition>: the same, for at most the given number of game ticks from
# the call, whatever the machine's load makes of them in wall time (0 ticks: only whether the
# newest probe meets it). Every line since the last look is tested, those written before the
# call too. Should the game stop ticking, the wait ends after a minute or more all the same.
e2e_until_ticks() {
    [ "$1" -gt 0 ] || { e2e_probe_check "$2"; return; }
    e2e_follow "$1" "$2" $((60 + $1 / 10))
}

# e2e_ticks <ticks>: lets that many game ticks pass.
e2e_ticks() {
    e2e_until_ticks "$1" 0 || :
}

# e2e_hold <keys> <seconds> <condition>: holds the keys (blank-separated) until the condition
# of e2e_until holds, then lets go of them; fails the test when it never does. Keys whose
# condition already holds are not pressed.
e2e_hold() {
    e2e_hold_until e2e_until "$@"
}

# e2e_hold_ticks <keys> <ticks> <condition>: e2e_hold with its limit in game ticks, for a hold
# whose length decides where she ends up.
e2e_hold_ticks() {
    e2e_hold_until e2e_until_ticks "$@"
}

# e2e_hold_until <waiter> <keys> <limit> <condition>: the body of both holds.
e2e_hold_until() {
    local wait="$1" keys="$2" limit="$3" cond="$4" k found
    e2e_probe_check "$cond" && return 0
    for k in $keys; do xdotool keydown "$k"; done
    "$wait" "$limit" "$cond"
    found=$?
    for k in $keys; do xdotool keyup "$k"; done
    [ "$found" -eq 0 ] || e2e_fail "holding $keys never led to $cond (last probe: $(e2e_probe))"
}

# e2e_tap <key> [seconds]: presses a key for 80 ms (a tick or more, so the game sees it). Once a
# wait has read the probe, the key stays down until the game has run a few ticks more, so a
# loaded machine's late ticks cannot let the press fall between two of them.
e2e_tap() {
    xdotool keydown "$1"
    sleep 0.08
    [ "${E2E_TICK:--1}" -lt 0 ] || e2e_ticks 3
    xdotool keyup "$1"
    sleep "${2:-0.1}"
}

# e2e_release <key>: lets go of the key and lets the game tick with it up, so that a press right
# after is a fresh one (a jump takes only a fresh press), however long its ticks (slow motion's
# are a tenth of a second) or late its reading of the keys.
e2e_release() {
    xdotool keyup "$1"
    e2e_ticks 3
}

# Keys on screens that no probe watches. e2e_trace_controls turns on the control manager's trace
# in the copied configuration: each tick the log then shows "[ControlManager Begin Update]" and
# the state of every control as that tick read it ("State of Pause is 1").
e2e_trace_controls() {
    printf '\nOM_SetOption("Debug_ControlManager", true)\n' >> "$GAME_DIR/Configuration.lua"
}

e2e_mark_ticks() {
    E2E_MARK="$(wc -l < "$LOG")"
}

# e2e_control_ticks <ticks> [control state]: waits until the game has run that many ticks since
# e2e_mark_ticks, counted from the first tick that read the control in the state (1 held, 0 not)
# when one is given; a minute or more guards a stopped game.
e2e_control_ticks() {
    local guard=$((SECONDS + 60 + $1 / 10))
    until tail -n "+$((E2E_MARK + 1))" "$LOG" | awk -v n="$1" -v want="${2:+State of $2 is ${3:-1}}" '
        /\[ControlManager Begin Update\]$/ { if (seen && ++ticks >= n) { found = 1; exit } }
        want == "" || index($0, want) { seen = 1 }
        END { exit !found }'; do
        [ "$SECONDS" -lt "$guard" ] || e2e_fail "the game ran no $1 ticks${2:+ with $2 at ${3:-1}}"
        sleep 0.02
    done
}

# e2e_ticks_from_now <ticks>: lets that many ticks pass.
e2e_ticks_from_now() {
    e2e_mark_ticks
    e2e_control_ticks "$1"
}

# e2e_press <key> [control]: holds the key until a tick has read the control it works held, then
# lets go until a tick has read it let go: a loaded machine can delay a press, never lose it. A
# key that no control reads (one typed for a rebinding, which the game takes as it comes) is
# held for two ticks. Needs e2e_trace_controls.
e2e_press() {
    e2e_mark_ticks
    xdotool keydown "$1"
    if [ -n "${2:-}" ]; then e2e_control_ticks 1 "$2" 1; else e2e_control_ticks 2; fi
    e2e_mark_ticks
    xdotool keyup "$1"
    if [ -n "${2:-}" ]; then e2e_control_ticks 1 "$2" 0; else e2e_control_ticks 1; fi
}

# Slow motion: while F3 ("SlowDown" in the sample configuration) is held the game runs 10 ticks
# a second, so a key meant for a window of a few ticks finds it however the machine's load
# delays the driver. e2e_slow holds it, e2e_fast lets go.
e2e_slow() {
    xdotool keydown F3
}

e2e_fast() {
    xdotool keyup F3
}

# e2e_screenshot <window> <file>: a picture of the window (an id, or root) in the file; fails the
# test when none can be taken. KESTRA_E2E_SHOTS may name a folder that keeps a copy of each for a
# look. E2E_SHOT_STALL=<seconds> stalls the driver that long after each picture, as a loaded
# machine's slow screenshot would: a driver that still passes has no picture inside a window the
# game times in ticks.
e2e_screenshot() {
    import -window "$1" "$2" 2>/dev/null || e2e_fail "no screenshot $(basename "$2")"
    if [ -n "${KESTRA_E2E_SHOTS:-}" ]; then cp "$2" "$KESTRA_E2E_SHOTS/"; fi
    if [ -n "${E2E_SHOT_STALL:-}" ]; then sleep "$E2E_SHOT_STALL"; fi
}

# e2e_expect_thanks_page: the thanks page is up once its fade-in is over: its title, cream
# letters high on the page, fills a fair share of the view's top third. A loaded machine draws
# the fade slowly, so the view is looked at until the title shows or a minute has gone by.
e2e_expect_thanks_page() {
    local shot="$SCRATCH/thanks.png" cream=0 guard=$((SECONDS + 60))
    e2e_find_window
    while [ "$SECONDS" -lt "$guard" ]; do
        sleep 0.5
        e2e_screenshot "$WIN" "$shot"
        cream="$(convert "$shot" -crop 800x200+0+0 +repage -fx 'r > 0.9 && g > 0.88 && b > 0.7 && b < 0.85 ? 1 : 0' \
            -format '%[fx:int(mean * w * h)]' info:)"
        [ "$cream" -gt 2000 ] && return 0
    done
    e2e_fail "no thanks page after the goal ($cream cream pixels)"
}

# e2e_hold_for_line <keys> <text> <seconds> <what>: holds the keys until the text appears in
# the log, then lets go; fails with "<what>" when it never does.
e2e_hold_for_line() {
    local k found
    for k in $1; do xdotool keydown "$k"; done
    e2e_wait_for "$LOG" "$2" "$3"
    found=$?
    for k in $1; do xdotool keyup "$k"; done
    [ "$found" -eq 0 ] || e2e_fail "$4 (last probe: $(e2e_probe))"
}

# e2e_beat_warden: facing the Warden along the floor, she fires half-charged shots (a press
# fires a small one, the release after 40 ticks of charge a bigger one) until it falls and its
# map opens the goal. The charge is counted in ticks, so a loaded machine fires the same shots.
e2e_beat_warden() {
    for _ in $(seq 100); do
        grep -qF "Warden defeated" "$LOG" && break
        xdotool keydown x; e2e_ticks 40; xdotool keyup x; e2e_ticks 3
    done
    e2e_wait_for "$LOG" "Stage: Warden beaten, the goal is open" 30 || e2e_fail "the Warden was not beaten"
}

# e2e_finish_right <map title>: she runs right to the goal, the thanks page comes up, and the
# game ends cleanly.
e2e_finish_right() {
    e2e_hold_for_line "Right" "Stage: goal reached" 60 "the goal did not end the map"
    e2e_expect_thanks_page
    e2e_stop TERM
    [ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
    echo "PASS: $1 was finished with the keys and the thanks page came up"
}
