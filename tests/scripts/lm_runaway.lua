-- A script that never returns once the quit is asked: only the quit check can end it.
iBeforeQuit = true
AskQuit()
local n = 0
while true do n = n + 1 end
