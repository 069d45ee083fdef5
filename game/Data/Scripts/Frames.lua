-- Frames.lua
-- The shared steps from numbered frame pictures to animations. The generators draw one file
-- per frame, sStem00 .. sStem(iCount - 1); the player, the enemies and the machines all load
-- and assemble them the same way.

-- Loads the frames sStem00 .. sStem(iCount - 1) from the folder sArt into the library heading
-- sHeading (a path that ends in "/"), under the same names.
function fnLoadFrames(sArt, sHeading, sStem, iCount)
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

-- 0 .. iCount - 1, the usual order.
function fnFrameRange(iCount)
    local iaOrder = {}
    for i = 0, iCount - 1 do
        iaOrder[#iaOrder + 1] = i
    end
    return iaOrder
end
