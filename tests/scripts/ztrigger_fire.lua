-- Counts the calls of a zone trigger and records the number it passed and its active slot.
giZoneCalls = (giZoneCalls or 0) + 1
gsZoneArgument = LM_GetScriptArgument(0)
giZoneSlot = ZTrigger_GetProperty("GetActiveHitboxSlot")
