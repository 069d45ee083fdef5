-- Hollow.lua
-- Set-up of the Hollow, the sample enemies' cave. Its enemies come from the map's spawn list
-- (the map loader makes a spawn point of each record); this script adds the start, an outline
-- of the Warden's arena for the hitbox view, a second Driftbell and two skeletal-puppet enemies
-- placed by script-made spawn points, a Crawler on its step, a checkpoint, and the Warden,
-- who wakes as she drops into its arena; beating it raises the goal at the arena's far end.
--
-- Left to right (16-unit tiles, the floor's top at y = 448):
--   x 16..592     the start and a floating ledge (x 320..432, y 352)
--   x 592..800    a block with slopes on both sides (top at y = 400), the checkpoint
--   x 800..1088   open cave: a hive under the ceiling, a sentinel hanging at the block's
--                 foot, clear of the goblin's patrol (x 912..1040) so that its eye and its
--                 shots are seen, a crawler on a step (x 880..928, top at y = 416)
--   x 1088..1120  a pillar, climbed from the ledge left of it (y = 384)
--   x 1120..1520  the Warden's arena, the goal at its far end once the Warden is beaten

MapM_SetPlayerStart(64, 390, 0)

-- The arena's outline, drawn only while "ShowHitboxes" is on.
PTrigger_Create("WardenArena")
PTrigger_SetProperty("Hitbox", 1120, 32, 1520, 448)
DL_PopActiveEntity()

-- Spawn points set up by hand, each with a 23-unit box at the enemy's top-left: the view
-- creates the enemy as it comes near, and again once it is gone and the view has left and
-- come back; a death keeps the points and brings their enemies back.
local function fnScriptSpawn(sName, sConstructor, fX, fY)
    SpawnManager_AddSpawn("EnemySpawnPoint")
    PTrigger_SetProperty("Hitbox", fX, fY, fX + 23, fY + 23)
    RE_DefineData("EnemyName", "S", sName)
    RE_DefineData("PathToConstructorScript", "S", sConstructor)
    RE_DefineData("SpawnPositionX", "N", fX)
    RE_DefineData("SpawnPositionY", "N", fY)
    RE_DefineData("CanRespawn", "N", 1)
    DL_PopActiveEntity()
end

-- A Driftbell over the floating ledge, come as the view turns back once Kestra has gone on.
fnScriptSpawn("LedgeDriftbell", gsEnemyScripts .. "Jellyfish/CConstructor.lua", 380, 300)

-- Three in the open cave: a goblin on patrol, a dragon tank holding the way to the pillar
-- (both skeletal puppets), and a Crawler kept to its step, which puts it at the height of her
-- buster as she comes. The puppets come as she walks down the block, on the one way to the
-- arena, so every visit meets them.
fnScriptSpawn("CaveGoblin", gsEnemyScripts .. "Goblin/CConstructor.lua", 960, 384)
fnScriptSpawn("CaveDragonTank", gsEnemyScripts .. "DragonTank/CConstructor.lua", 1030, 400)
fnScriptSpawn("StepCrawler", gsScriptRoot .. "Maps/Hollow/StepCrawler.lua", 888, 400)

-- The checkpoint on the block's top: a death after it brings her back there, not to the start.
fnPlaceCheckpoint("BlockTop", {640, 336, 112, 64}, {688, 340}, {448, 152})

-- The Warden wakes as she comes over the pillar, and the camera holds the arena while it
-- fights (see Stage/Setup.lua).
fnStageBoss({sName = "Warden", sKind = "GreatBlight", fX = 1440, fY = 388,
             faWake = {1136, 32, 1520, 448}, faView = {1056, 152, 1536, 512}, faLevel = {0, 0, 1536, 512},
             fGoalX = 1490, fGoalY = 448})

-- Behind the cave: its still back wall, stalactites drifting at a third of the map's pace and
-- boulders along the floor at five eighths.
fnLayBackdrops({
    {"HollowWall", "CaveWall", 0, 0, 1536, 512, 24, 1, -0.95},
    {"HollowStalactites", "CaveStalactites", 0, 16, 3072, 240, 4, 1, -0.9},
    {"HollowBoulders", "CaveBoulders", 0, 330, 2048, 458, 10, 1, -0.85},
})

fnLog("Hollow: ready")
