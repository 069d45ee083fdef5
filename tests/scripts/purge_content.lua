-- Her animations and charge sparks, built the way the sample game's scripts build them, from
-- pictures the test has put under Root/Images/Kestra/.
local sBody = "Root/Images/Kestra/Body/"

local function fnBuild(sPath, sFirst, sSecond)
    Anim_Create(sPath)
    Anim_SetProperty("TotalFrames", 2)
    Anim_SetProperty("TicksPerFrame", 3)
    Anim_SetProperty("Frame", 0, sBody .. sFirst)
    Anim_SetProperty("Frame", 1, sBody .. sSecond)
    DL_PopActiveEntity()
end

DL_AddPath("Root/Animations/Kestra/Body/")
DL_AddPath("Root/Animations/Kestra/BusterCharge/")
local tSlots = {Idle = 1, RunStart = 2, Run = 3, Air = 4, RunShoot = 5, AirShoot = 6, StandShoot = 10,
                Injured = 17, TeleportBeam = 22, DeathGround = 23, DeathAir = 24}
for sName, iSlot in pairs(tSlots) do
    fnBuild("Root/Animations/Kestra/Body/" .. sName, "Frame00", "Frame01")
    Player_SetProperty("Animation", iSlot, "Root/Animations/Kestra/Body/" .. sName)
end
for _, sSet in ipairs({"Charge", "Simmer"}) do
    for _, sLetter in ipairs({"A", "B", "C", "D", "E", "F"}) do
        fnBuild("Root/Animations/Kestra/BusterCharge/" .. sSet .. sLetter, "Spark00", "Spark01")
    end
end
Player_SetProperty("ChargeAnim", 0, "Root/Animations/Kestra/BusterCharge/ChargeA")
Player_SetProperty("ChargeAnim", 1, "Root/Animations/Kestra/BusterCharge/SimmerA")
