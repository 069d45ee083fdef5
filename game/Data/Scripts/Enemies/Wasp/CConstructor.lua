-- Hive (preset "Wasp"): a nest hanging from the ceiling. It never moves; while on screen it
-- opens every few seconds and releases a Gloomwing swarmer.
fnEnemyHome()
fnEnemyBasics(36, 36, 6, 1, gsEnemyScripts .. "Wasp/Logic.lua")
fnEnemyLook("Hive", {"Hang", "Open"}, -2, -2)
Enemy_SetProperty("InvincibleMaxTime", 30)
