-- SignpostAnswer.lua
-- Run by the signpost's decisions with the chosen number as the first argument.
local iChoice = tonumber(LM_GetScriptArgument(0)) or 0
fnLog("Signpost: answer " .. iChoice)
VC_Clear()
if iChoice == 1 then
    VC_SetLine("Onward it is. Mind the spikes.")
else
    VC_SetLine("Back it is. The cliff is that way.")
end
