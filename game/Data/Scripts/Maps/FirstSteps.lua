-- FirstSteps.lua
-- Set-up of the training ground. Runs when the map is entered from another map or from the
-- menus; reloading the map after a death keeps what this made. The map's one argument is -2.

-- Start on the left, standing on the floor (its top is at y = 448).
MapM_SetPlayerStart(40, 400, 0)

-- The ladder in column 26 runs from the floor up to the ledge on the right; its top, at
-- y = 224, is a floor for anyone standing on it.
if Ladder_Create then
    Ladder_Create("FirstStepsLadder", 416, 224, 432, 448)
end

-- The plateau's cliff edge and the floating ledge: points a test can read back.
if fnLog then
    fnLog(string.format("FirstSteps: floor solid %s, air free %s",
        tostring(MapM_GetWorldClip(100, 460)), tostring(not MapM_GetWorldClip(100, 300))))
end
