-- Builds a two-line macro, checks that a second definition does not replace it, and calls it.
LM_NewMacro("count", "macro_runs = (macro_runs or 0) + 1")
LM_AppendMacro("count", "macro_last = LM_GetCallStack(0)")
LM_NewMacro("count", "macro_runs = 100")
LM_AppendMacro("missing", "macro_runs = 200")
LM_Call("count")
LM_Call("count")
LM_Call("missing")
LM_NewMacro("broken", "this is not lua")
LM_Call("broken")
macro_after_broken = true
