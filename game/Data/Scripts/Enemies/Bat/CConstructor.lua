-- Gloomwing (preset "Bat"): a bat that rests a moment, then flies straight at where Kestra
-- was. A hive releases smaller ones with the text argument "Swarm". Frail enough for the Rock
-- Wrecker to fetch and throw.
local bSwarm = LM_GetNumOfArgs() == 1 and LM_GetScriptArgument(0) == "Swarm"
fnEnemyHome()
fnEnemyBasics(20, 16, bSwarm and 1 or 2, 2, gsEnemyScripts .. "Bat/Logic.lua")
fnEnemyLook("Gloomwing", {"Fly"}, -6, -4)
RE_DefineData("bCanBeThrown", "N", 1)
if bSwarm then
    Enemy_SetProperty("WaitTimeBeforeEnabled", 20)
end
