-- Stage/GoalReached.lua
-- The goal zone's script: the map is finished. The thanks page comes first, then the title.
fnLog("Stage: goal reached")
GUI_ForceToTitle(true)
