-- Gloomwing: when its last flight is over, it waits 30 ticks and flies at Kestra's position of
-- that moment, 1.5 units a tick, for at most 80 ticks. It aims 8 units below the top of her
-- box, so it comes to rest across the line of her buster rather than just above her shot.
-- Once it has touched her it breaks off at once, up and away from her for 40 ticks, so it
-- never settles on her: she sees it and can shoot it before it comes again.
local sSide = fnEnemySideOfPlayer()
local bTouched = Enemy_GetProperty("HitPlayer")
local fX, fY = Enemy_GetProperty("Position")
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
if bTouched then
    local fAway = sSide == "Left" and 80 or -80
    AIMovementHandler_ClearAllMovements()
    AIMovementHandler_AddMovement("AIR_MOVEMENT")
    AIMovementHandler_SetProperty("DestinationPosition", fX + fAway, fY - 56)
    AIMovementHandler_SetProperty("Speed", 2, 1.4)
    AIMovementHandler_SetProperty("DurationToMove", 40)
    AIMovementHandler_SetProperty("AnimationIndex", 0)
    AIMovementHandler_SetProperty("AnimationDirectionFacing", sSide == "Left" and "Right" or "Left")
elseif AIMovementHandler_IsDoneMoving() then
    local fHerX, fHerY = Player_GetPosition()
    AIMovementHandler_ClearAllMovements()
    AIMovementHandler_AddMovement("AIR_MOVEMENT")
    AIMovementHandler_SetProperty("DestinationPosition", fHerX, fHerY + 8)
    AIMovementHandler_SetProperty("Speed", 1.5, 1.5)
    AIMovementHandler_SetProperty("DelayBeforeMoving", 30)
    AIMovementHandler_SetProperty("DurationToMove", 80)
    AIMovementHandler_SetProperty("AnimationIndex", 0)
    AIMovementHandler_SetProperty("AnimationDirectionFacing", sSide)
end
DL_PopActiveEntity()
