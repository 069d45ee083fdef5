-- A sprite's mono script: records each event it is called with, and on the drawing event picks
-- the picture the test asks for through gaSpritePick (animation, frame).
local iEvent = tonumber(LM_GetScriptArgument(0)) or -1
gsSpriteEvents = (gsSpriteEvents or "") .. tostring(iEvent) .. " "
if iEvent == 2 and gaSpritePick then
    Sprite_SetAnimationProperties(gaSpritePick[1], gaSpritePick[2], 0, 0)
end
local fX, fY = Sprite_GetProperty("Position")
gfSpriteX = fX
