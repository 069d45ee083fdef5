-- Enemies/Buster/Deflect.lua
-- A guard turned a buster shot aside: it glances back and up, harmless, and flies out of play.
-- Runs with the shot as the active object, from the rank's block hook. A shot already glancing
-- away (it climbs; fresh shots fly level) is left alone, so the guard it is still touching
-- cannot bat it back and forth.
local fXSpeed, fYSpeed = Proj_GetProperty("Speeds")
if fXSpeed == nil or fYSpeed ~= 0 then
    return
end
Proj_SetProperty("Speeds", -fXSpeed * 0.75, -math.abs(fXSpeed) * 0.75, 0)
Proj_SetProperty("TargetFlags", 0)
Proj_SetProperty("Damage", 0)
AudioManager_PlaySound("BusterDeflect")
