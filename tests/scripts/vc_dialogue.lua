-- A dialogue as a script writes it: a cleared console, a line of text and two decisions whose
-- scripts record the number they were run with. Bad argument lists are refused quietly.
VC_Clear()
VC_SetLine("Which way?")
VC_SetLine(3, "Row three")
VC_SetChar(79, 14, "Zed")
VC_BeginDecision()
VC_AppendDecision("Left", gsDecisionScript, 1)
VC_AppendDecision("Right", gsDecisionScript, 2.5)
VC_AppendDecision("Too few")
VC_FinalizeDecisions()
VC_SetLine()
VC_SetChar(1, 2)
giStackAfter = select("#", VC_Clear())
