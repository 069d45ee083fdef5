-- Sprites/BusterMedSpawn.lua
-- The muzzle flash of a half-charged shot. The picture is wide so that its mirrored copy, which
-- the player places further left, still lands on the buster's mouth.
local sName, fX, fY, bMirrored = fnReadEffectArguments("BusterMedSpawn.lua")
if sName then
    fnSpawnPlayerEffect(sName, "FlashMedium", fX, fY, 112, 64, bMirrored)
end
