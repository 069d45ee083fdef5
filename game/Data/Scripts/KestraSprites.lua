-- KestraSprites.lua
-- Kestra's frames and palette come from one lump file (built from Data/Sources/Kestra.manifest);
-- her animations are then put together from those frames.

local sPackPath = gsDataRoot .. "Graphics/Generated/Kestra.slf"
local sFrames = "Root/Images/Kestra/Frames/"
local sAnims = "Root/Animations/Kestra/Base/"

SLF_Open(sPackPath)
if not SLF_IsFileOpen() then
    fnLog("KestraSprites: " .. sPackPath .. " did not open, Kestra has no sprites")
    return
end

DL_AddPath(sFrames)
local saFrameNames = { "Idle0", "Idle1", "Blink", "Run0", "Run1", "Run2", "Run3", "Jump" }
for i = 1, #saFrameNames do
    DL_ExtractBitmap(saFrameNames[i], sFrames .. saFrameNames[i])
end

-- Base colours plus the variants "Sky", "Ember", "Frost" and "Moss".
DL_AddPath("Root/Other/Palettes/Kestra/")
DL_ExtractPalette("Kestra", "Root/Other/Palettes/Kestra/All")

SLF_Close()

-- Anim_Create makes the new animation the active object and saves the previous one;
-- DL_PopActiveEntity puts that one back once the animation is complete.
DL_AddPath(sAnims)

-- Standing: a slow breath with a blink at the end, so each frame keeps its own time.
Anim_Create(sAnims .. "Idle")
Anim_SetProperty("TotalFrames", 4)
Anim_SetProperty("ManualTiming", true)
Anim_SetProperty("Frame", 0, sFrames .. "Idle0", 50)
Anim_SetProperty("Frame", 1, sFrames .. "Idle1", 30)
Anim_SetProperty("Frame", 2, sFrames .. "Idle0", 50)
Anim_SetProperty("Frame", 3, sFrames .. "Blink", 6)
DL_PopActiveEntity()

-- Running: four strides at an even pace.
Anim_Create(sAnims .. "Run")
Anim_SetProperty("TotalFrames", 4)
Anim_SetProperty("TicksPerFrame", 6)
for i = 0, 3 do
    Anim_SetProperty("Frame", i, sFrames .. "Run" .. i)
end
DL_PopActiveEntity()

-- In the air: one held frame.
Anim_Create(sAnims .. "Jump")
Anim_SetProperty("TotalFrames", 1)
Anim_SetProperty("Frame", 0, sFrames .. "Jump")
DL_PopActiveEntity()
