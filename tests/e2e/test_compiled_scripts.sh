# Script files on disk are read as text only: a compiled chunk, damaged or whole, is refused by
# name and the game boots on to the title without it, then ends cleanly on request.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_copy_game
# Bootstrap runs before the configuration is read: it writes a damaged chunk over
# Configuration.lua and a whole one beside the other scripts, which Startup.lua then runs.
cat >> "$GAME_DIR/Bootstrap.lua" <<'LUA'
local sChunk = string.dump(function() gbCompiledRan = true end)
local sDamaged = sChunk:sub(1, 24) .. sChunk:sub(25):gsub(".", function(c) return string.char((c:byte() * 7 + 91) % 256) end)
for sPath, sBytes in pairs({["Configuration.lua"] = sDamaged, [gsScriptRoot .. "Whole.lua"] = sChunk}) do
    local fOut = assert(io.open(sPath, "wb"))
    fOut:write(sBytes)
    fOut:close()
end
LUA
printf '\nLM_ExecuteScript(gsScriptRoot .. "Whole.lua")\nfnLog("compiled ran: " .. tostring(gbCompiledRan))\n' \
    >> "$GAME_DIR/Data/Scripts/Startup.lua"

e2e_start "$SCRATCH/compiled.log" -startupdebug
e2e_wait_for "$LOG" "[Post Process] Complete" || e2e_fail "boot did not finish"
e2e_stop TERM
[ "$STATUS" -eq 0 ] || e2e_fail "exit status $STATUS"

e2e_expect_text "$LOG" "Lua Error during Loading: Configuration.lua holds a compiled chunk; only script text is loaded"
e2e_expect_text "$LOG" "Lua Error during Loading: Data/Scripts/Whole.lua holds a compiled chunk; only script text is loaded"
e2e_expect_text "$LOG" "compiled ran: nil"
e2e_expect_text "$LOG" "Shifted to title screen"
echo "PASS"
