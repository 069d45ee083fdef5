-- Sentinel: with Kestra within 220 units and no shot on the way, it glows for 40 ticks (an
-- overlay on its eye), spits one shot toward her side and rests 60 ticks.
local bIdle = false
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
bIdle = AIAttackHandler_IsDoneCreatingAttacks()
DL_PopActiveEntity()

if bIdle then
    Enemy_AllocateOverlays(0)
    if Enemy_GetDistanceFromPlayer() < 220 and Enemy_IsOnScreen() then
        local sSide = fnEnemySideOfPlayer()
        local fSpeed = sSide == "Left" and -3 or 3
        Enemy_AllocateOverlays(1)
        Enemy_SetOverlay(0, 1, 0)
        Enemy_PushPropertyAsActiveObject("AIAttackHandler")
        AIAttackHandler_CreateAttack("LEMON_PROJECTILE")
        AIAttack_SetProperty("DelayBeforeCreatingAttack", 40)
        AIAttack_SetProperty("DelayAfterCreatingAttack", 60)
        AIAttack_SetProperty("AnimationIndex", 0)
        AIAttack_SetProperty("AnimationDirectionFacing", sSide)
        AIAttack_SetProperty("OffsetPosition", 4, 6)
        fnEnemySpit(2, fSpeed, 0)
        DL_PopActiveEntity()
        DL_PopActiveEntity()
        AudioManager_PlaySound("EnemyShoot")
    end
end
