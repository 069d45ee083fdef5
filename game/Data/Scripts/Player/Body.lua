-- Player/Body.lua
-- Kestra's body animations, and which of the player's animation slots each one fills. Slots
-- persist for the whole run, so this is done once at start-up.

local sFrames = "Root/Images/Kestra/Body/"
local sAnims = "Root/Animations/Kestra/Body/"
DL_AddPath(sAnims)

-- The pictures on disk: stem and count.
local taPictures = {
    {"Idle", 8}, {"RunStart", 1}, {"Run", 8}, {"RunShoot", 8}, {"Air", 7}, {"AirShoot", 7},
    {"Dash", 2}, {"DashShoot", 2}, {"StandShoot", 2}, {"Hurt", 2}, {"WallSlide", 3},
    {"WallSlideShoot", 3}, {"WallKick", 2}, {"WallKickShoot", 2}, {"LadderGrab", 1},
    {"Climb", 4}, {"LadderTop", 2}, {"LadderShoot", 4},
}
for i = 1, #taPictures do
    fnLoadPlayerFrames(sFrames, taPictures[i][1], taPictures[i][2])
end

-- name, picture stem, frame order (a number n: all n in turn), ticks per frame.
-- Slots shown by frame number (idle, air, dash, wall and ladder poses) take their pictures as
-- numbered; the ones played by a clock are timed to it: the run repeats every 32 ticks, the
-- climb's four frames share the 48 ticks of its step counter, and the flinch alternates over
-- the 24 ticks of an injury.
local taAnimations = {
    {"Idle", "Idle", 8, 1},
    {"RunStart", "RunStart", 1, 1},
    {"Run", "Run", 8, 4},
    {"Air", "Air", 7, 1},
    {"RunShoot", "RunShoot", 8, 4},
    {"AirShoot", "AirShoot", 7, 1},
    {"Dash", "Dash", 2, 1},
    {"DashShoot", "DashShoot", 2, 1},
    {"StandShoot", "StandShoot", 2, 1},
    {"Dying", "Hurt", {1, 0}, 4},
    {"WallSlide", "WallSlide", 3, 1},
    {"WallKick", "WallKick", 2, 1},
    {"WallSlideShoot", "WallSlideShoot", 3, 1},
    {"WallKickShoot", "WallKickShoot", 2, 1},
    {"Hurt", "Hurt", {0, 1, 0, 1}, 6},
    {"LadderGrab", "LadderGrab", 1, 1},
    {"Climb", "Climb", 4, 12},
    {"LadderTop", "LadderTop", 2, 1},
    {"LadderShoot", "LadderShoot", 4, 1},
}
for i = 1, #taAnimations do
    local sName, sStem, vOrder, fTicks = taAnimations[i][1], taAnimations[i][2], taAnimations[i][3], taAnimations[i][4]
    if type(vOrder) == "number" then
        vOrder = fnFrameRange(vOrder)
    end
    fnBuildAnimation(sAnims .. sName, sFrames, sStem, vOrder, fTicks)
end

-- The teleport beam plays over the last 95 ticks of her arrival and the death bursts take six
-- ticks a frame; their pictures are big, so they sit under their own heading.
local sEffectFrames = "Root/Images/Kestra/Light/"
fnLoadPlayerFrames(sEffectFrames, "Beam", 16)
fnLoadPlayerFrames(sEffectFrames, "DeathGround", 16)
fnLoadPlayerFrames(sEffectFrames, "DeathAir", 14)
fnBuildAnimation(sAnims .. "TeleportBeam", sEffectFrames, "Beam", fnFrameRange(16), 6)
fnBuildAnimation(sAnims .. "DeathGround", sEffectFrames, "DeathGround", fnFrameRange(16), 6)
fnBuildAnimation(sAnims .. "DeathAir", sEffectFrames, "DeathAir", fnFrameRange(14), 6)

-- The slots: standing, the first step, running, the air (rise, fall and landing), the
-- shooting versions, the dash, standing shot, dying, the wall, being hurt, the ladder, the
-- arrival beam, the two death bursts and the ladder shot. Slots 0, 9, 11 and 21 stay empty.
local taSlots = {
    {1, "Idle"}, {2, "RunStart"}, {3, "Run"}, {4, "Air"}, {5, "RunShoot"}, {6, "AirShoot"},
    {7, "Dash"}, {8, "DashShoot"}, {10, "StandShoot"}, {12, "Dying"}, {13, "WallSlide"},
    {14, "WallKick"}, {15, "WallSlideShoot"}, {16, "WallKickShoot"}, {17, "Hurt"},
    {18, "LadderGrab"}, {19, "Climb"}, {20, "LadderTop"}, {22, "TeleportBeam"},
    {23, "DeathGround"}, {24, "DeathAir"}, {25, "LadderShoot"},
}
for i = 1, #taSlots do
    Player_SetProperty("Animation", taSlots[i][1], sAnims .. taSlots[i][2])
end
