#include "core/DebugPrint.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

extern "C" {
#include <lauxlib.h>
#include <lualib.h>
}

#include <string>

// The sample game's frame helpers, run from their own files with the loading bindings stood in
// for by a counter. A count that never ends a helper's loop is cut off by an instruction budget
// instead of hanging the test.
namespace
{
    void StopRunaway(lua_State *L, lua_Debug *pDebug)
    {
        luaL_error(L, "ran past the instruction budget");
    }

    // What the chunk printed, or the error it stopped with.
    std::string RunWithinBudget(lua_State *L, const std::string &pChunk)
    {
        lua_sethook(L, StopRunaway, LUA_MASKCOUNT, 1000000);
        testing::internal::CaptureStderr();
        const int tResult = luaL_dostring(L, pChunk.c_str());
        std::string tOut = CapturedStderr();
        lua_sethook(L, nullptr, 0, 0);
        if(tResult != 0) tOut = "error: " + std::string(lua_tostring(L, -1));
        lua_settop(L, 0);
        return tOut;
    }
}

TEST(FrameHelpers, CountsThatAreNotFiniteWholeNumbersAreRefusedByName)
{
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    RegisterDebugLua(L);
    const std::string cScripts = std::string(CORVEL_SOURCE_DIR) + "/game/Data/Scripts/";
    ASSERT_EQ(luaL_dofile(L, (cScripts + "SetupFuncs.lua").c_str()), 0) << lua_tostring(L, -1);
    ASSERT_EQ(luaL_dofile(L, (cScripts + "Frames.lua").c_str()), 0) << lua_tostring(L, -1);
    ASSERT_EQ(luaL_dostring(L, "giLoads = 0 function DL_AddPath() end function DL_LoadBitmap() giLoads = giLoads + 1 end"), 0);

    const std::string cReport = " fnLog(#gtRange .. ' ' .. tostring(gtRange[#gtRange]) .. ' ' .. giLoads)";
    EXPECT_EQ(RunWithinBudget(L, "gtRange = fnFrameRange(3) fnLoadFrames('Art/', 'A/', 'Run', 3)" + cReport), "3 2 3\n");
    for(const char *rCount : {"1/0", "-1/0", "0/0", "2.5", "nil"})
    {
        const std::string tCalls = std::string("gtRange = fnFrameRange(") + rCount + ") fnLoadFrames('Art/', 'A/', 'Run', " + rCount + ")";
        std::string tValue = RunWithinBudget(L, std::string("fnLog(tostring(") + rCount + "))");
        tValue.pop_back();
        EXPECT_EQ(RunWithinBudget(L, tCalls + cReport), "fnFrameRange: " + tValue + " is not a finite whole number\nfnLoadFrames: " +
                                                            tValue + " is not a finite whole number\n0 nil 3\n")
            << rCount;
    }
    lua_close(L);
}
