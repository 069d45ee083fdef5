# The Hollow and ForgeGate lay their background packs: with Kestra at the start, the air above
# the floor shows the packs' pictures, not the bare black behind the map.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
for map in Hollow ForgeGate; do
    [ -f "$GAME_DIR/Data/Maps/$map.slf" ] || e2e_fail "$map was not built"
    e2e_start "$SCRATCH/$map.log" -skipto "$map"
    e2e_wait_for "$LOG" "$map: " 30 || e2e_fail "$map did not load"
    e2e_find_window
    sleep 2
    e2e_screenshot "$WIN" "$SCRATCH/$map.png"
    e2e_stop TERM
    [ "$STATUS" -eq 0 ] || e2e_fail "$map: exit status $STATUS"
    # The air right of the health bar, above the floor: count its black pixels.
    black="$(convert "$SCRATCH/$map.png" -crop 500x300+200+40 +repage txt:- |
        awk 'NR > 1 && $3 == "#000000" { n++ } END { print n + 0 }')"
    [ "$black" -lt 1500 ] || e2e_fail "$map: $black of 150000 pixels of its air are bare black"
done
echo "PASS: the Hollow and ForgeGate draw their backdrops"
