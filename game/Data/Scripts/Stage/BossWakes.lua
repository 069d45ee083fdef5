-- Stage/BossWakes.lua
-- The boss zone's script (see Stage/Setup.lua): wakes the boss unless it is beaten or awake.
local tBoss = gtStageBoss
if tBoss and not tBoss.bBeaten and not EM_Exists(tBoss.sName) then
    Enemy_Create(tBoss.sName, gsEnemyScripts .. tBoss.sKind .. "/CConstructor.lua", tostring(tBoss.fX), tostring(tBoss.fY))
    DL_PopActiveEntity()
    Camera_SetProperty("Boundaries", tBoss.faView[1], tBoss.faView[2], tBoss.faView[3], tBoss.faView[4])
end
