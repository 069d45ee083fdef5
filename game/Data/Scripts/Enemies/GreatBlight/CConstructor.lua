-- Warden (preset "GreatBlight"): the boss of the Hollow. It paces its arena and, between
-- walks, stands and fires volleys of three shots along the floor. It is hit and hurts through two boxes that
-- follow its frame (shell and horn) rather than its bounding box, and its health shows in the
-- boss bar.
local fX, fY = fnEnemyHome()
fnEnemyBasics(56, 60, 20, 4, gsEnemyScripts .. "GreatBlight/Logic.lua")
fnEnemyLook("Warden", {"Walk", "Rear"}, -4, -4)
Enemy_SetProperty("PathToDestructionScript", gsEnemyScripts .. "GreatBlight/Death.lua")
-- A hit makes it flash for a moment only, so nearly every shot that lands counts: about 20
-- normal shots bring it down, fewer when charged.
Enemy_SetProperty("InvincibleMaxTime", 6)
Enemy_SetProperty("DoNotDespawnOffScreen")
Enemy_Appearance_SetProperty("PanicAnimation", 1)
Enemy_Health_SetProperty("SecondWindFlagFlag", true)

-- Frame boxes, drawn facing right in its 64 by 64 frames and mirrored for the left.
Enemy_PushPropertyAsActiveObject("Hitbox")
Hitbox_SetProperty("NumberOfHitboxes", 2)
Hitbox_SetProperty("NumberOfAnimations", 2)
Hitbox_SetProperty("NumberOfFramesPerAnimation", 0, 1)
Hitbox_SetProperty("NumberOfFramesPerAnimation", 1, 1)
Hitbox_AllocateHitboxData()
Hitbox_SetProperty("AnimationSize", 64, 64)
Hitbox_SetProperty("Hitbox", 0, 0, "Right", 0, 6, 22, 50, 30)
Hitbox_SetProperty("Hitbox", 0, 0, "Right", 1, 44, 12, 18, 18)
Hitbox_SetProperty("Hitbox", 1, 0, "Right", 0, 6, 16, 50, 30)
Hitbox_SetProperty("Hitbox", 1, 0, "Right", 1, 44, 6, 18, 18)
Hitbox_CalculateMissingHitboxes()
DL_PopActiveEntity()
Enemy_SetProperty("UseBoundingBoxAsHitbox", false)
Enemy_SetProperty("ContactDamage", 4)

-- Its pacing and volleys take turns (see Logic.lua), starting with a walk toward the arena's
-- entrance.
RE_DefineData("fHomeX", "N", fX)
RE_DefineData("fHomeY", "N", fY)
RE_DefineData("iTurn", "N", 0)

Enemy_BecomeHealthBarTarget()
fnLog("Warden awakens")
