-- FirstSteps.lua
-- Set-up of the training ground. Runs when the map is entered from another map or from the
-- menus; reloading the map after a death keeps what this made. The map's one argument is -2.
--
-- The ground, left to right (16-unit tiles, the floor's top at y = 448):
--   x 16..64     a pocket between the wall and a pillar, spikes on its floor: wall-kick out
--   x 96..128    the start
--   x 128..192   a slope up to a step (top at y = 416) below the plateau's face
--   x 192..288   the plateau (top at y = 384): iced over, with a breeze blowing toward its cliff
--                edge, and a sign that says so
--   x 288..448   the lower floor with the signpost, a floating ledge above it, the ladder at
--                x 416..432 up to the ledge on the right (y = 224), where the goal stands
--   x 448..496   a pit down to the level's bottom edge, spikes at the bottom

-- Kestra teleports in on the flat stretch between the pillar and the slope. The start is the
-- top-left of her 19 by 52 box; the teleport drops her onto the floor below it.
MapM_SetPlayerStart(100, 390, 0)

-- The checkpoint at the foot of the cliff: touch it once and a death brings her back here.
-- The camera comes back to the lower right corner of the level (its view is 480 by 360).
fnPlaceCheckpoint("CliffFoot", {296, 384, 40, 64}, {292, 390}, {32, 152})

-- Spikes in the pocket left of the pillar. They sting rather than kill; the invulnerability
-- after a hit gives her time to kick off the walls.
DamageZone_Create("PocketSpikes")
DamageZone_SetProperty("Rectangle", 16, 436, 64, 448)
DamageZone_SetProperty("DamageToPlayer", 3)
DL_PopActiveEntity()

-- The pit right of the ladder. A death pit kills whatever her health, but only once her box's
-- top has sunk below the zone's top. Standing on the floor her top is at y = 396, so she can
-- walk to the rim and lean over it; once her feet are some 36 units down the pit, she is lost.
DamageZone_Create("RightPit")
DamageZone_SetProperty("Rectangle", 448, 432, 496, 520)
DamageZone_SetProperty("IsDeathPit", true)
DL_PopActiveEntity()

-- The ladder in column 26 runs from the floor up to the ledge on the right; its top, at
-- y = 224, is a floor for anyone standing on it.
Ladder_Create("FirstStepsLadder", 416, 224, 432, 448)

-- The plateau is iced (its tiles are drawn as ice): a low slide amount makes her slow to get going and slow to stop.
Slide_Create("PlateauIce", 192, 340, 288, 388, 0.15)

-- A breeze over the plateau pushes toward the cliff; standing still on the ice she drifts
-- off the edge, running into it she is slowed.
Push_Create("PlateauBreeze", 192, 280, 288, 384, 0.5, 0)

-- The ice runs down the cliff face: no wall slide or wall kick on it.
Slip_Create("CliffIce", 284, 384, 300, 448)

-- Two easy enemies, both met from the step below the plateau, where her buster flies at their
-- height: a Driftbell drifting to and fro over the plateau's near end, and a Crawler pacing the
-- plateau. One shot ends the first; the second takes three.
Enemy_Create("PlateauDriftbell", gsEnemyScripts .. "Jellyfish/CConstructor.lua", "200", "362", "40")
DL_PopActiveEntity()
Enemy_Create("PlateauCrawler", gsEnemyScripts .. "Tick/CConstructor.lua", "232", "368", "Rust", "24")
DL_PopActiveEntity()

-- The plateau's cliff edge and the floating ledge: points a test can read back.
fnLog(string.format("FirstSteps: floor solid %s, air free %s",
    tostring(MapM_GetWorldClip(100, 460)), tostring(not MapM_GetWorldClip(100, 300))))

-- Scenery behind the level: a still sky, far hills that drift slowly against the camera and
-- near bushes along the floor. The pictures are loaded once a run; the packs go with the map.
fnLayBackdrops({
    {"FirstStepsSky", "Sky", 0, 0, 512, 512, 8, 1, -0.95},
    {"FirstStepsHills", "Hills", -64, 250, 576, 400, 3, 1, -0.9},
    {"FirstStepsBushes", "Bushes", 0, 330, 512, 460, 4, 1, -0.85},
})

-- Stepping onto the plateau greets her once per visit; reaching the ladder starts the music.
ZTrigger_Create("PlateauGreeting")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 192, 330, 288, 384)
ZTrigger_SetProperty("CallData", gsScriptRoot .. "Maps/FirstSteps/Greeting.lua", 1)
ZTrigger_SetProperty("NoRefire", true)
DL_PopActiveEntity()

ZTrigger_Create("LadderMusic")
ZTrigger_SetProperty("HitboxesTotal", 2)
ZTrigger_SetProperty("Hitbox", 0, 400, 224, 448, 448)
ZTrigger_SetProperty("Hitbox", 1, 432, 180, 500, 224)
ZTrigger_SetProperty("CallData", gsScriptRoot .. "Maps/FirstSteps/Music.lua")
ZTrigger_SetProperty("NoRefire", true)
DL_PopActiveEntity()

-- Water fills the pit right of the ladder, tiled from its surface to the level's bottom edge
-- by the water override.
fnLayWater("PitWater", 448, 470, 496, 499)

-- The signpost on the lower floor: passing it puts its dialogue in the console, where its
-- board says to read it (the key left of 1 opens the console; Up, Down and Tab answer).
ZTrigger_Create("SignpostZone")
ZTrigger_SetProperty("HitboxesTotal", 1)
ZTrigger_SetProperty("Hitbox", 0, 330, 396, 362, 448)
ZTrigger_SetProperty("CallData", gsScriptRoot .. "Dialogue/Signpost.lua")
ZTrigger_SetProperty("NoRefire", true)
DL_PopActiveEntity()

-- The goal stands on the ledge at the ladder's top.
fnPlaceGoal(470, 224)
