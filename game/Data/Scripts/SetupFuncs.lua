-- SetupFuncs.lua
-- Helpers shared by the other scripts. Runs right after Bootstrap.lua, still before the
-- options exist, so it only defines functions for later scripts to call.

-- Defines a trace switch: a boolean option that starts off. Set it to true in
-- Configuration.lua to see that part of the engine's trace on standard error.
function fnDefineTraceSwitch(sName)
    OM_DefineOption(sName, "B", false)
end

-- Writes one line to the log, whatever the trace switches say.
function fnLog(sText)
    Debug_ForcePrint(sText .. "\n")
end

-- Lays background packs behind the map being set up. Each entry: pack name, picture (a PNG
-- that tools/genbackdrops draws into Graphics/Generated/Backdrops/), the rectangle x1, y1, x2,
-- y2, repeats across and down, and depth (further back is more negative). A pack wider than
-- its drawn picture scrolls slower than the map: drawn W wide in a rectangle R wide, it moves
-- at W / R of the map's pace, so R must leave the picture covering the view at the map's end.
-- Pictures are loaded once a run; the packs go with the map.
function fnLayBackdrops(taPacks)
    local sBackdrops = "Root/Images/Backdrops/Generated/"
    gtBackdropsLoaded = gtBackdropsLoaded or {}
    for i = 1, #taPacks do
        local p = taPacks[i]
        if not gtBackdropsLoaded[p[2]] then
            DL_AddPath(sBackdrops)
            DL_LoadBitmap(gsDataRoot .. "Graphics/Generated/Backdrops/" .. p[2] .. ".png", sBackdrops .. p[2])
            gtBackdropsLoaded[p[2]] = true
        end
        MapBGM_CreatePack(p[1])
        MapBGM_SetPackProperty("Image", sBackdrops .. p[2])
        MapBGM_SetPackProperty("Dimensions", p[3], p[4], p[5], p[6])
        MapBGM_SetPackProperty("Appearances", p[7], p[8])
        MapBGM_SetPackProperty("Depth", p[9])
        MapBGM_SetPackProperty("Activate")
        DL_PopActiveEntity()
    end
end

-- Water over a pool from (fLeft, fTop) to (fRight, fBottom): the see-through water picture of
-- tools/genbackdrops tiled from the surface down. Only a picture: a death pit or a trigger that
-- sets Player_SetProperty("IsInWater", true) gives it an effect. Loaded once a run.
function fnLayWater(sName, fLeft, fTop, fRight, fBottom)
    local sImage = "Root/Images/Backdrops/Generated/PoolWater"
    local sAnimation = "Root/Animations/Backdrops/Generated/PoolWater"
    gtBackdropsLoaded = gtBackdropsLoaded or {}
    if not gtBackdropsLoaded.PoolWater then
        DL_AddPath("Root/Images/Backdrops/Generated/")
        DL_LoadBitmap(gsDataRoot .. "Graphics/Generated/Backdrops/Water.png", sImage)
        DL_AddPath("Root/Animations/Backdrops/Generated/")
        Anim_Create(sAnimation)
        Anim_SetProperty("TotalFrames", 1)
        Anim_SetProperty("TicksPerFrame", 1)
        Anim_SetProperty("Frame", 0, sImage)
        DL_PopActiveEntity()
        gtBackdropsLoaded.PoolWater = true
    end
    Sprite_Create(sName)
    Sprite_SetProperty("AnimationsTotal", 1)
    Sprite_SetProperty("Animation", 0, sAnimation)
    Sprite_SetProperty("UpdatePath", "FUNCOVERRIDE_WATER")
    RE_DefineData("fLeft", "N", fLeft)
    RE_DefineData("fTop", "N", fTop)
    RE_DefineData("fRight", "N", fRight)
    RE_DefineData("fBottom", "N", fBottom)
    DL_PopActiveEntity()
end
