-- Driftbell (preset "Jellyfish"): drifts right and back on a gentle wave, for ever. Slow,
-- frail and weak: the easiest thing to shoot. An optional text argument after the home's x and
-- y is how far it drifts (96 units when not given).
local fX, fY = fnEnemyHome()
local fReach = LM_GetNumOfArgs() >= 3 and tonumber(LM_GetScriptArgument(2)) or 96
fnEnemyBasics(18, 18, 1, 1, gsEnemyScripts .. "Jellyfish/Logic.lua")
fnEnemyLook("Driftbell", {"Drift"}, -3, -3)
Enemy_SetProperty("DoNotDespawnOffScreen")

-- A wave leg travels its duration times its speed along the line to the destination, so
-- two legs of 80 ticks at a speed of reach / 80 go the reach out and back.
Enemy_PushPropertyAsActiveObject("AIMovementHandler")
AIMovementHandler_AddMovement("AIR_MOVEMENT_SIN")
AIMovementHandler_SetProperty("DurationToMove", 80)
AIMovementHandler_SetProperty("DestinationPosition", fX + fReach, fY)
AIMovementHandler_SetProperty("Speed", fReach / 80, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Right")
AIMovementHandler_AddMovement("AIR_MOVEMENT_SIN")
AIMovementHandler_SetProperty("DurationToMove", 80)
AIMovementHandler_SetProperty("DestinationPosition", fX - fReach, fY)
AIMovementHandler_SetProperty("Speed", fReach / 80, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Left")
AIMovementHandler_SetProperty("LoopMovements", true)
DL_PopActiveEntity()
