-- Hook script shared by the projectile tests: logs "<x>:<event code>" for the active projectile.
local x, y = Proj_GetProperty("Position")
proj_hook_log = (proj_hook_log or "") .. tostring(x) .. ":" .. LM_GetScriptArgument(0) .. " "
