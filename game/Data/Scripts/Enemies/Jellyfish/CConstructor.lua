-- Driftbell (preset "Jellyfish"): drifts right and back on a gentle wave, for ever. Slow,
-- frail and weak: the easiest thing to shoot.
local fX, fY = fnEnemyHome()
fnEnemyBasics(18, 18, 1, 1, gsEnemyScripts .. "Jellyfish/Logic.lua")
fnEnemyLook("Driftbell", {"Drift"}, -3, -3)
Enemy_SetProperty("DoNotDespawnOffScreen")

-- A wave leg travels its duration times its speed along the line to the destination, so
-- two legs of 80 ticks at 1.2 go 96 units out and back.
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
AIMovementHandler_AddMovement("AIR_MOVEMENT_SIN")
AIMovementHandler_SetProperty("DurationToMove", 80)
AIMovementHandler_SetProperty("DestinationPosition", fX + 96, fY)
AIMovementHandler_SetProperty("Speed", 1.2, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Right")
AIMovementHandler_AddMovement("AIR_MOVEMENT_SIN")
AIMovementHandler_SetProperty("DurationToMove", 80)
AIMovementHandler_SetProperty("DestinationPosition", fX - 96, fY)
AIMovementHandler_SetProperty("Speed", 1.2, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Left")
AIMovementHandler_SetProperty("LoopMovements", true)
DL_PopActiveEntity()
