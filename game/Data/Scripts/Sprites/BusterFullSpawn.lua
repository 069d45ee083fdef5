-- Sprites/BusterFullSpawn.lua
-- The muzzle flash of a fully charged shot.
local sName, fX, fY, bMirrored = fnReadEffectArguments("BusterFullSpawn.lua")
if sName then
    fnSpawnPlayerEffect(sName, "FlashFull", fX, fY, 52, 72, bMirrored)
end
