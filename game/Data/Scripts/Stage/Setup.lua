-- Stage/Setup.lua
-- What the sample maps share: checkpoints, the flag that ends a map, and a boss that wakes
-- once a visit.
-- The map scripts call these helpers; the zone triggers they make run the scripts beside this.

gsStageScripts = gsScriptRoot .. "Stage/"

-- A checkpoint over the box faBox (x, y, w, h): once she has touched it, a death brings her
-- back to faRespawn (the top-left of her box, above the ground: she teleports in and drops) with
-- the view's top-left corner at faCamera.
function fnPlaceCheckpoint(sName, faBox, faRespawn, faCamera)
    Checkpoint_Create(sName, faBox[1], faBox[2], faBox[3], faBox[4])
    Checkpoint_SetProperty("Respawn Location", faRespawn[1], faRespawn[2])
    Checkpoint_SetProperty("Camera", faCamera[1], faCamera[2])
    DL_PopActiveEntity()
end

-- The goal: a flag whose pole stands on the ground at (fX, fY), and a zone over it. Touching
-- the zone ends the run: the thanks page, then the title.
function fnPlaceGoal(fX, fY)
    Sprite_Create("GoalFlag")
    Sprite_SetProperty("AnimationsTotal", 1)
    Sprite_SetProperty("Animation", 0, "Root/Animations/Sprites/Goal/Flag")
    Sprite_SetProperty("UpdatePath", "FUNCOVERRIDE_PLAYONCE")
    Sprite_SetProperty("Sizes", 32, 64)
    Sprite_SetProperty("Position", fX + 10, fY - 32)
    DL_PopActiveEntity()

    ZTrigger_Create("Goal")
    ZTrigger_SetProperty("HitboxesTotal", 1)
    ZTrigger_SetProperty("Hitbox", 0, fX - 8, fY - 64, fX + 24, fY)
    ZTrigger_SetProperty("CallData", gsStageScripts .. "GoalReached.lua")
    ZTrigger_SetProperty("NoRefire", true)
    DL_PopActiveEntity()
end

-- A boss that wakes as she enters its arena. A spawn point would bring a beaten boss back
-- whenever the view left and came back, so a one-shot zone makes it instead: after her death
-- (which destroys every enemy) it wakes again at full strength, but once beaten it stays
-- beaten for the rest of the visit. While it fights, the camera holds the arena, so the boss
-- never fights from off the view. Its fall lets go of the camera and raises the goal.
--   tBoss.sName, tBoss.sKind    the enemy's name and its preset folder under Enemies/
--   tBoss.fX, tBoss.fY          its home
--   tBoss.faWake                the zone that wakes it: left, top, right, bottom
--   tBoss.faView                the camera's boundaries during the fight (one view's size)
--   tBoss.faLevel               the camera's boundaries afterwards
--   tBoss.fGoalX, tBoss.fGoalY  where the goal's flag stands
-- Runs from the map script, so a new visit starts with the boss unbeaten.
function fnStageBoss(tBoss)
    fnCheckBossView(tBoss)
    tBoss.bBeaten = false
    gtStageBoss = tBoss
    ZTrigger_Create(tBoss.sName .. "Wakes")
    ZTrigger_SetProperty("HitboxesTotal", 1)
    ZTrigger_SetProperty("Hitbox", 0, tBoss.faWake[1], tBoss.faWake[2], tBoss.faWake[3], tBoss.faWake[4])
    ZTrigger_SetProperty("CallData", gsStageScripts .. "BossWakes.lua")
    ZTrigger_SetProperty("NoRefire", true)
    DL_PopActiveEntity()
end

-- The camera shows one view, 480 by 360: a larger faView lets it roam the arena, a smaller one
-- shows past the arena's edges and can leave her off the view. The game plays on either way,
-- so the author is told which map script line gave it.
function fnCheckBossView(tBoss)
    local faView = tBoss.faView
    local tCaller = debug.getinfo(3, "l")
    local sWhere = string.format("fnStageBoss: %s:%d: %s's faView", LM_GetCallStack(0) or "?",
                                 tCaller and tCaller.currentline or 0, tostring(tBoss.sName))
    if type(faView) ~= "table" or #faView < 4 then
        fnLog(sWhere .. " is missing; it must be {left, top, right, bottom}, one view of 480 by 360")
        return
    end
    local fW, fH = faView[3] - faView[1], faView[4] - faView[2]
    if fW == 480 and fH == 360 then return end
    fnLog(string.format("%s (%g, %g, %g, %g) is %g by %g; it must be one view, 480 by 360 (right = left + 480, " ..
                        "bottom = top + 360)", sWhere, faView[1], faView[2], faView[3], faView[4], fW, fH))
end

-- Called by a boss's destruction script with the enemy active.
function fnStageBossFell()
    local tBoss = gtStageBoss
    if not tBoss or tBoss.bBeaten or Enemy_GetProperty("Name") ~= tBoss.sName then return end
    tBoss.bBeaten = true
    Camera_SetProperty("Boundaries", tBoss.faLevel[1], tBoss.faLevel[2], tBoss.faLevel[3], tBoss.faLevel[4])
    fnPlaceGoal(tBoss.fGoalX, tBoss.fGoalY)
    fnLog("Stage: " .. tBoss.sName .. " beaten, the goal is open")
end
