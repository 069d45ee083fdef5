-- Script control that gives up once gQuit is set: it empties its owner's movement queue, itself
-- included, from inside its own step.
gQuitRuns = (gQuitRuns or 0) + 1
if gQuit then
    AISC_PushOwner()
    Enemy_PushPropertyAsActiveObject("AIMovementHandler")
    AIMovementHandler_ClearAllMovements()
    DL_PopActiveEntity()
    DL_PopActiveEntity()
end
