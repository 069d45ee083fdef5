#!/usr/bin/env bash
# Rebuilds the seed corpora of the fuzz targets from the sample game's content, cut down so that
# the fuzzer mutates small inputs:
#     fuzz/make_seeds.sh BUILD_DIR        (a normal tree in which genlevelart and slfpack are built)
# It rewrites only the seeds it makes (seed-*); inputs kept from earlier failures (crash-*,
# leak-*, timeout-*, oom-*) and seeds added by hand stay.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
corpus="$top/fuzz/corpus"
game="$top/game"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for reader in lumpfile mapfile imagelump rebind console slfmanifest scriptpack; do
  mkdir -p "$corpus/$reader"
  rm -f "$corpus/$reader"/seed-*
done

# A First Steps in miniature: 2 by 1 chunks of 16 units, 4-unit tiles, with a ladder, a ledge, a
# slope and spikes, and the spawn lump a map carries.
cat > "$work/Layout.txt" <<'LAYOUT'
grid 2 1 16 4
prefixes LA LB CL
level 1 "First Steps"
tiles
########
#..H.=.#
#/#H..^#
########
end
LAYOUT
"$build/genlevelart" "$work/Layout.txt" "$work/map" > /dev/null
cp "$work/map/Map.slfm" "$work/map/MapSpawns.slfm"
printf 'spawns BSpawnInfo\nFlamingo 12 4\nBusterFull 20 8\nend\n' >> "$work/map/MapSpawns.slfm"
"$build/slfpack" "$work/map/Map.slfm" "$corpus/mapfile/seed-firststeps.slf"
"$build/slfpack" "$work/map/MapSpawns.slfm" "$corpus/mapfile/seed-firststeps-spawns.slf"
printf 'header "Kestra map"\nmapinfo AMapInfo 2\n' > "$work/Other.slfm"
"$build/slfpack" "$work/Other.slfm" "$corpus/mapfile/seed-othertype.slf"

# Kestra's sprite pack with one frame cut to 8 by 8, her palette, and two scripts as a pack.
convert "$game/Data/Graphics/Generated/Kestra/Idle0.png" -crop 8x8+12+12 +repage "$work/Idle0.png"
{
  echo 'header "Kestra sprites"'
  echo 'image Idle0 Idle0.png 0 0 7 7 0 0 3 3'
  sed -n '/^palette/,/^end/p' "$game/Data/Sources/Kestra.manifest"
} > "$work/Sprites.slfm"
"$build/slfpack" "$work/Sprites.slfm" "$corpus/lumpfile/seed-sprites.slf"
cp "$game/Data/Scripts/SetupFuncs.lua" "$game/Data/Scripts/Maps/FirstSteps.lua" "$work/"
printf 'header "Kestra scripts"\nscript SetupFuncs.lua SetupFuncs.lua\nscript Maps/FirstSteps.lua FirstSteps.lua\n' > "$work/Scripts.slfm"
"$build/slfpack" "$work/Scripts.slfm" "$corpus/lumpfile/seed-scripts.slf"
cp "$corpus/mapfile/seed-firststeps-spawns.slf" "$corpus/lumpfile/seed-firststeps-spawns.slf"
cp "$corpus/lumpfile/seed-scripts.slf" "$corpus/scriptpack/seed-scripts.slf"

# The image fuzzer takes the body of one IMAGE lump (what follows its 10-byte tag).
python3 - "$corpus/imagelump" "$corpus/lumpfile/seed-sprites.slf" "$corpus/mapfile/seed-firststeps.slf" <<'PY'
import struct, sys
out = sys.argv[1]
for path in sys.argv[2:]:
    data = open(path, 'rb').read()
    count = struct.unpack_from('<I', data, 16)[0]
    at, entries = 20, []
    for _ in range(count):
        n = data[at]; name = data[at + 1:at + 1 + n].decode(); at += 1 + n
        pos = struct.unpack_from('<I', data, at)[0]; at += 8
        entries.append((pos, name))
    entries.sort()
    for i, (pos, name) in enumerate(entries):
        end = entries[i + 1][0] if i + 1 < len(entries) else len(data)
        if data[pos:pos + 5] == b'IMAGE':
            open('%s/seed-%s' % (out, name), 'wb').write(data[pos + 10:end])
PY

# Damaged on purpose, the ways a picture once loaded without a word: a frame count that runs
# into the next lump (Idle0 lies before the palette), and a full height no map could hold.
python3 - "$corpus" <<'PY'
import struct, sys
corpus = sys.argv[1]
data = bytearray(open(corpus + '/lumpfile/seed-sprites.slf', 'rb').read())
count = struct.unpack_from('<I', data, 16)[0]
at, where = 20, {}
for _ in range(count):
    n = data[at]; name = data[at + 1:at + 1 + n].decode(); at += 1 + n
    where[name] = struct.unpack_from('<I', data, at)[0]; at += 8
body = where['Idle0'] + 10
size = struct.unpack_from('<i', data, body + 25)[0]
data[body + 29 + size] = 5
open(corpus + '/lumpfile/seed-frames-past-lump.slf', 'wb').write(data)
image = bytearray(open(corpus + '/imagelump/seed-Idle0', 'rb').read())
struct.pack_into('<i', image, 5, 0x7fffffff)
open(corpus + '/imagelump/seed-Idle0-tall', 'wb').write(image)
PY

# The control-binding texts: control, first set and second set, one a line; a missing line is
# nil. The sample configuration's bindings and one of each kind of set.
i=0
for line in 'CloseGame\nKEY59' 'ToggleHitboxes\nKEY47' 'Console\nKEY60' 'Jump\nKEY26\nJOYBTN3' \
    'Shoot\nMOS1\nJOYBTN12' 'Left\nJOYSTK_0_0_N\nJOYSTK_1_2_P' 'Dash\nNULL\nKEY' 'Pause\nMOS\nJOY'; do
  printf "$line" > "$corpus/rebind/seed-$i"; i=$((i + 1))
done

# Console command lines, as typed.
i=0
while IFS= read -r line; do
  printf '%s' "$line" > "$corpus/console/seed-$i"; i=$((i + 1))
done <<'LINES'
LM_Execute "gnCount = (gnCount or 0) + 1"
LM "LM_NewMacro(\"Warp\", \"gsWarp = 1\")"
LM_Call "Warp"
/Warp
LM_Execute "print(\"a \\\"quoted\\\" word\")"
Unknown command with   blanks
LM_Call
LINES

# slfpack manifests; the fuzzer offers the files Pic.png (2 by 2) and Script.lua beside them.
cat > "$corpus/slfmanifest/seed-sprites" <<'MANIFEST'
# Kestra's sprite pack
header "Kestra sprites"
image Idle0 Pic.png 0 0 1 1
trimmed Ready Pic.png
script Maps/FirstSteps.lua Script.lua
MANIFEST
sed -n '/^palette/,/^end/p' "$game/Data/Sources/Kestra.manifest" >> "$corpus/slfmanifest/seed-sprites"
sed -e 's#chunks/[A-Z0-9]*\.png#Pic.png#' "$work/map/MapSpawns.slfm" > "$corpus/slfmanifest/seed-map"
ls "$corpus"/*/seed-* | wc -l | xargs echo "seeds written:"
