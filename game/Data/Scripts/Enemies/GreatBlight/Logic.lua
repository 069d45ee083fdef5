-- Warden: walks and volleys take turns. It walks 160 units toward the arena's entrance (its home
-- less 160), stands and rears up toward Kestra's side, then walks home and rears again. A volley
-- is 40 ticks of warning, then three shots one after another, 60 ticks apart, low along the
-- floor. It stands still while it fires, so the shots come evenly spaced: each can be jumped,
-- and she lands in time for the next; between volleys she can shoot freely. Its shots end with
-- it, so a volley still rolling when it falls hurts her no more.
local bIdle = false
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
bIdle = AIAttackHandler_IsDoneCreatingAttacks()
DL_PopActiveEntity()
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
bIdle = bIdle and AIMovementHandler_IsDoneMoving()
DL_PopActiveEntity()
if not bIdle then return end

local iTurn = RE_GetData("iTurn", "N")
RE_SetData("iTurn", "N", (iTurn + 1) % 4)
if iTurn % 2 == 0 then
    local bOut = iTurn == 0
    local fX = RE_GetData("fHomeX", "N") - (bOut and 160 or 0)
    local fY = RE_GetData("fHomeY", "N")
    Enemy_PushPropertyAsActiveObject("AIMovementHandler")
    AIMovementHandler_AddMovement("GROUND_MOVEMENT")
    AIMovementHandler_SetProperty("DestinationPosition", fX, fY)
    AIMovementHandler_SetProperty("Speed", 1.0, 0)
    AIMovementHandler_SetProperty("AnimationIndex", 0)
    AIMovementHandler_SetProperty("AnimationDirectionFacing", bOut and "Left" or "Right")
    DL_PopActiveEntity()
    return
end

local sSide = fnEnemySideOfPlayer()
local fSpeed = sSide == "Left" and -2.5 or 2.5
local sName = Enemy_GetProperty("Name")
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
for i, iDelay in ipairs({40, 60, 60}) do
    AIAttackHandler_CreateAttack("LEMON_PROJECTILE")
    AIAttack_SetProperty("DelayBeforeCreatingAttack", iDelay)
    AIAttack_SetProperty("DelayAfterCreatingAttack", i == 3 and 20 or 0)
    AIAttack_SetProperty("AnimationIndex", 1)
    AIAttack_SetProperty("AnimationDirectionFacing", sSide)
    AIAttack_SetProperty("OffsetPosition", 8, 44)
    fnEnemySpit("WardenShot", 2, fSpeed, 0, sName)
    DL_PopActiveEntity()
end
DL_PopActiveEntity()
