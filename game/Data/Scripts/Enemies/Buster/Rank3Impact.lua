-- Enemies/Buster/Rank3Impact.lua
-- A rank 3 shot struck an enemy.
LM_ExecuteScript(gsScriptRoot .. "Enemies/Buster/Burst.lua")
