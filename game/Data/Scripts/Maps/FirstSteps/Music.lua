-- Maps/FirstSteps/Music.lua
-- The ladder's zone trigger: the stage music starts when she reaches the ladder or the ledge.
fnLog("FirstSteps: music at the ladder, slot " .. tostring(ZTrigger_GetProperty("GetActiveHitboxSlot")))
AudioManager_PlayMusic("StageSelect")
