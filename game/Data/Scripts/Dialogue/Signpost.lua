-- Signpost.lua
-- A dialogue in the console: a line of text and two choices. "Up" and "Down" move the marker,
-- "Select" (Tab in the sample configuration) runs SignpostAnswer.lua with the choice's number.
-- The signpost in First Steps puts it in the console as she passes; typing /signpost in the
-- console (the key left of 1 opens it) shows it anywhere.
local sAnswer = gsScriptRoot .. "Dialogue/SignpostAnswer.lua"
VC_Clear()
VC_SetLine("The signpost reads: FIRST STEPS. Which way will you go?")
VC_BeginDecision()
VC_AppendDecision("Onward, to the right.", sAnswer, 1)
VC_AppendDecision("Back, to the left.", sAnswer, 2)
VC_FinalizeDecisions()
fnLog("Signpost: the dialogue is in the console")
