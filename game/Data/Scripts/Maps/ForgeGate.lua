-- ForgeGate.lua
-- Set-up of the forge: a mech in its bay by the start, a pit crossed on moving platforms, a
-- gallery, the boss door under the wall at x 1056, and the Warden beyond it. Runs when the map
-- is entered from another map or from the menus; a reload after a death keeps what this made.
--
-- The ground (16-unit tiles, the floor's top at y = 448):
--   x 16..80      the mech's bay: a shelf against the left wall, top at y = 384
--   x 80..336     the start, with a sign pointing to the mech
--   x 336..720    the pit, spiked at the bottom: only the platforms cross it
--   x 720..1056   the gallery up to the boss door, a checkpoint at its start
--   x 1104..1520  the boss room beyond the door, the goal at its far end once the Warden falls

local sHere = gsScriptRoot .. "Maps/ForgeGate/"

-- The mech stands on its shelf, where only a jump up to it boards it: nothing on the floor, a
-- knock-back included, can push her into it. It is placed with the player's start, so its
-- place comes first.
MapM_SetZererozezLocation(32, 317)
MapM_SetPlayerStart(110, 390, 0)

-- The spikes on the pit's floor kill. A death pit takes her once her box's top has sunk below
-- the zone's top, and the rock under the spikes (its top at y 496) stops her box there: the
-- zone's top is set so that she dies as her feet come within four units of the teeth's tips
-- (y 484), and in the mech, whose box is 15 units taller, as it lands among them. Lower, she
-- would stand on the spikes unharmed and jump from there onto the platforms. The rock row keeps
-- the teeth off the view's bottom edge, where the build caption stands.
DamageZone_Create("ForgePit")
DamageZone_SetProperty("Rectangle", 336, 428, 720, 520)
DamageZone_SetProperty("IsDeathPit", true)
DL_PopActiveEntity()

-- The Gloomwing over the pit comes for her as she nears the rim, at the height of her buster.
-- It comes once a visit (CanRespawn 0), and again only after she has died: waiting at the rim
-- for the swinging platform, she must not be knocked about by one bat after another, as she
-- would be by a point that sends a new one whenever the view swings back over it.
SpawnManager_AddSpawn("EnemySpawnPoint")
PTrigger_SetProperty("Hitbox", 520, 180, 560, 220)
RE_DefineData("EnemyName", "S", "PitGloomwing")
RE_DefineData("PathToConstructorScript", "S", gsEnemyScripts .. "Bat/CConstructor.lua")
RE_DefineData("SpawnPositionX", "N", 520)
RE_DefineData("SpawnPositionY", "N", 180)
RE_DefineData("CanRespawn", "N", 0)
DL_PopActiveEntity()

-- Two platforms take her over the pit: the first swings back and forth level with the floor,
-- the second rides a slanted line up to the far side and back. They keep time, half a swing
-- apart: when the first is furthest out, the second hangs level beside it, so she can walk
-- from one to the other, and then carries her up and over to the far side. Each runs Platform.lua
-- every tick, which reads its path from the entity's data.
local function fnPlatform(sName, fX, fY, fAmpX, fAmpY, fPeriod)
    MovingContainer_Create(sName)
    Proj_SetProperty("Dimensions", 0, 0, 64, 16)
    Proj_SetProperty("Position", fX, fY)
    RE_DefineData("fTick", "N", 0)
    RE_DefineData("fX0", "N", fX)
    RE_DefineData("fY0", "N", fY)
    RE_DefineData("fAmpX", "N", fAmpX)
    RE_DefineData("fAmpY", "N", fAmpY)
    RE_DefineData("fPeriod", "N", fPeriod)
    Proj_SetProperty("LogicScript", sHere .. "Platform.lua")
    Proj_SetProperty("AnimationLibraryPath", "Root/Animations/Sprites/Platform/Deck")
    DL_PopActiveEntity()
end
fnPlatform("SwingPlatform", 416, 448, 70, 0, 240)
fnPlatform("LoopPlatform", 588, 420, -60, -28, 240)

-- The boss door: she must stand wholly inside its trigger, right against the door, to set it
-- off. The camera shows the gallery's end, pans to the boss room, and the door closes behind.
Door_Create("ForgeDoor")
Door_SetProperty("RenderPos", 1056, 376)
Door_SetProperty("Hitbox", 1028, 380, 28, 68)
Door_SetProperty("StartCamera", 816, 152)
Door_SetProperty("EndCamera", 1056, 152)
Door_SetProperty("PostExecScript", sHere .. "DoorPassed.lua")
DL_PopActiveEntity()

-- Behind the forge: the furnace glow, smokestacks at a third of the map's pace and girders at
-- five eighths.
fnLayBackdrops({
    {"ForgeGateGlow", "ForgeGlow", 0, 0, 1536, 512, 24, 1, -0.95},
    {"ForgeGateStacks", "ForgeStacks", 0, 260, 3072, 452, 4, 1, -0.9},
    {"ForgeGateGirders", "ForgeGirders", 0, 330, 2048, 458, 10, 1, -0.85},
})

-- The checkpoint at the gallery's start: a death after the pit brings her back there.
fnPlaceCheckpoint("Gallery", {736, 384, 48, 64}, {744, 390}, {520, 152})

-- The Warden wakes as she comes through the door, and the camera holds the boss room while it
-- fights (see Stage/Setup.lua). The door stays shut behind her; the goal is in the room.
fnStageBoss({sName = "Warden", sKind = "GreatBlight", fX = 1440, fY = 388,
             faWake = {1120, 32, 1520, 448}, faView = {1056, 152, 1536, 512}, faLevel = {0, 0, 1536, 512},
             fGoalX = 1490, fGoalY = 448})

fnLog("ForgeGate: mech bay, two platforms and the boss door are set")
