-- Sentinel: with Kestra within 200 units and no shot on the way, it glows for 40 ticks (an
-- overlay on its eye), spits one shot toward her side and rests 90 ticks. The glow is the
-- warning: it lasts only until the shot leaves, which flies low and slow enough to be jumped.
local iGlow = RE_GetData("iGlow", "N")
if iGlow > 0 then
    RE_SetData("iGlow", "N", iGlow - 1)
    if iGlow == 1 then Enemy_AllocateOverlays(0) end
end

local bIdle = false
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
bIdle = AIAttackHandler_IsDoneCreatingAttacks()
DL_PopActiveEntity()

if bIdle and Enemy_GetDistanceFromPlayer() < 200 and Enemy_IsOnScreen() then
    local sSide = fnEnemySideOfPlayer()
    local fSpeed = sSide == "Left" and -2.5 or 2.5
    Enemy_AllocateOverlays(1)
    Enemy_SetOverlay(0, 1, 0)
    RE_SetData("iGlow", "N", 40)
    Enemy_PushPropertyAsActiveObject("AIAttackHandler")
    AIAttackHandler_CreateAttack("LEMON_PROJECTILE")
    AIAttack_SetProperty("DelayBeforeCreatingAttack", 40)
    AIAttack_SetProperty("DelayAfterCreatingAttack", 90)
    AIAttack_SetProperty("AnimationIndex", 0)
    AIAttack_SetProperty("AnimationDirectionFacing", sSide)
    AIAttack_SetProperty("OffsetPosition", 4, 8)
    fnEnemySpit("EyeShot", 2, fSpeed, 0)
    DL_PopActiveEntity()
    DL_PopActiveEntity()
    AudioManager_PlaySound("EnemyShoot")
end
