-- GUIImages.lua
-- The interface pieces, loaded loose from the pictures tools/genscreenart draws, and the two
-- overlays that keep their place in the view from their trimmed pack.
-- A heading must exist before anything is added under it, hence a DL_AddPath before each group.

local sScreens = gsDataRoot .. "Graphics/Generated/Screens/"

DL_AddPath("Root/Images/GUI/HealthBar/")
DL_LoadBitmap(sScreens .. "HealthCap.png", "Root/Images/GUI/HealthBar/Cap")
DL_LoadBitmap(sScreens .. "HealthPoint.png", "Root/Images/GUI/HealthBar/Point")
DL_LoadBitmap(sScreens .. "HealthFrame.png", "Root/Images/GUI/HealthBar/Frame")
DL_LoadBitmap(sScreens .. "SelectorsA.png",  "Root/Images/GUI/HealthBar/SelectorsA")
DL_LoadBitmap(sScreens .. "SelectorsB.png",  "Root/Images/GUI/HealthBar/SelectorsB")
local saWeapons = {"Lightning Bit", "Nightmare Cutter", "Prism Gale", "Chaos Gun", "Sonic Blaster",
                   "Permafrost Cannon", "Rock Wrecker", "Caustic Spray"}
for i = 1, #saWeapons do
    DL_LoadBitmap(sScreens .. "Weapon " .. saWeapons[i] .. ".png", "Root/Images/GUI/HealthBar/" .. saWeapons[i])
end

-- The boss bar's frame stands where its offset puts it, and its chips follow that offset.
DL_AddPath("Root/Images/GUI/Overlay/")
DL_LoadBitmap(sScreens .. "HealthChip.png", "Root/Images/GUI/Overlay/HealthChip")
DL_AddPath("Root/Images/Kestra/Misc/")
local sOverlays = gsDataRoot .. "Graphics/Generated/Overlays.slf"
SLF_Open(sOverlays)
if SLF_IsFileOpen() then
    DL_ExtractBitmap("BossHealthBar", "Root/Images/GUI/Overlay/BossHealthBar")
    -- Shown over the view while she arrives at a stage.
    DL_ExtractBitmap("Ready", "Root/Images/Kestra/Misc/Ready")
    SLF_Close()
else
    fnLog("GUIImages: " .. sOverlays .. " did not open, no boss bar and no READY")
end

-- The pause screen's pages and overlays; their names hold blanks.
DL_AddPath("Root/Images/GUI/PauseMenu/")
local saPause = {"PauseContinue", "PauseRestart", "PauseQuit", "Pause Base", "Password Base", "Keybindings Base",
                 "EscapeA", "EscapeB", "EscapeC", "Push L", "Push R", "HealthBar", "Health Point",
                 "IsSelectedBuster", "IsSelectedOther", "Password Arrow", "Reticule", "SoundBarA", "SoundBarB",
                 "Subtank", "TextBox", "KBCap", "Password Numbers"}
for i = 1, #saPause do
    DL_LoadBitmap(sScreens .. saPause[i] .. ".png", "Root/Images/GUI/PauseMenu/" .. saPause[i])
end

-- The title animation (frame 0 is never shown but is looked up like the others) and the
-- thanks page with its two small loops.
DL_AddPath("Root/Images/GUI/TitleScreen/")
for i = 0, 85 do
    local sName = string.format("TitleScreen%03d", i)
    DL_LoadBitmap(sScreens .. sName .. ".png", "Root/Images/GUI/TitleScreen/" .. sName)
end
DL_AddPath("Root/Images/GUI/ThanksForPlaying/")
DL_LoadBitmap(sScreens .. "ThanksForPlaying.png", "Root/Images/GUI/ThanksForPlaying/ThanksForPlaying")
for i = 0, 5 do
    DL_LoadBitmap(sScreens .. "Portrait" .. i .. ".png", "Root/Images/GUI/ThanksForPlaying/Portrait" .. i)
end
for i = 0, 2 do
    DL_LoadBitmap(sScreens .. "Screen" .. i .. ".png", "Root/Images/GUI/ThanksForPlaying/Screen" .. i)
end

-- Four stripes in Kestra's palette colours over two that never change: drawn under a palette
-- variant it shows at a glance whether the swap takes.
DL_AddPath("Root/Images/Debug/Palette/")
DL_LoadBitmap(gsDataRoot .. "Graphics/Generated/PaletteTest.png", "Root/Images/Debug/Palette/TestCard")
