-- Logic script: records, tick by tick, whether the enemy struck the player.
gHitLog = (gHitLog or "") .. (Enemy_GetProperty("HitPlayer") and "1" or "0")
