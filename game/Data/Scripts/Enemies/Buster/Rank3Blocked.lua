-- Enemies/Buster/Rank3Blocked.lua
-- A rank 3 shot struck a guard.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Deflect.lua")
