-- Common/ShotOfFirer.lua
-- Logic of a shot that ends with the enemy that fired it (a boss's, see fnEnemySpit): once no
-- entity of its firer's name is left, beaten or taken away, the shot goes too rather than roll on
-- and hurt her after the fight is over.
if not EM_Exists(RE_GetData("sFirer", "S")) then
    Proj_SetProperty("SelfDestruct", true)
end
