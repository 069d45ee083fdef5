-- Maps/ForgeGate/Platform.lua
-- Logic of a ForgeGate platform (the active object): a step along its loop each tick. The
-- platform carries whoever stands on it by however far this moves it.
local fTick = RE_GetData("fTick", "N") + 1
RE_SetData("fTick", "N", fTick)
local fAngle = fTick * 2 * math.pi / RE_GetData("fPeriod", "N")
Proj_SetProperty("Position", RE_GetData("fX0", "N") + RE_GetData("fAmpX", "N") * math.sin(fAngle),
                 RE_GetData("fY0", "N") - RE_GetData("fAmpY", "N") * math.sin(fAngle))
