-- Constructor of the spawn-point tests: counts the spawns.
gSpawns = (gSpawns or 0) + 1
Enemy_SetProperty("BoundingBoxSize", 20, 20)
Enemy_SetProperty("PathToLogicScript", gEmptyLogic)
Enemy_SetProperty("DoNotDespawnOffScreen")
