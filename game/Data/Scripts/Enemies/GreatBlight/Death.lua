-- Warden's destruction: the boss bar lets go of it, then the common burst; when it was the
-- map's boss, the map is told.
Enemy_PurgeHealthBarTarget()
fnStageBossFell()
LM_ExecuteScript(gsEnemyScripts .. "Common/Death.lua")
fnLog("Warden defeated")
