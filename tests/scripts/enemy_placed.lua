-- Constructor of a 20 by 20 enemy whose box's top-left is at its two texts.
Enemy_SetProperty("BoundingBoxSize", 20, 20)
Enemy_SetProperty("Position", tonumber(LM_GetScriptArgument(0)), tonumber(LM_GetScriptArgument(1)))
