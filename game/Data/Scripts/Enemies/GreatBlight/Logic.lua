-- Warden: every 180 ticks it rears up for 30 and fires three shots at once toward Kestra's
-- side: straight, rising and falling.
local bIdle = false
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
bIdle = AIAttackHandler_IsDoneCreatingAttacks()
DL_PopActiveEntity()
if bIdle then
    local sSide = fnEnemySideOfPlayer()
    local fSpeed = sSide == "Left" and -2.5 or 2.5
    Enemy_PushPropertyAsActiveObject("AIAttackHandler")
    AIAttackHandler_SetProperty("CreateAllAttacksAtOnce", true)
    for i, fRise in ipairs({0, -0.6, 0.6}) do
        AIAttackHandler_CreateAttack("LEMON_PROJECTILE")
        AIAttack_SetProperty("DelayBeforeCreatingAttack", 150)
        AIAttack_SetProperty("DelayAfterCreatingAttack", 30)
        AIAttack_SetProperty("AnimationIndex", 1)
        AIAttack_SetProperty("AnimationDirectionFacing", sSide)
        AIAttack_SetProperty("OffsetPosition", 8, 14)
        fnEnemySpit(3, fSpeed, fRise)
        DL_PopActiveEntity()
    end
    DL_PopActiveEntity()
end
