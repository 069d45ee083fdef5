-- Enemies/Buster/Rank1Blocked.lua
-- A rank 1 shot struck a guard.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Deflect.lua")
