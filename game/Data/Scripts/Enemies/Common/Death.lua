-- Common/Death.lua
-- Every sample enemy's destruction script: the burst sound and a line in the log.
AudioManager_PlaySound("EnemyExplode")
fnLog("Enemy destroyed: " .. Enemy_GetProperty("Name"))
