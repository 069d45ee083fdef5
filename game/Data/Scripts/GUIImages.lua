-- GUIImages.lua
-- The interface pieces, loaded loose from the pictures tools/genimages draws.
-- A heading must exist before anything is added under it, hence a DL_AddPath before each group.

local sGUIFolder = gsDataRoot .. "Graphics/Generated/GUI/"

DL_AddPath("Root/Images/GUI/HealthBar/")
DL_LoadBitmap(sGUIFolder .. "HealthBarCap.png",   "Root/Images/GUI/HealthBar/Cap")
DL_LoadBitmap(sGUIFolder .. "HealthBarPoint.png", "Root/Images/GUI/HealthBar/Point")

DL_AddPath("Root/Images/GUI/Overlay/")
DL_LoadBitmap(sGUIFolder .. "HealthChip.png", "Root/Images/GUI/Overlay/HealthChip")

-- Shown when a stage begins.
DL_AddPath("Root/Images/Kestra/Misc/")
DL_LoadBitmap(sGUIFolder .. "Ready.png", "Root/Images/Kestra/Misc/Ready")

-- Four stripes in Kestra's palette colours over two that never change: drawn under a palette
-- variant it shows at a glance whether the swap takes.
DL_AddPath("Root/Images/Debug/Palette/")
DL_LoadBitmap(gsDataRoot .. "Graphics/Generated/PaletteTest.png", "Root/Images/Debug/Palette/TestCard")
