-- Constructor that reaches back to the enemy whose attack made it and empties its attacks.
Enemy_SetProperty("PathToLogicScript", gEmptyLogic)
EM_PushEntity("Parent")
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
AIAttackHandler_ClearAllAttacks()
DL_PopActiveEntity()
DL_PopActiveEntity()
gCleared = (gCleared or 0) + 1
