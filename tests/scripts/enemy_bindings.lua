-- Drives the enemy bindings the way content scripts do and records what they answer.
Enemy_Create("Scripted", gCtorPath, "alpha", "beta")
local tW, tH = Enemy_GetProperty("BoundingBoxSize")
local tX, tY = Enemy_GetProperty("Position")
local tL, tT, tR, tB = Enemy_GetProperty("Dimensions")
local tCX, tCY = Enemy_GetProperty("Center")
gResults = table.concat({tW, tH, tX, tY, tL, tT, tR, tB, tCX, tCY, Enemy_GetProperty("Health"),
                         Enemy_GetProperty("ContactDamage"), Enemy_GetProperty("Name"),
                         Enemy_Appearance_GetProperty("AnimationDirectionFacing"),
                         tostring(Enemy_GetProperty("HitPlayer")), tostring(Enemy_IsOnScreen())}, " ")
gCounts = select("#", Enemy_GetProperty("Nonsense")) .. select("#", Enemy_IsSideBlocked("top")) .. select("#", Enemy_GetProperty())
Enemy_SetProperty("Position", "x")
Enemy_SetProperty()
Enemy_Health_SetProperty("Armour", 3)
Enemy_SelfDestruct()
gHealthAfter = Enemy_GetProperty("Health")
DL_PopActiveEntity()

-- Two arguments: the constructor sees none.
Enemy_Create("Plain", gCtorPath)
DL_PopActiveEntity()

-- A projectile is active: the enemy bindings warn and do nothing.
Proj_Create("Bullet")
Enemy_SetProperty("Health", 3)
gWrongActive = tostring(Enemy_IsOnScreen())
DL_PopActiveEntity()

-- Nothing active at all.
DL_PushActiveEntity()
DL_ClearActiveEntity()
Enemy_Health_SetProperty("Health", 3)
Hitbox_AllocateHitboxData()
AIMovementHandler_SetProperty("Speed", 1, 1)
gNoMovements = tostring(AIMovementHandler_IsDoneMoving())
DL_PopActiveEntity()
