-- Maps/Hollow/StepCrawler.lua
-- Constructor of the Crawler on the Hollow's step: a spawn point passes no arguments, so this
-- gives the Crawler's own constructor its home and a reach short enough to keep it on the step.
LM_ExecuteScript(gsEnemyScripts .. "Tick/CConstructor.lua", "888", "400", "Moss", "8")
