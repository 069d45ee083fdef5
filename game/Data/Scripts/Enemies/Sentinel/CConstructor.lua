-- Sentinel (preset "Sentinel"): an eye that bobs in place under its own script and spits at
-- Kestra when she comes near.
local fX, fY = fnEnemyHome()
fnEnemyBasics(20, 20, 4, 2, gsEnemyScripts .. "Sentinel/Logic.lua")
fnEnemyLook("Sentinel", {"Eye", "Glow"}, -2, -2)
Enemy_SetProperty("InvincibleMaxTime", 20)
RE_DefineData("iGlow", "N", 0)

Enemy_PushPropertyAsActiveObject("AIMovementHandler")
AIMovementHandler_AddMovement("SCRIPT CONTROL")
AISC_DefineProperty("HomeY", "N", fY)
AISC_SetScript(gsEnemyScripts .. "Sentinel/Hover.lua")
DL_PopActiveEntity()
