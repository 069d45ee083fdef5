-- Startup.lua
-- Loads the game's resources. The game has none to load yet; this reports the settings the
-- run started with so a log shows at a glance how the window was configured.

fnLog(string.format("Startup: scripts from %s, window %d by %d, fullscreen %s, whole-multiple scaling %s",
    gsScriptRoot,
    OM_GetOption("WinSizeX"), OM_GetOption("WinSizeY"),
    tostring(OM_GetOption("Fullscreen")), tostring(OM_GetOption("ForceDirectAspectRatios"))))
