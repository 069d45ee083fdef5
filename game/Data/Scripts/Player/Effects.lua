-- Player/Effects.lua
-- Effects that play once and vanish: dust from her feet, the buster's muzzle flashes and the
-- burst where a shot strikes. The scripts in Data/Scripts/Sprites/ and the buster's hooks
-- spawn them through fnSpawnPlayerEffect.

local sFrames = "Root/Images/Effects/Kestra/"
gsPlayerEffects = "Root/Animations/Effects/Kestra/"
DL_AddPath(gsPlayerEffects)

-- name, pictures, ticks per frame.
local taEffects = {
    {"DustCloud", 4, 5},
    {"DustSlide", 4, 4},
    {"DashKickup", 4, 4},
    {"FlashMedium", 3, 3},
    {"FlashFull", 3, 3},
    {"ShotHit", 3, 3},
}
for i = 1, #taEffects do
    local sName, iCount, fTicks = taEffects[i][1], taEffects[i][2], taEffects[i][3]
    fnLoadPlayerFrames(sFrames, sName, iCount)
    fnBuildAnimation(gsPlayerEffects .. sName, sFrames, sName, fnFrameRange(iCount), fTicks)
end

-- Places the effect's picture with its top-left corner at (fLeft, fTop) and lets it play once.
-- The sprite keeps the library's active object as it found it.
-- The sprite family arrives later than the player: until the engine offers Sprite_Create the
-- effects are skipped quietly, so her moves and shots work without them.
function fnSpawnPlayerEffect(sName, sEffect, fLeft, fTop, fWidth, fHeight, bMirrored)
    if Sprite_Create == nil then
        return
    end
    Sprite_Create(sName)
    Sprite_SetProperty("AnimationsTotal", 1)
    Sprite_SetProperty("Animation", 0, gsPlayerEffects .. sEffect)
    Sprite_SetProperty("Sizes", fWidth, fHeight)
    Sprite_SetProperty("Position", fLeft + fWidth / 2, fTop + fHeight / 2)
    Sprite_SetProperty("UpdatePath", "FUNCOVERRIDE_PLAYONCE")
    Sprite_SetProperty("Lifetime", -2)
    if bMirrored then
        Sprite_SetProperty("Flip", 1)
    end
    DL_PopActiveEntity()
end

-- The spawn scripts all receive the sprite's name, a point and whether to mirror it.
function fnReadEffectArguments(sScript)
    if LM_GetNumOfArgs() < 4 then
        fnLog(sScript .. ": needs a name, x, y and a mirror flag")
        return nil
    end
    local sName = LM_GetScriptArgument(0)
    local fX = tonumber(LM_GetScriptArgument(1)) or 0
    local fY = tonumber(LM_GetScriptArgument(2)) or 0
    local bMirrored = (tonumber(LM_GetScriptArgument(3)) or 0) ~= 0
    return sName, fX, fY, bMirrored
end
