-- SetupFuncs.lua
-- Helpers shared by the other scripts. Runs right after Bootstrap.lua, still before the
-- options exist, so it only defines functions for later scripts to call.

-- Defines a trace switch: a boolean option that starts off. Set it to true in
-- Configuration.lua to see that part of the engine's trace on standard error.
function fnDefineTraceSwitch(sName)
    OM_DefineOption(sName, "B", false)
end

-- Writes one line to the log, whatever the trace switches say.
function fnLog(sText)
    Debug_ForcePrint(sText .. "\n")
end
