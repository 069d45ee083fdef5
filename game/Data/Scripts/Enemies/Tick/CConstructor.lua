-- Crawler (preset "Tick"): patrols 64 units either side of its home along the ground, under
-- gravity, climbing gentle slopes. Optional text arguments after the home's x and y: its
-- palette variant ("Rust", "Moss" or "Ash") and how far it strays from home.
local fX, fY = fnEnemyHome()
fnEnemyBasics(28, 16, 3, 2, gsEnemyScripts .. "Tick/Logic.lua")
fnEnemyLook("Crawler", {"Walk"}, -2, -4)
Enemy_SetProperty("MoveEntityFlag", "AllowBotSlopes", true)
local sVariant = LM_GetNumOfArgs() >= 3 and LM_GetScriptArgument(2) or "Moss"
local fReach = LM_GetNumOfArgs() >= 4 and tonumber(LM_GetScriptArgument(3)) or 64
Enemy_Appearance_SetProperty("PaletteData", "Root/Other/Palettes/Enemies/All", sVariant)

Enemy_PushPropertyAsActiveObject("AIMovementHandler")
AIMovementHandler_AddMovement("GROUND_MOVEMENT")
AIMovementHandler_SetProperty("DestinationPosition", fX + fReach, fY)
AIMovementHandler_SetProperty("Speed", 0.8, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Right")
AIMovementHandler_AddMovement("GROUND_MOVEMENT")
AIMovementHandler_SetProperty("DestinationPosition", fX - fReach, fY)
AIMovementHandler_SetProperty("Speed", 0.8, 0)
AIMovementHandler_SetProperty("AnimationIndex", 0)
AIMovementHandler_SetProperty("AnimationDirectionFacing", "Left")
AIMovementHandler_SetProperty("LoopMovements", true)
DL_PopActiveEntity()
