-- Sprites/DashKickup.lua
-- Dust thrown up behind Kestra as a dash starts. The point is the picture's top-left corner;
-- the player mirrors it when she dashes to the left.
local sName, fX, fY, bMirrored = fnReadEffectArguments("DashKickup.lua")
if sName then
    fnSpawnPlayerEffect(sName, "DashKickup", fX, fY, 100, 64, bMirrored)
end
