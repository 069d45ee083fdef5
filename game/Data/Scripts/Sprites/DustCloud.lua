-- Sprites/DustCloud.lua
-- A puff of dust at Kestra's feet when she lands or sets off.
local sName, fX, fY, bMirrored = fnReadEffectArguments("DustCloud.lua")
if sName then
    fnSpawnPlayerEffect(sName, "DustCloud", fX, fY, 24, 16, bMirrored)
end
