-- Dragon tank: a skeletal puppet (the "DragonTank" preset) that holds its ground with its
-- treads rolling. Hits land through the polygons of its parts; its turret turns buster shots.
fnEnemyHome()
fnEnemyBasics(64, 48, 8, 3, gsEnemyScripts .. "DragonTank/Logic.lua")
Enemy_Appearance_SetProperty("PuppetMode", "DragonTank")
Enemy_Appearance_SetProperty("PuppetAnim", "roll")
Enemy_Appearance_SetProperty("AnimationDirectionFacing", "Left")
Enemy_Appearance_SetProperty("PuppetHitboxBlocksBuster", 3, true)
Enemy_SetProperty("UsePuppetHitboxes", true)
