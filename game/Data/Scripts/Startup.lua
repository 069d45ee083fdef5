-- Startup.lua
-- Loads the game's resources into the data library. The engine shows the loading screen
-- while this runs: every picture uploaded here moves its bar on.
--
-- Fonts need nothing here: the engine makes the system font "Root/Fonts/All/All/SystemFont"
-- from Data/TransRobot.ttf after this script, and the menu alphabet is read straight from
-- Data/Graphics/Text/MenuAlphabet.png by the screen that draws with it.

fnLog(string.format("Startup: scripts from %s, window %d by %d, fullscreen %s, whole-multiple scaling %s",
    gsScriptRoot,
    OM_GetOption("WinSizeX"), OM_GetOption("WinSizeY"),
    tostring(OM_GetOption("Fullscreen")), tostring(OM_GetOption("ForceDirectAspectRatios"))))

-- The game's art is pixel art drawn at whole multiples: sample the nearest texel, and clamp at
-- the edges so a scaled picture never pulls in the border colour. These settings hold for
-- every picture loaded after them.
ALB_SetTextureProperty("MinFilter", DM_GetEnumeration("GL_NEAREST"))
ALB_SetTextureProperty("MagFilter", DM_GetEnumeration("GL_NEAREST"))
ALB_SetTextureProperty("Wrap S", DM_GetEnumeration("GL_CLAMP_TO_EDGE"))
ALB_SetTextureProperty("Wrap T", DM_GetEnumeration("GL_CLAMP_TO_EDGE"))

LM_ExecuteScript(gsScriptRoot .. "Frames.lua")
LM_ExecuteScript(gsScriptRoot .. "GUIImages.lua")
LM_ExecuteScript(gsScriptRoot .. "KestraSprites.lua")
LM_ExecuteScript(gsScriptRoot .. "Player/Setup.lua")
LM_ExecuteScript(gsScriptRoot .. "Enemies/Setup.lua")
LM_ExecuteScript(gsScriptRoot .. "Sprites/Machines.lua")
LM_ExecuteScript(gsScriptRoot .. "Audio.lua")
LM_ExecuteScript(gsScriptRoot .. "Stage/Setup.lua")

-- Typed in the console as /signpost: a short dialogue with two decisions.
LM_NewMacro("signpost", 'LM_ExecuteScript(gsScriptRoot .. "Dialogue/Signpost.lua")')
