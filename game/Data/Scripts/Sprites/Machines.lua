-- Sprites/Machines.lua
-- The boss door's animation, the moving platforms' deck, the goal's flag and the mech suit's
-- thirteen animations, from the frames that tools/genmachineart draws. The door and the mech
-- find their animations by fixed library paths, and the mech looks its up while it draws, so
-- this only has to run before the first map.

local sArt = gsDataRoot .. "Graphics/Generated/Machines/"
local sFrames = "Root/Images/Sprites/Machines/"
DL_AddPath(sFrames)

local function fnLoadMachineFrames(sStem, iCount)
    fnLoadFrames(sArt, sFrames, sStem, iCount)
end

local function fnBuild(sPath, sStem, iaOrder, fTicks)
    fnBuildAnimation(sPath, sFrames, sStem, iaOrder, fTicks)
end

-- The door opens over 30 ticks (it plays backwards to close).
fnLoadMachineFrames("Door", 6)
DL_AddPath("Root/Animations/Sprites/BossDoor/")
fnBuild("Root/Animations/Sprites/BossDoor/BossDoor", "Door", {0, 1, 2, 3, 4, 5}, 5)

-- The moving platforms' deck.
fnLoadMachineFrames("Platform", 1)
DL_AddPath("Root/Animations/Sprites/Platform/")
fnBuild("Root/Animations/Sprites/Platform/Deck", "Platform", {0}, 60)

-- The flag that ends a map.
fnLoadMachineFrames("Goal", 2)
DL_AddPath("Root/Animations/Sprites/Goal/")
fnBuild("Root/Animations/Sprites/Goal/Flag", "Goal", {0, 1}, 20)

fnLoadMachineFrames("MechPower", 4)
fnLoadMachineFrames("MechIdle", 2)
fnLoadMachineFrames("MechWalk", 4)
fnLoadMachineFrames("MechJump", 5)
fnLoadMachineFrames("MechRam", 2)
fnLoadMachineFrames("MechStop", 1)

-- Indexes as the mech numbers them. The power-up runs 32 ticks (the boarding time); the
-- jumps are shown by frame: 0 to 3 in the air, 4 and on for the landing.
local sMech = "Root/Animations/Enemies/MechBase/"
DL_AddPath(sMech)
fnBuild(sMech .. "Idle", "MechIdle", {0, 1}, 30)
fnBuild(sMech .. "PowerUp", "MechPower", {0, 1, 2, 3}, 8)
fnBuild(sMech .. "Walk", "MechWalk", {0, 1, 2, 3}, 8)
fnBuild(sMech .. "WalkStart", "MechWalk", {0}, 8)
fnBuild(sMech .. "Slam", "MechIdle", {0}, 8)
fnBuild(sMech .. "Punch", "MechIdle", {0}, 8)
fnBuild(sMech .. "Charge", "MechIdle", {0}, 8)
fnBuild(sMech .. "RunJump", "MechJump", {0, 1, 2, 3, 4, 4}, 5)
fnBuild(sMech .. "Jump", "MechJump", {0, 1, 2, 3, 4}, 5)
fnBuild(sMech .. "Ram", "MechRam", {0, 1}, 4)
fnBuild(sMech .. "Crack", "MechStop", {0}, 8)
fnBuild(sMech .. "Turn", "MechWalk", {0}, 8)
fnBuild(sMech .. "DashStop", "MechStop", {0}, 8)
