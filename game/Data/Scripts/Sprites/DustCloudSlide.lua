-- Sprites/DustCloudSlide.lua
-- The small puffs her feet raise while she skids.
local sName, fX, fY, bMirrored = fnReadEffectArguments("DustCloudSlide.lua")
if sName then
    fnSpawnPlayerEffect(sName, "DustSlide", fX, fY, 16, 12, bMirrored)
end
