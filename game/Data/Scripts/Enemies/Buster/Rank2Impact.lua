-- Enemies/Buster/Rank2Impact.lua
-- A rank 2 shot struck an enemy.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Burst.lua")
