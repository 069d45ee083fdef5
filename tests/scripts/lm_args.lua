-- Records what the script arguments look like from inside a run.
lm_args_runs = (lm_args_runs or 0) + 1
lm_args_count = LM_GetNumOfArgs()
lm_args_first = LM_GetScriptArgument(0)
lm_args_second = LM_GetScriptArgument(1)
lm_args_beyond = LM_GetScriptArgument(lm_args_count)
lm_args_negative = LM_GetScriptArgument(-1)
lm_args_name = LM_GetCallStack(0)
return 1, 2, 3
