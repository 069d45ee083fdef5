# The game started with "-plinkard" connects to our peer on port 6012: they trade names, the
# peer receives an enemies report every tick, and the peer's close packet ends the link while
# the game plays on. F4 ("ConnectToPlinkard" in the sample configuration) links up again, and
# quitting the game ends the link cleanly.
#
# The game's port is fixed, so the driver runs in a network namespace of its own where one
# is allowed, and parallel runs cannot meet on the port.
if [ -z "${KESTRA_E2E_NETNS:-}" ] && unshare -n true 2>/dev/null; then
    KESTRA_E2E_NETNS=inside exec unshare -n bash "$0" "$@"
fi
[ "${KESTRA_E2E_NETNS:-}" = inside ] && ip link set lo up

. "$(dirname "$0")/lib.sh"
e2e_init "$@"
PEER="$(dirname "$KESTRA")/plinkpeer"
[ -x "$PEER" ] || e2e_fail "no peer at $PEER"

PEER_OUT="$SCRATCH/peer.out"
mkfifo "$SCRATCH/peer.in"
# The fifo stays open for writing for the whole run, so the peer's input never ends early.
exec 7<>"$SCRATCH/peer.in"
"$PEER" < "$SCRATCH/peer.in" > "$PEER_OUT" 2> "$SCRATCH/peer.err" &
PEER_PID=$!
trap 'kill "$PEER_PID" 2>/dev/null; e2e_cleanup' EXIT
e2e_wait_for "$PEER_OUT" "listening on port 6012" 60 || { cat "$SCRATCH/peer.err" >&2; e2e_fail "the peer could not listen"; }

e2e_start "$SCRATCH/game.log" -skipto FirstSteps -plinkard -logfps
LOG_GAME="$LOG"
LOG="$PEER_OUT"
e2e_wait_for "$PEER_OUT" "game connected" 30 || e2e_fail "the game never connected"
# A second of play: one report a tick.
reports() { grep -cE '^recv type=4 length=42 name="Enemies" count=[0-9]+$' "$PEER_OUT"; }
for _ in $(seq 300); do
    [ "$(reports)" -ge 60 ] && break
    sleep 0.1
done
[ "$(reports)" -ge 60 ] || e2e_fail "the peer never got 60 reports"
echo close >&7
e2e_wait_for "$PEER_OUT" "game left" 60 || e2e_fail "the close packet did not end the link"
e2e_expect_lines "$PEER_OUT" \
    "game connected" \
    "recv type=2 length=26 text=\"Requesting handshake\"" \
    "sent type=3 length=14" \
    "sent type=1 length=6" \
    "game left"
e2e_expect_text "$PEER_OUT" "recv type=3 length=13 text=\"Brontel\""
grep 'recv type=' "$PEER_OUT" | grep -vqE 'type=4 length=42 name="Enemies" count=[0-9]+$|type=2 length=26|type=3 length=13' \
    && e2e_fail "a packet the game should not send"

LOG="$LOG_GAME"
e2e_expect_lines "$LOG_GAME" \
    "Socket is connecting..." \
    "Client connected to server!" \
    "Sent identification packet request" \
    "Connecter has identified itself as Plinkard"
e2e_expect_no_text "$LOG_GAME" "Error when"

# The game goes on without the link and does not come back by itself.
fps_before="$(grep -c '^FPS: ' "$LOG_GAME")"
sleep 2.5
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended with the link"
fps_after="$(grep -c '^FPS: ' "$LOG_GAME")"
[ "$fps_after" -gt "$fps_before" ] || e2e_fail "the game stopped running after the link closed"
[ "$(grep -cx 'game connected' "$PEER_OUT")" -eq 1 ] || e2e_fail "the game reconnected unasked"

# F4 asks for the link again. It is held until the peer sees the game, so a loaded machine's
# late tick cannot let the press fall between two ticks.
e2e_focus_window
xdotool keydown F4
LOG="$PEER_OUT"
for _ in $(seq 300); do
    [ "$(grep -cx 'game connected' "$PEER_OUT")" -ge 2 ] && break
    sleep 0.1
done
xdotool keyup F4
[ "$(grep -cx 'game connected' "$PEER_OUT")" -eq 2 ] || e2e_fail "F4 did not connect again"

# Reports from the peer's side reach the game too; quitting closes the link.
echo "send 9 hello" >&7
LOG="$LOG_GAME"
e2e_wait_for "$LOG_GAME" " Contents: hello" 60 || e2e_fail "the game did not read the peer's packet"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"
LOG="$PEER_OUT"
for _ in $(seq 50); do
    [ "$(grep -cx 'game left' "$PEER_OUT")" -ge 2 ] && break
    sleep 0.1
done
[ "$(grep -cx 'game left' "$PEER_OUT")" -eq 2 ] || e2e_fail "quitting did not end the link"
echo "PASS: the music-tool link reports to the peer and survives its close"
