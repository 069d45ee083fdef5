-- Maps/FirstSteps/Greeting.lua
-- The plateau's zone trigger: a line for the player in the console (open it with the key left
-- of 1) and in the log, once per entry.
local sLine = "Mind the ice on the plateau: the breeze pushes toward the cliff."
VC_SetLine(sLine)
fnLog("FirstSteps: " .. sLine .. " (trigger " .. tostring(LM_GetScriptArgument(0)) .. ")")
