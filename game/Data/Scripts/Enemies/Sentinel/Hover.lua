-- Sentinel's script control: bobs 6 units above and below its home height, one sway in 120
-- ticks. Runs with the movement active; its owner is pushed to be moved.
local iTimer = AISC_GetProperty("Timer")
local fHomeY = AISC_GetProperty("HomeY")
AISC_PushOwner()
local fX = Enemy_GetProperty("Position")
Enemy_SetProperty("Position", fX, fHomeY + 6 * math.sin(iTimer * math.pi / 60))
DL_PopActiveEntity()
