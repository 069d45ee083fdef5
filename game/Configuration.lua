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
OM_DefineOption("HasteRate", "N", 1.0)       -- game speed multiplier

-- Trace switches, all off. Turn one on to follow that part of the engine in the log.
fnDefineTraceSwitch("Debug_MainLoop")
fnDefineTraceSwitch("Debug_GameGear")
fnDefineTraceSwitch("Debug_GameGearRender")
fnDefineTraceSwitch("Debug_LevelSelectGear")
fnDefineTraceSwitch("Debug_LevelSelectGearRender")
fnDefineTraceSwitch("Debug_LoadResources")
fnDefineTraceSwitch("Debug_ExtensiveJoystick")
