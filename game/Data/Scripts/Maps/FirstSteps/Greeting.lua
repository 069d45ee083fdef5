-- Maps/FirstSteps/Greeting.lua
-- The plateau's zone trigger: a line for the player (and for the log) on each entry.
fnLog("FirstSteps: mind the ice on the plateau (trigger " .. tostring(LM_GetScriptArgument(0)) .. ")")
