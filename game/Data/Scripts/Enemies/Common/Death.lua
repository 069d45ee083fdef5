-- Common/Death.lua
-- Every sample enemy's destruction script: the burst sound, debris thrown upward from its
-- centre, and a line in the log.
AudioManager_PlaySound("EnemyExplode")
local fX, fY = Enemy_GetProperty("Center")
EM_ParticleExplosion(fX, fY, -math.pi / 2)
fnLog("Enemy destroyed: " .. Enemy_GetProperty("Name"))
