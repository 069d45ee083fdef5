-- Frames.lua
-- The shared steps from numbered frame pictures to animations. The generators draw one file
-- per frame, sStem00 .. sStem(iCount - 1); the player, the enemies and the machines all load
-- and assemble them the same way.

-- A count of frames must end its loop and name whole frames: an endless one would hang the
-- boot, a fraction would stop between two. Anything else is named and refused.
local function fnIsFrameCount(sHelper, iCount)
    local fCount = tonumber(iCount)
    if fCount and fCount == math.floor(fCount) and math.abs(fCount) ~= math.huge then
        return true
    end
    fnLog(sHelper .. ": " .. tostring(iCount) .. " is not a finite whole number")
    return false
end

-- Loads the frames sStem00 .. sStem(iCount - 1) from the folder sArt into the library heading
-- sHeading (a path that ends in "/"), under the same names.
function fnLoadFrames(sArt, sHeading, sStem, iCount)
    if not fnIsFrameCount("fnLoadFrames", iCount) then return end
    DL_AddPath(sHeading)
    for i = 0, iCount - 1 do
        local sName = string.format("%s%02d", sStem, i)
        DL_LoadBitmap(sArt .. sName .. ".png", sHeading .. sName)
    end
end

-- Builds the animation sPath from frames already loaded under sHeading. iaOrder lists the
-- frame numbers to show, in order, so one picture can appear twice; fTicks is each frame's
-- length. Animations that the engine shows by frame number rather than by clock still get a
-- length, which only matters if something ever plays them.
function fnBuildAnimation(sPath, sHeading, sStem, iaOrder, fTicks)
    Anim_Create(sPath)
    Anim_SetProperty("TotalFrames", #iaOrder)
    Anim_SetProperty("TicksPerFrame", fTicks)
    for i = 1, #iaOrder do
        Anim_SetProperty("Frame", i - 1, string.format("%s%s%02d", sHeading, sStem, iaOrder[i]))
    end
    DL_PopActiveEntity()
end

-- 0 .. iCount - 1, the usual order; empty for a count that is refused.
function fnFrameRange(iCount)
    local iaOrder = {}
    if not fnIsFrameCount("fnFrameRange", iCount) then return iaOrder end
    for i = 0, iCount - 1 do
        iaOrder[#iaOrder + 1] = i
    end
    return iaOrder
end
