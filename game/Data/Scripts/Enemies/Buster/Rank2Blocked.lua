-- Enemies/Buster/Rank2Blocked.lua
-- A rank 2 shot struck a guard.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Deflect.lua")
