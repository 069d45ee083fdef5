-- Constructor of a spawned enemy: records its arguments and gives it a box and a logic script.
gSpawnArgs = (gSpawnArgs or "") .. LM_GetNumOfArgs() .. ":" .. (LM_GetScriptArgument(0) or "") .. "," .. (LM_GetScriptArgument(1) or "") .. ";"
Enemy_SetProperty("BoundingBoxSize", 10, 10)
Enemy_SetProperty("PathToLogicScript", gEmptyLogic)
