-- Configuration.lua
-- Player settings, read from disk at every start after the built-in options exist.

-- Window: size in pixels, and how the 480 by 360 view fits into it. With
-- ForceDirectAspectRatios the view is scaled by whole multiples only.
OM_SetOption("WinSizeX", 800)
OM_SetOption("WinSizeY", 600)
OM_SetOption("Fullscreen", false)
OM_SetOption("ForceDirectAspectRatios", false)

-- Options the game reads that are not built in.
OM_DefineOption("ShowHitboxes", "B", false)  -- outline collision boxes
OM_DefineOption("GodMode", "B", false)       -- the player takes no damage
OM_DefineOption("HasteRate", "N", 180.0)     -- ticks a second while "SpeedUp" is held

-- Controls. The sixteen defaults are built in (the README lists them); the hotkeys below start
-- unbound. CM_Rebind(control, first, second) replaces both binding sets of a control; each is
-- "KEY<Allegro key code>", "MOS<mouse button from 1>", "JOYBTN<button>",
-- "JOYSTK_<stick>_<axis>_<P or N>", or nil for none.
CM_Rebind("CloseGame", "KEY59", nil)       -- Escape: closes the top screen; in play, pauses
CM_Rebind("ToggleHitboxes", "KEY47", nil)  -- F1: outlines collision boxes
CM_Rebind("SpeedUp", "KEY48", nil)         -- F2 held: runs at HasteRate
CM_Rebind("SlowDown", "KEY49", nil)        -- F3 held: runs at 10 ticks a second
CM_Rebind("Console", "KEY60", nil)         -- the key left of 1: developer console
CM_Rebind("Select", "KEY64", nil)          -- Tab: confirms a choice in console dialogue
CM_Rebind("ConnectToPlinkard", "KEY50", nil) -- F4: connects to the music tool (tools/plinkpeer)
-- 1 to 8 pick the special weapons in the order the pause screen's status page shows them (its
-- Left and Right step through them the same way), 9 the buster. The controls "Weapon1" to
-- "Weapon8" name her weapons in her own order, which the page does not follow.
CM_Rebind("Weapon1", "KEY28", nil)         -- 1: Lightning Bit
CM_Rebind("Weapon3", "KEY29", nil)         -- 2: Prism Gale
CM_Rebind("Weapon5", "KEY30", nil)         -- 3: Sonic Blaster
CM_Rebind("Weapon7", "KEY31", nil)         -- 4: Rock Wrecker
CM_Rebind("Weapon2", "KEY32", nil)         -- 5: Nightmare Cutter
CM_Rebind("Weapon6", "KEY33", nil)         -- 6: Permafrost Cannon
CM_Rebind("Weapon4", "KEY34", nil)         -- 7: Chaos Gun
CM_Rebind("Weapon8", "KEY35", nil)         -- 8: Caustic Spray
CM_Rebind("Weapon9", "KEY36", nil)         -- 9: the buster

-- Trace switches, all off. Turn one on to follow that part of the engine in the log.
fnDefineTraceSwitch("Debug_MainLoop")
fnDefineTraceSwitch("Debug_GameGear")
fnDefineTraceSwitch("Debug_GameGearRender")
fnDefineTraceSwitch("Debug_LevelSelectGear")
fnDefineTraceSwitch("Debug_LevelSelectGearRender")
fnDefineTraceSwitch("Debug_LoadResources")
fnDefineTraceSwitch("Debug_ExtensiveJoystick")
fnDefineTraceSwitch("Debug_ControlManager")
