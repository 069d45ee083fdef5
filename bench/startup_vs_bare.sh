#!/usr/bin/env bash
# Runs a bare Allegro program (bench/bare_allegro.c) and the game side by side, several rounds
# in one batch on one X server, and prints the medians and the game's ratios to the bare one:
#   ready ms     launch to the ready line on standard error ("bare: first frame" for the bare
#                program, "[Post Process] Complete" for the game)
#   exit ms      SIGTERM to the process's end
#   peak RSS MB  VmHWM just before SIGTERM
#   CPU          CPU seconds per wall second after the ready line settles (all threads)
# The game runs twice a round: on the title, and sent to the sample map with -skipto.
#
# usage: bench/startup_vs_bare.sh [-r rounds] [-b build dir] [-d display] [-m map] [-s seconds]
# Without -d it starts its own Xvfb, so a desktop or another run does not share the server.
set -u
top="$(cd "$(dirname "$0")/.." && pwd)"
rounds=5
build="$top/build"
display=""
map="FirstSteps"
window=3
while getopts "r:b:d:m:s:h" opt; do
    case "$opt" in
        r) rounds="$OPTARG" ;;
        b) build="$OPTARG" ;;
        d) display="$OPTARG" ;;
        m) map="$OPTARG" ;;
        s) window="$OPTARG" ;;
        *) sed -n '2,13p' "$0"; exit 2 ;;
    esac
done
game="$build/kestra"
[ -x "$game" ] || { echo "no game binary at $game (build first)" >&2; exit 1; }
[ -f "$top/game/Data/Maps/$map.slf" ] || { echo "no map $map in game/Data/Maps (build first)" >&2; exit 1; }

scratch="$(mktemp -d)"
xvfb_pid=""
run_pid=""
cleanup() {
    [ -n "$run_pid" ] && kill -KILL "$run_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

bare="$scratch/bare_allegro"
# shellcheck disable=SC2046
cc -O2 -o "$bare" "$top/bench/bare_allegro.c" $(pkg-config --cflags --libs allegro-5) \
    || { echo "cannot build the bare program" >&2; exit 1; }

if [ -n "$display" ]; then
    export DISPLAY="$display"
else
    : > "$scratch/displayfd"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/displayfd" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        n="$(tr -dc '0-9' < "$scratch/displayfd")"
        [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
        n=""
        sleep 0.1
    done
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$n"
fi
xdpyinfo >/dev/null 2>&1 || { echo "display $DISPLAY does not answer" >&2; exit 1; }

ticks="$(getconf CLK_TCK)"
now_us() { local t="${EPOCHREALTIME/./}"; echo "${t#0}"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }

# measure <name> <ready line> <command...>: one run; appends "ready exit rss cpu" to
# $scratch/<name>. The command runs from game/ with its output read by a helper that stamps the
# ready line the moment it arrives.
measure() {
    local name="$1" marker="$2"; shift 2
    local fifo="$scratch/fifo" stamp="$scratch/ready" t0 t1 t2 t3 c0 c1 w0 w1 rss
    rm -f "$fifo" "$stamp" "$scratch/run.log"
    mkfifo "$fifo"
    (
        while IFS= read -r line; do
            echo "$line" >> "$scratch/run.log"
            if [[ "$line" == *"$marker"* ]] && [ ! -e "$stamp" ]; then
                t="${EPOCHREALTIME/./}"
                echo "${t#0}" > "$stamp.tmp" && mv "$stamp.tmp" "$stamp"
            fi
        done < "$fifo"
    ) &
    local reader=$!
    t0="$(now_us)"
    (cd "$top/game" && exec "$@") > "$fifo" 2>&1 &
    run_pid=$!
    for _ in $(seq 3000); do
        [ -e "$stamp" ] && break
        kill -0 "$run_pid" 2>/dev/null || break
        sleep 0.01
    done
    if [ ! -e "$stamp" ]; then
        kill -KILL "$run_pid" 2>/dev/null
        wait "$run_pid" 2>/dev/null
        local status=$?
        run_pid=""
        wait "$reader"
        echo "$name: no '$marker' line (exit status $status); the run's last lines:" >&2
        tail -n 15 "$scratch/run.log" >&2
        return 1
    fi
    t1="$(cat "$stamp")"
    sleep 1
    c0="$(cpu_ticks "$run_pid")"; w0="$(now_us)"
    sleep "$window"
    c1="$(cpu_ticks "$run_pid")"; w1="$(now_us)"
    rss="$(awk '/^VmHWM:/ { print $2 }' "/proc/$run_pid/status")"
    t2="$(now_us)"
    kill -TERM "$run_pid"
    wait "$run_pid"
    t3="$(now_us)"
    run_pid=""
    wait "$reader"
    awk -v r=$((t1 - t0)) -v e=$((t3 - t2)) -v m="$rss" -v c=$((c1 - c0)) -v w=$((w1 - w0)) -v k="$ticks" \
        'BEGIN { printf "%.1f %.1f %.1f %.3f\n", r / 1000, e / 1000, m / 1024, (c / k) / (w / 1e6) }' >> "$scratch/$name"
}

echo "display $DISPLAY, $rounds rounds, CPU over ${window}s" >&2
for round in $(seq "$rounds"); do
    measure bare "bare: first frame" "$bare" || exit 1
    measure title "[Post Process] Complete" "$game" || exit 1
    measure map "[Post Process] Complete" "$game" -skipto "$map" || exit 1
    echo "round $round done" >&2
done

# Column medians of each run's file, then the table with the ratios to the bare program.
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A med
for name in bare title map; do
    for col in 1 2 3 4; do
        med[$name,$col]="$(awk -v c=$col '{ print $c }' "$scratch/$name" | median)"
    done
done
printf "%-22s %10s %10s %10s %12s %12s\n" "median of $rounds" "bare" "title" "map" "title/bare" "map/bare"
row() {
    local label="$1" col="$2" ratio="$3"
    local b="${med[bare,$col]}" t="${med[title,$col]}" m="${med[map,$col]}" rt="-" rm="-"
    if [ "$ratio" = 1 ]; then
        rt="$(awk -v a="$t" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
        rm="$(awk -v a="$m" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
    fi
    printf "%-22s %10s %10s %10s %12s %12s\n" "$label" "$b" "$t" "$m" "$rt" "$rm"
}
row "start to ready (ms)" 1 1
row "SIGTERM to exit (ms)" 2 1
row "peak RSS (MB)" 3 1
# The bare program sleeps after its frame: its CPU is only the idle floor, not a ratio's base.
row "CPU (cores)" 4 0
