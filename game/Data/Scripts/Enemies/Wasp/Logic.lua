-- Hive: when idle and on screen, shows its open mouth for 50 ticks, releases one swarmer from
-- under itself and rests 150 ticks.
local bIdle = false
Enemy_PushPropertyAsActiveObject("AIAttackHandler")
bIdle = AIAttackHandler_IsDoneCreatingAttacks()
DL_PopActiveEntity()
if bIdle and Enemy_IsOnScreen() then
    Enemy_PushPropertyAsActiveObject("AIAttackHandler")
    AIAttackHandler_CreateAttack("SPAWN_ENEMY")
    AIAttack_SetProperty("DelayBeforeCreatingAttack", 50)
    AIAttack_SetProperty("DelayAfterCreatingAttack", 150)
    AIAttack_SetProperty("AnimationIndex", 1)
    AIAttack_SetProperty("AnimationDirectionFacing", "Left")
    AIAttack_SetProperty("OffsetPosition", 8, 40)
    AISpawnEnemyAttack_SetProperty("EnemyName", "HiveSwarmer")
    AISpawnEnemyAttack_SetProperty("PathToEnemyConstructorScript", gsEnemyScripts .. "Bat/CConstructor.lua")
    AISpawnEnemyAttack_SetProperty("NumberOfConstructorArguments", 1)
    AISpawnEnemyAttack_SetProperty("ConstructorArgument", "Swarm")
    DL_PopActiveEntity()
    DL_PopActiveEntity()
end
