-- Warden's destruction: the boss bar lets go of it, then the common burst.
Enemy_PurgeHealthBarTarget()
LM_ExecuteScript(gsEnemyScripts .. "Common/Death.lua")
fnLog("Warden defeated")
