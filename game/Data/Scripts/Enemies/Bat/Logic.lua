-- Gloomwing: when its last flight is over, it waits 30 ticks and flies at Kestra's position of
-- that moment, 1.5 units a tick, for at most 80 ticks. It aims 8 units below the top of her
-- box, so it comes to rest across the line of her buster rather than just above her shot.
local sSide = fnEnemySideOfPlayer()
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
if AIMovementHandler_IsDoneMoving() then
    local fX, fY = Player_GetPosition()
    AIMovementHandler_ClearAllMovements()
    AIMovementHandler_AddMovement("AIR_MOVEMENT")
    AIMovementHandler_SetProperty("DestinationPosition", fX, fY + 8)
    AIMovementHandler_SetProperty("Speed", 1.5, 1.5)
    AIMovementHandler_SetProperty("DelayBeforeMoving", 30)
    AIMovementHandler_SetProperty("DurationToMove", 80)
    AIMovementHandler_SetProperty("AnimationIndex", 0)
    AIMovementHandler_SetProperty("AnimationDirectionFacing", sSide)
end
DL_PopActiveEntity()
