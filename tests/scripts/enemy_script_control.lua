-- Script control: counts its own runs and steps the owner right by its "Speed" property.
gTimer = AISC_GetProperty("Timer")
local tSpeed = AISC_GetProperty("Speed")
AISC_PushOwner()
if(DL_GetActiveObjectType() == 11) then
    local tX, tY = Enemy_GetProperty("Position")
    Enemy_SetProperty("Position", tX + tSpeed, tY)
end
DL_PopActiveEntity()
