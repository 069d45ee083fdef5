-- Player/Setup.lua
-- Kestra's in-game content: her body animations, the buster's shots and charge sparks, and the
-- small effects her moves kick up. The pictures are drawn by tools/genplayerart and
-- tools/genshotart into Data/Graphics/Generated/Player/, one file per frame, numbered from 00.

gsPlayerArt = gsDataRoot .. "Graphics/Generated/Player/"

-- Loads the frames sStem00 .. sStem(iCount - 1) of her art into the library heading sHeading.
function fnLoadPlayerFrames(sHeading, sStem, iCount)
    fnLoadFrames(gsPlayerArt, sHeading, sStem, iCount)
end

LM_ExecuteScript(gsScriptRoot .. "Player/Body.lua")
LM_ExecuteScript(gsScriptRoot .. "Player/Buster.lua")
LM_ExecuteScript(gsScriptRoot .. "Player/Effects.lua")
