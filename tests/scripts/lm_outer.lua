-- Runs lm_inner.lua (its path is argument 0) with two values of its own, then looks at what
-- the nested run left behind.
lm_outer_self = LM_GetCallStack(0)
local inner = LM_GetScriptArgument(0)
LM_ExecuteScript(inner, "x", 7, true)
lm_outer_after_self = LM_GetCallStack(0)
lm_outer_after_args = LM_GetNumOfArgs()
lm_outer_after_first = LM_GetScriptArgument(0)
