-- Enemies/Buster/Rank1Impact.lua
-- A rank 1 shot struck an enemy.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Burst.lua")
