-- Gloomwing: when its last flight is over, it waits 30 ticks and flies at Kestra's position of
-- that moment, 1.5 units a tick, for at most 80 ticks.
local sSide = fnEnemySideOfPlayer()
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
if AIMovementHandler_IsDoneMoving() then
    AIMovementHandler_ClearAllMovements()
    AIMovementHandler_AddMovement("AIR_MOVEMENT")
    AIMovementHandler_SetProperty("DestinationTarget", "Player")
    AIMovementHandler_SetProperty("Speed", 1.5, 1.5)
    AIMovementHandler_SetProperty("DelayBeforeMoving", 30)
    AIMovementHandler_SetProperty("DurationToMove", 80)
    AIMovementHandler_SetProperty("AnimationIndex", 0)
    AIMovementHandler_SetProperty("AnimationDirectionFacing", sSide)
end
DL_PopActiveEntity()
