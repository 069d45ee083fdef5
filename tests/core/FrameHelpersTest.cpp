#include "core/DebugPrint.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

extern "C" {
#include <lauxlib.h>
#include <lualib.h>
}

#include <string>

// The sample game's frame helpers, run from their own files with the loading bindings stood in
// for by counters. A count that never ends the helper's loop is cut off by an instruction budget
// instead of hanging the test.
namespace
{
    void StopRunaway(lua_State *L, lua_Debug *pDebug)
    {
        luaL_error(L, "ran past the instruction budget");
    }

    class FrameHelpersTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            L = luaL_newstate();
            luaL_openlibs(L);
            RegisterDebugLua(L);
            const std::string cScripts = std::string(CORVEL_SOURCE_DIR) + "/game/Data/Scripts/";
            ASSERT_EQ(luaL_dofile(L, (cScripts + "SetupFuncs.lua").c_str()), 0) << lua_tostring(L, -1);
            ASSERT_EQ(luaL_dofile(L, (cScripts + "Frames.lua").c_str()), 0) << lua_tostring(L, -1);
            ASSERT_EQ(luaL_dostring(L, "giLoads = 0\n"
                                       "function DL_AddPath(s) end\n"
                                       "function DL_LoadBitmap(a, b) giLoads = giLoads + 1 end\n"), 0);
        }

        void TearDown() override { lua_close(L); }

        // Runs the chunk within the budget; what it printed, or the error it stopped with.
        std::string Run(const char *pChunk)
        {
            lua_sethook(L, StopRunaway, LUA_MASKCOUNT, 1000000);
            testing::internal::CaptureStderr();
            const int tResult = luaL_dostring(L, pChunk);
            std::string tOut = CapturedStderr();
            lua_sethook(L, nullptr, 0, 0);
            if(tResult != 0) tOut = "error: " + std::string(lua_tostring(L, -1));
            lua_settop(L, 0);
            return tOut;
        }

        double Number(const char *pChunk)
        {
            luaL_dostring(L, pChunk);
            const double tValue = lua_tonumber(L, -1);
            lua_settop(L, 0);
            return tValue;
        }

        lua_State *L;
    };
}

TEST_F(FrameHelpersTest, CountsThatAreNotFiniteWholeNumbersAreRefusedByName)
{
    EXPECT_EQ(Run("gtRange = fnFrameRange(3) fnLoadFrames('Art/', 'Root/Images/A/', 'Run', 3)"), "");
    EXPECT_EQ(Number("return #gtRange * 100 + gtRange[1] * 10 + gtRange[3]"), 302);
    EXPECT_EQ(Number("return giLoads"), 3);

    for(const char *rCount : {"1/0", "-1/0", "0/0", "2.5", "nil"})
    {
        const std::string tRange = std::string("gtRange = fnFrameRange(") + rCount + ")";
        const std::string tLoad = std::string("fnLoadFrames('Art/', 'Root/Images/A/', 'Run', ") + rCount + ")";
        EXPECT_NE(Run(tRange.c_str()).find("fnFrameRange: "), std::string::npos) << rCount;
        EXPECT_EQ(Number("return #gtRange"), 0) << rCount;
        const std::string tOut = Run(tLoad.c_str());
        EXPECT_NE(tOut.find("fnLoadFrames: "), std::string::npos) << rCount << ": " << tOut;
        EXPECT_NE(tOut.find(" is not a finite whole number\n"), std::string::npos) << rCount << ": " << tOut;
    }
    EXPECT_EQ(Run("fnFrameRange(1/0)"), "fnFrameRange: inf is not a finite whole number\n");
    EXPECT_EQ(Number("return giLoads"), 3);
}
