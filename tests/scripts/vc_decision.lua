-- Run by a chosen decision with its number as the first argument.
gfChosen = tonumber(LM_GetScriptArgument(0))
