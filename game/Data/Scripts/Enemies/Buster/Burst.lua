-- Enemies/Buster/Burst.lua
-- The flash where a buster shot strikes, centred on the shot. Runs with the shot as the active
-- object, from the rank's impact hook; the enemy's damage code decides whether the shot is
-- used up.
local fX, fY = Proj_GetProperty("Center")
if fX ~= nil then
    fnSpawnPlayerEffect("X", "ShotHit", fX - 16, fY - 16, 32, 32, false)
end
