-- Maps/ForgeGate/DoorPassed.lua
-- Runs once the boss door has closed behind her: the camera follows her again.
Camera_SetProperty("ScriptControl", "NULL")
fnLog("ForgeGate: through the boss door")
