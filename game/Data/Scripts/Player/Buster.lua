-- Player/Buster.lua
-- The buster's shots, the Permafrost Shield and the sparks of a charge. The engine finds these
-- by fixed library paths: the shots and the shield under "Root/Animations/Projectiles/All/",
-- the sparks under "Root/Animations/Kestra/BusterCharge/" as ChargeA .. ChargeF and, for a
-- full charge, SimmerA .. SimmerF.

local sShotFrames = "Root/Images/Projectiles/Buster/"
local sShotAnims = "Root/Animations/Projectiles/All/"
DL_AddPath(sShotAnims)

-- The small shot shows only its first frame; the charged ones shimmer in two-frame beats.
fnLoadPlayerFrames(sShotFrames, "Lemon", 1)
fnLoadPlayerFrames(sShotFrames, "BusterMedium", 4)
fnLoadPlayerFrames(sShotFrames, "BusterFull", 4)
fnBuildAnimation(sShotAnims .. "Lemon", sShotFrames, "Lemon", {0}, 1)
fnBuildAnimation(sShotAnims .. "BusterMediumCycle", sShotFrames, "BusterMedium", fnFrameRange(4), 3)
fnBuildAnimation(sShotAnims .. "BusterFullCycle", sShotFrames, "BusterFull", fnFrameRange(4), 3)

-- The Permafrost Shield's pane of ice, its glint shifting every eight ticks.
fnLoadPlayerFrames(sShotFrames, "PermafrostShield", 2)
fnBuildAnimation(sShotAnims .. "PermafrostShield", sShotFrames, "PermafrostShield", fnFrameRange(2), 8)

-- Each spark lives 33 ticks and shows frame age / 3, so eleven frames; the letter picks the
-- direction it is drawn in from.
local sSparkFrames = "Root/Images/Kestra/BusterCharge/"
local sSparkAnims = "Root/Animations/Kestra/BusterCharge/"
DL_AddPath(sSparkAnims)
local saLetters = {"A", "B", "C", "D", "E", "F"}
for i = 1, #saLetters do
    for _, sKind in ipairs({"Charge", "Simmer"}) do
        local sStem = sKind .. saLetters[i]
        fnLoadPlayerFrames(sSparkFrames, sStem, 11)
        fnBuildAnimation(sSparkAnims .. sStem, sSparkFrames, sStem, fnFrameRange(11), 3)
    end
end

-- The player keeps one charge animation of each kind besides the sparks.
Player_SetProperty("ChargeAnim", 0, sSparkAnims .. "ChargeA")
Player_SetProperty("ChargeAnim", 1, sSparkAnims .. "SimmerA")
