#include "core/Application.h"
#include "core/ConsoleCommands.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/ScriptPackEntry.h"
#include "core/RootObject.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpWriter.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
    const std::string cScripts = std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/";

    std::string Script(const char *pName)
    {
        return cScripts + pName;
    }


    class LuaManagerTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mManager = new LuaManager();
            mPrevious = GetApplication()->mLuaManager;
            GetApplication()->mLuaManager = mManager;
            L = mManager->GetState();
        }

        void TearDown() override
        {
            GetApplication()->mLuaManager = mPrevious;
            delete mManager;
            SetLuaSilenceFlag(0);
        }

        std::string GlobalString(const char *pName)
        {
            lua_getglobal(L, pName);
            const char *rText = lua_tostring(L, -1);
            std::string tResult = rText ? rText : "<nil>";
            lua_pop(L, 1);
            return tResult;
        }

        bool GlobalBool(const char *pName)
        {
            lua_getglobal(L, pName);
            bool tResult = lua_toboolean(L, -1) != 0;
            lua_pop(L, 1);
            return tResult;
        }

        double GlobalNumber(const char *pName)
        {
            lua_getglobal(L, pName);
            double tResult = lua_tonumber(L, -1);
            lua_pop(L, 1);
            return tResult;
        }

        bool Run(const char *pText)
        {
            return mManager->RunChunkText(pText) && mManager->Execute();
        }

        // An array of entries as the lump reader would hand them over (malloc'd).
        ScriptPackEntry **Pack(const char *const *pNamesAndSources, int32_t pCount)
        {
            ScriptPackEntry **nEntries = (ScriptPackEntry **)calloc((size_t)pCount, sizeof(ScriptPackEntry *));
            for(int32_t i = 0; i < pCount; i++)
            {
                const char *rSource = pNamesAndSources[i * 2 + 1];
                nEntries[i] = NewScriptPackEntry(pNamesAndSources[i * 2], rSource, (uint32_t)strlen(rSource));
            }
            return nEntries;
        }

        LuaManager *mManager;
        LuaManager *mPrevious;
        lua_State *L;
    };
}

TEST_F(LuaManagerTest, ExecuteLuaFileFormatsArgumentsAndExecuteFileKeepsThem)
{
    std::string tPath = Script("lm_args.lua");
    int tTop = lua_gettop(L);
    EXPECT_TRUE(mManager->ExecuteLuaFile(tPath.c_str(), 2, "N", 2.0, "S", "two"));
    EXPECT_EQ(lua_gettop(L), tTop);
    EXPECT_EQ(GlobalNumber("lm_args_count"), 2);
    EXPECT_EQ(GlobalString("lm_args_first"), "2.000000");
    EXPECT_EQ(GlobalString("lm_args_second"), "two");
    EXPECT_EQ(GlobalString("lm_args_beyond"), "<nil>");
    EXPECT_EQ(GlobalString("lm_args_negative"), "<nil>");
    EXPECT_EQ(GlobalString("lm_args_name"), tPath);
    EXPECT_EQ(mManager->GetCallStackDepth(), 0);

    // A run without arguments still sees those of the last run that set them.
    EXPECT_TRUE(mManager->ExecuteFile(tPath.c_str()));
    EXPECT_EQ(GlobalNumber("lm_args_runs"), 2);
    EXPECT_EQ(GlobalString("lm_args_first"), "2.000000");
    EXPECT_EQ(GlobalString("lm_args_second"), "two");

    // The largest f32 fits its "%f" text whole.
    EXPECT_TRUE(mManager->ExecuteLuaFile(tPath.c_str(), 1, "N", -3.4028234663852886e38));
    EXPECT_EQ(GlobalString("lm_args_first"), "-340282346638528859811704183484516925440.000000");

    // An unknown type reports and stops reading; the run goes ahead with what was read.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(mManager->ExecuteLuaFile(tPath.c_str(), 3, "S", "a", "Q", 5, "S", "c"));
    EXPECT_EQ(CapturedStderr(), "LuaManager::ExecuteLuaFile:  Error, cannot resolve type Q\n");
    EXPECT_EQ(GlobalNumber("lm_args_count"), 3);
    EXPECT_EQ(GlobalString("lm_args_first"), "a");
    EXPECT_EQ(GlobalString("lm_args_second"), "<nil>");
}

// An object's script runs with the object active and the caller's object back afterwards, and
// reads as its arguments what it is told: the last run's, none, or one number.
TEST_F(LuaManagerTest, ScriptsRunAsAnObjectGetTheArgumentsTheyAreTold)
{
    DataLibrary *nLibrary = new DataLibrary();
    DataLibrary *rPrevious = GetApplication()->mDataLibrary;
    GetApplication()->mDataLibrary = nLibrary;
    RootObject *nCaller = new RootObject();
    RootObject *nObject = new RootObject();
    nLibrary->SetActiveObjectDirect(nCaller);
    std::string tPath = Script("lm_args.lua");

    EXPECT_TRUE(mManager->ExecuteLuaFile(tPath.c_str(), 2, "S", "a", "S", "b"));
    RunScriptAsActive(nObject, tPath.c_str());
    EXPECT_EQ(GlobalNumber("lm_args_count"), 2);
    EXPECT_EQ(GlobalString("lm_args_second"), "b");
    RunScriptAsActive(nObject, tPath.c_str(), SCRIPT_ARGS_NUMBER, 7.0);
    EXPECT_EQ(GlobalNumber("lm_args_count"), 1);
    EXPECT_EQ(GlobalString("lm_args_first"), "7.000000");
    RunScriptAsActive(nObject, tPath.c_str(), SCRIPT_ARGS_NONE);
    EXPECT_EQ(GlobalNumber("lm_args_count"), 0);
    EXPECT_EQ(GlobalNumber("lm_args_runs"), 4);
    EXPECT_EQ(nLibrary->GetActiveObject(), nCaller);
    EXPECT_EQ(nLibrary->GetActiveStackSize(), 0);

    GetApplication()->mDataLibrary = rPrevious;
    delete nLibrary;
    delete nObject;
    delete nCaller;
}

TEST_F(LuaManagerTest, ArgumentArrayFillsInOrderAndIgnoresOverflow)
{
    mManager->SetArgumentCount(2);
    mManager->AddStringArgument(nullptr);
    mManager->AddNumberArgument(1.5f);
    mManager->AddStringArgument("b");
    mManager->AddStringArgument("dropped");
    EXPECT_EQ(mManager->GetArgumentCount(), 2);
    EXPECT_STREQ(mManager->GetArgument(0), "1.500000");
    EXPECT_STREQ(mManager->GetArgument(1), "b");
    EXPECT_EQ(mManager->GetArgument(2), nullptr);

    mManager->SetArgumentCount(0);
    EXPECT_EQ(mManager->GetArgumentCount(), 0);
    EXPECT_EQ(mManager->GetArgument(0), nullptr);
}

TEST_F(LuaManagerTest, NestedScriptsSeeTheCallStackAndReplacedArguments)
{
    std::string tOuter = Script("lm_outer.lua");
    std::string tInner = Script("lm_inner.lua");
    EXPECT_TRUE(mManager->ExecuteLuaFile(tOuter.c_str(), 1, "S", tInner.c_str()));

    EXPECT_EQ(GlobalString("lm_outer_self"), tOuter);
    EXPECT_EQ(GlobalString("lm_inner_self"), tInner);
    EXPECT_EQ(GlobalString("lm_inner_caller"), tOuter);
    EXPECT_EQ(GlobalString("lm_inner_beyond"), "<nil>");
    EXPECT_EQ(GlobalNumber("lm_inner_args"), 3);
    EXPECT_EQ(GlobalString("lm_inner_first"), "x");
    EXPECT_EQ(GlobalString("lm_inner_second"), "7");
    EXPECT_EQ(GlobalString("lm_inner_third"), "true");

    EXPECT_EQ(GlobalString("lm_outer_after_self"), tOuter);
    EXPECT_EQ(GlobalNumber("lm_outer_after_args"), 3);
    EXPECT_EQ(GlobalString("lm_outer_after_first"), "x");
    EXPECT_EQ(mManager->GetCallStackDepth(), 0);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(LuaManagerTest, LoadAndRunErrorsAreReportedAndLeaveTheStackClean)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mManager->ExecuteFile("/nonexistent/dir/missing.lua"));
    std::string tOut = CapturedStderr();
    EXPECT_EQ(tOut.rfind("Lua Error during Loading: cannot open /nonexistent/dir/missing.lua", 0), 0u) << tOut;

    testing::internal::CaptureStderr();
    EXPECT_FALSE(Run("error('boom %s %n')"));
    EXPECT_EQ(CapturedStderr(), "Lua Error during Execution: [string \"Passed Chunk\"]:1: boom %s %n\n");

    // A syntax error is a load error and nothing runs.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mManager->RunChunkText("ran = true x = = 1"));
    tOut = CapturedStderr();
    EXPECT_EQ(tOut.rfind("Lua Error during Loading: [string \"Passed Chunk\"]:1:", 0), 0u) << tOut;
    EXPECT_FALSE(GlobalBool("ran"));

    EXPECT_FALSE(mManager->Execute());
    EXPECT_EQ(mManager->GetCallStackDepth(), 0);
    EXPECT_EQ(lua_gettop(L), 0);

    EXPECT_TRUE(mManager->FileExists(Script("lm_args.lua").c_str()));
    EXPECT_FALSE(mManager->FileExists("/nonexistent/dir/missing.lua"));
    EXPECT_FALSE(mManager->FileExists(nullptr));
}

// A compiled chunk on disk is never run, whole or damaged, nor behind a '#' first line; the
// state goes on running script text.
TEST_F(LuaManagerTest, LooseFilesHoldingCompiledChunksAreRefused)
{
    ScratchFolder tDir("lm");
    ASSERT_TRUE(tDir.IsMade());
    ASSERT_TRUE(Run("gsChunk = string.dump(function() compiled_ran = true end)"));
    lua_getglobal(L, "gsChunk");
    size_t tSize = 0;
    const char *rChunk = lua_tolstring(L, -1, &tSize);
    std::string tChunk(rChunk ? rChunk : "", rChunk ? tSize : 0);
    lua_pop(L, 1);
    ASSERT_GT(tChunk.size(), 40u);
    ASSERT_EQ(tChunk[0], '\033');

    std::string tDamaged = tChunk;
    for(size_t i = 24; i < tDamaged.size(); i += 7) tDamaged[i] = (char)(tDamaged[i] ^ 0x5A);
    ASSERT_TRUE(tDir.Write("Whole.lua", tChunk.data(), tChunk.size()));
    ASSERT_TRUE(tDir.Write("Damaged.lua", tDamaged.data(), tDamaged.size()));
    std::string tMarked = "#!/usr/bin/env lua\n" + tChunk;
    ASSERT_TRUE(tDir.Write("Marked.lua", tMarked.data(), tMarked.size()));

    for(const char *rName : {"Whole.lua", "Damaged.lua", "Marked.lua"})
    {
        std::string tPath = tDir.File(rName);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(mManager->ExecuteFile(tPath.c_str()));
        EXPECT_EQ(CapturedStderr(), "Lua Error during Loading: " + tPath + " holds a compiled chunk; only script text is loaded\n");
        EXPECT_FALSE(GlobalBool("compiled_ran")) << rName;
        EXPECT_EQ(mManager->GetCallStackDepth(), 0);
        EXPECT_EQ(lua_gettop(L), 0);
    }

    ASSERT_TRUE(tDir.WriteText("Text.lua", "#!/usr/bin/env lua\ntext_ran = true"));
    EXPECT_TRUE(mManager->ExecuteFile(tDir.File("Text.lua").c_str()));
    EXPECT_TRUE(GlobalBool("text_ran"));
}

namespace
{
    int AskQuit(lua_State *L)
    {
        GetApplication()->mQuitFlag = 1;
        return 0;
    }
}

// A script that never returns is stopped, with a message, once a quit is asked; the state
// stays usable for scripts run later.
TEST_F(LuaManagerTest, RunningScriptStopsWhenAQuitIsAsked)
{
    const uint8_t tWasQuit = GetApplication()->mQuitFlag;
    lua_register(L, "AskQuit", AskQuit);
    testing::internal::CaptureStderr();
    bool tFinished = mManager->ExecuteFile(Script("lm_runaway.lua").c_str());
    const std::string tLog = CapturedStderr();
    // A short script begun once the quit is under way (a boot winding down) runs to its end,
    // calls and all.
    EXPECT_TRUE(Run("iShortRun = tostring(math.abs(-3))"));
    EXPECT_EQ("3", GlobalString("iShortRun"));
    GetApplication()->mQuitFlag = tWasQuit;

    EXPECT_FALSE(tFinished);
    EXPECT_TRUE(GlobalBool("iBeforeQuit"));
    EXPECT_NE(std::string::npos, tLog.find("Lua Error during Execution: "));
    EXPECT_NE(std::string::npos, tLog.find("script stopped, the game is quitting"));
    EXPECT_EQ(0, lua_gettop(L));
    EXPECT_EQ(0, mManager->GetCallStackDepth());

    ASSERT_TRUE(mManager->RunChunkText("local n = 0 for i = 1, 100000 do n = n + 1 end iAfter = n"));
    EXPECT_TRUE(mManager->Execute());
    EXPECT_EQ("100000", GlobalString("iAfter"));
}

// The script's own catches (pcall, xpcall, a coroutine) cannot hold the stop off: the first
// instruction outside the catch ends the script. Each loop is bounded, so a script that
// outlives the quit says so rather than running for ever.
TEST_F(LuaManagerTest, CaughtStopsStillEndTheScriptOnQuit)
{
    const uint8_t tWasQuit = GetApplication()->mQuitFlag;
    lua_register(L, "AskQuit", AskQuit);
    const char *cCatchers[] = {
        "pcall(function() while true do end end)",
        "xpcall(function() while true do end end, function(sError) return sError end)",
        "coroutine.resume(coroutine.create(function() while true do end end))",
    };
    for(const char *rCatcher : cCatchers)
    {
        SCOPED_TRACE(rCatcher);
        const std::string tScript = std::string("iOutlived = false AskQuit() for i = 1, 20 do ") + rCatcher +
                                    " end iOutlived = true";
        testing::internal::CaptureStderr();
        bool tFinished = Run(tScript.c_str());
        const std::string tLog = CapturedStderr();
        GetApplication()->mQuitFlag = tWasQuit;

        EXPECT_FALSE(tFinished);
        EXPECT_FALSE(GlobalBool("iOutlived"));
        EXPECT_NE(std::string::npos, tLog.find("script stopped, the game is quitting"));
        EXPECT_EQ(0, lua_gettop(L));
    }

    // A coroutine whose own pcall catches the stop and loops on is stopped at its next
    // instruction, not once per check interval: no catch is ever counted.
    testing::internal::CaptureStderr();
    bool tLooped = Run("iCaughtLoops = 0 coroutine.wrap(function() AskQuit() for i = 1, 20 do "
                       "pcall(function() while true do end end) iCaughtLoops = i end end)()");
    const std::string tLoopLog = CapturedStderr();
    GetApplication()->mQuitFlag = tWasQuit;
    EXPECT_FALSE(tLooped);
    EXPECT_EQ(0, GlobalNumber("iCaughtLoops"));
    EXPECT_NE(std::string::npos, tLoopLog.find("script stopped, the game is quitting"));
    EXPECT_TRUE(Run("local n = 0 for i = 1, 100000 do n = n + 1 end iAfter = n"));
    EXPECT_EQ("100000", GlobalString("iAfter"));
}

namespace
{
    // The quit check's count (instructions between two looks) at each slow call.
    std::vector<int> xCountsAtSlowCalls;

    // Slower than the quit check's pace of one look per 20 ms.
    int SlowCall(lua_State *L)
    {
        xCountsAtSlowCalls.push_back(lua_gethookcount(L));
        usleep(25000);
        return 0;
    }
}

// Where each step of a loop is slower than the pace, the quit check comes down to its floor, so
// a look falls between every two steps: a quit is seen before the next one begins, whatever the
// step (a call, or one slow instruction). Each step here is two instructions, the function's
// fetch and the call; the loop's own one follows every other step.
TEST_F(LuaManagerTest, SlowStepsBringTheQuitCheckToEveryStep)
{
    lua_register(L, "SlowCall", SlowCall);
    xCountsAtSlowCalls.clear();
    ASSERT_TRUE(Run("for i = 1, 25 do SlowCall() SlowCall() end"));
    ASSERT_EQ(50u, xCountsAtSlowCalls.size());
    for(size_t i = 44; i < 50; i++)
    {
        EXPECT_GE(xCountsAtSlowCalls[i], 1) << "call " << i;
        EXPECT_LE(xCountsAtSlowCalls[i], 2) << "call " << i;
    }
}

TEST_F(LuaManagerTest, RandomNumbersStayInRangeFromLua)
{
    testing::internal::CaptureStderr();
    EXPECT_TRUE(mManager->ExecuteFile(Script("lm_random.lua").c_str()));
    EXPECT_EQ(CapturedStderr(), "LM_GetRandomNumber: Failed, invalid argument list\n");
    EXPECT_TRUE(GlobalBool("random_fixed_ok"));
    EXPECT_TRUE(GlobalBool("random_reversed_ok"));
    EXPECT_TRUE(GlobalBool("random_wide_ok"));
    EXPECT_EQ(GlobalNumber("random_bad_count"), 0);
}

TEST_F(LuaManagerTest, MacrosAreBuiltAppendedAndCalledFromLua)
{
    testing::internal::CaptureStderr();
    EXPECT_TRUE(mManager->ExecuteFile(Script("lm_macros.lua").c_str()));
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Lua Error during Loading: [string \"Passed Chunk\"]"), std::string::npos) << tOut;

    EXPECT_STREQ(mManager->GetMacro("count"), "macro_runs = (macro_runs or 0) + 1\nmacro_last = LM_GetCallStack(0)");
    EXPECT_EQ(mManager->GetMacro("missing"), nullptr);
    EXPECT_EQ(GlobalNumber("macro_runs"), 2);
    EXPECT_EQ(GlobalString("macro_last"), "");
    EXPECT_TRUE(GlobalBool("macro_after_broken"));
    EXPECT_EQ(mManager->GetCallStackDepth(), 0);

    testing::internal::CaptureStderr();
    EXPECT_TRUE(Run("LM_NewMacro('x') LM_AppendMacro() LM_Call() LM_ExecuteScript() LM_BootTarballMode(1, 2)"));
    EXPECT_EQ(CapturedStderr(),
              "LM_NewMacro: Failed, invalid argument list\n"
              "LM_AppendMacro: Failed, invalid argument list\n"
              "LM_Call: Failed, invalid argument list\n"
              "LM_ExecuteScript: Failed, invalid argument list\n"
              "LM_BootTarballMode: Failed, invalid argument list\n");
}

TEST_F(LuaManagerTest, BindingsReportAndPushTheirSentinels)
{
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Run("a = LM_GetScriptArgument() b = LM_GetCallStack() c = LM_IsPrecompiledMode() "
                    "d = LM_GetCallStack(0) e = LM_GetCallStack(5) n = select('#', LM_SetSilenceFlag(false))"));
    EXPECT_EQ(CapturedStderr(),
              "LM_GetScriptArgument: Failed, invalid argument list\n"
              "LM_GetCallStack: Failed, invalid argument list\n");
    EXPECT_EQ(GlobalString("a"), "NULL");
    EXPECT_EQ(GlobalString("b"), "<nil>");
    lua_getglobal(L, "c");
    EXPECT_TRUE(lua_isboolean(L, -1));
    EXPECT_FALSE(lua_toboolean(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(GlobalString("d"), "");
    EXPECT_EQ(GlobalString("e"), "<nil>");
    EXPECT_EQ(GlobalNumber("n"), 0);

    // The silence flag mutes the shared reporters for every binding until it is cleared.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Run("LM_SetSilenceFlag(true) quiet = LM_GetRandomNumber(1, 2, 3) LM_NewMacro()"));
    EXPECT_EQ(CapturedStderr(), "");
    EXPECT_EQ(GlobalNumber("quiet"), 0);
    EXPECT_EQ(GetLuaSilenceFlag(), 1);
    EXPECT_TRUE(Run("LM_SetSilenceFlag(false)"));
    EXPECT_EQ(GetLuaSilenceFlag(), 0);

    // Without a manager in the Application, bindings fail cleanly instead of crashing.
    GetApplication()->mLuaManager = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Run("none = LM_GetNumOfArgs() LM_Call('count')"));
    EXPECT_EQ(CapturedStderr(), "LM_Call: Failed, invalid argument list\n");
    EXPECT_EQ(GlobalNumber("none"), 0);
    GetApplication()->mLuaManager = mManager;
}

TEST_F(LuaManagerTest, ScriptPathsNormaliseParentComponents)
{
    const char *cCases[][2] = {
        {"Data/Scripts/Enemies/../Boss.lua", "Data/Scripts/Boss.lua"},
        {"Data/Scripts/A/B/../../C.lua", "Data/Scripts/C.lua"},
        {"Data/Scripts/A/../B/../C.lua", "Data/Scripts/C.lua"},
        {"Data/Scripts/Plain.lua", "Data/Scripts/Plain.lua"},
        {"../Top.lua", "Top.lua"},
        {"A/..", ""},
        {"Data/..Hidden/x.lua", "Data/..Hidden/x.lua"},
    };
    for(const auto &rCase : cCases)
    {
        char *tResult = LuaManager::NormaliseScriptPath(rCase[0]);
        EXPECT_STREQ(tResult, rCase[1]) << rCase[0];
        free(tResult);
    }
    EXPECT_EQ(LuaManager::NormaliseScriptPath(nullptr), nullptr);
}

// A pack that names one script twice runs the first, whatever order the search table is
// sorted into, and says so.
TEST_F(LuaManagerTest, ScriptPackKeepsTheFirstOfARepeatedName)
{
    const char *cSources[] = {
        "Data/Scripts/Boss.lua", "boss = 'first'",
        "Data/Scripts/Alpha.lua", "alpha = 1",
        "Data/Scripts/Boss.lua", "boss = 'second'",
        "Data/Scripts/Boss.lua", "boss = 'third'",
        "Data/Scripts/Zeta.lua", "zeta = 1",
    };
    testing::internal::CaptureStderr();
    mManager->InstallScriptPack(Pack(cSources, 5), 5);
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Warning:  The script pack repeats Data/Scripts/Boss.lua; the first is kept\n"), std::string::npos) << tOut;
    ASSERT_EQ(mManager->GetScriptPackCount(), 3);
    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/Boss.lua"));
    EXPECT_EQ(GlobalString("boss"), "first");
    EXPECT_NE(mManager->FindScriptPackEntry("Data/Scripts/Zeta.lua"), nullptr);
}

TEST_F(LuaManagerTest, ScriptPackFindsEntriesCompilesOnceAndFallsBack)
{
    std::string tDiskPath = Script("lm_marker_disk.lua");
    // Given out of order on purpose: the table is searched by halving, so it must end up sorted.
    const char *cSources[] = {
        "Data/Scripts/Zeta.lua", "zeta = LM_GetCallStack(0)",
        "Data/Scripts/Boss.lua", "boss = (boss or 0) + 1",
        "Data/Scripts/Alpha.lua", "alpha = 1",
        tDiskPath.c_str(), "marker = 'pack'",
        "Data/Scripts/Broken.lua", "this is not lua",
        "Data/Scripts/Mid.lua", "mid = 1",
    };
    testing::internal::CaptureStderr();
    mManager->InstallScriptPack(Pack(cSources, 6), 6);
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Warning:  There was an error in compilation of 4 Data/Scripts/Broken.lua\n"), std::string::npos) << tOut;
    ASSERT_TRUE(mManager->IsScriptPackMode());
    ASSERT_EQ(mManager->GetScriptPackCount(), 6);

    for(int32_t i = 0; i < 6; i++)
    {
        ScriptPackEntry *rEntry = mManager->FindScriptPackEntry(cSources[i * 2]);
        ASSERT_NE(rEntry, nullptr) << cSources[i * 2];
        EXPECT_STREQ(rEntry->mName, cSources[i * 2]);
        if(i == 4) EXPECT_EQ(rEntry->mCompiledChunk, nullptr);
        else EXPECT_NE(rEntry->mCompiledChunk, nullptr);
    }
    EXPECT_EQ(mManager->FindScriptPackEntry("Data/Scripts/Missing.lua"), nullptr);
    EXPECT_EQ(mManager->FindScriptPackEntry("Data/Scripts/boss.lua"), nullptr);

    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/Enemies/../Boss.lua"));
    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/Boss.lua"));
    EXPECT_EQ(GlobalNumber("boss"), 2);
    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/Zeta.lua"));
    EXPECT_EQ(GlobalString("zeta"), "Data/Scripts/Zeta.lua");

    // A broken entry is a load error every time, never a stale chunk of another entry.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mManager->ExecuteFile("Data/Scripts/Broken.lua"));
    EXPECT_FALSE(mManager->ExecuteFile("Data/Scripts/Broken.lua"));
    tOut = CapturedStderr();
    EXPECT_EQ(tOut.rfind("Lua Error during Loading: [string \"Tarball Chunk\"]", 0), 0u) << tOut;
    EXPECT_EQ(GlobalNumber("boss"), 2);
    EXPECT_EQ(GlobalNumber("alpha"), 0);
    EXPECT_EQ(lua_gettop(L), 0);

    // The pack wins over the disk, except for the one load after the flag is raised.
    EXPECT_TRUE(mManager->ExecuteFile(tDiskPath.c_str()));
    EXPECT_EQ(GlobalString("marker"), "pack");
    mManager->SetLoadFromDiskFlag(1);
    EXPECT_TRUE(mManager->ExecuteFile(tDiskPath.c_str()));
    EXPECT_EQ(GlobalString("marker"), "disk");
    EXPECT_EQ(mManager->GetLoadFromDiskFlag(), 0);
    EXPECT_TRUE(mManager->ExecuteFile(tDiskPath.c_str()));
    EXPECT_EQ(GlobalString("marker"), "pack");

    // A name missing from the pack runs the loose file, after saying so.
    std::string tLoose = Script("lm_args.lua");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(mManager->ExecuteFile(tLoose.c_str()));
    EXPECT_EQ(CapturedStderr(), "Could not load file in tarball " + tLoose + "\n");
    EXPECT_EQ(GlobalNumber("lm_args_runs"), 1);

    mManager->ClearScriptPack();
    EXPECT_FALSE(mManager->IsScriptPackMode());
    EXPECT_EQ(mManager->FindScriptPackEntry("Data/Scripts/Boss.lua"), nullptr);
}

TEST_F(LuaManagerTest, BootScriptPackReadsALumpFile)
{
    ScratchFolder tDir("lm");
    ASSERT_TRUE(tDir.IsMade());
    std::string tPack = tDir.File("Scripts.slf");

    LumpWriter tWriter;
    tWriter.SetHeader("CorvelLump");
    const char *cOne = "packed_one = 1";
    const char *cTwo = "packed_two = LM_GetCallStack(0)";
    ASSERT_TRUE(tWriter.AddScript("Two.lua", cTwo, (uint32_t)strlen(cTwo)));
    ASSERT_TRUE(tWriter.AddScript("One.lua", cOne, (uint32_t)strlen(cOne)));
    ASSERT_TRUE(tWriter.WriteToFile(tPack.c_str()));

    CorvelLumpManager *tLumps = new CorvelLumpManager();
    CorvelLumpManager *rPreviousLumps = GetApplication()->mLumpManager;
    GetApplication()->mLumpManager = tLumps;

    testing::internal::CaptureStderr();
    EXPECT_TRUE(Run(("LM_BootTarballMode('" + tPack + "')").c_str()));
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("LuaManager:  Tarball is open!  " + tPack + "\n"), std::string::npos) << tOut;
    EXPECT_TRUE(mManager->IsScriptPackMode());
    EXPECT_EQ(mManager->GetScriptPackCount(), 2);
    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/One.lua"));
    EXPECT_TRUE(mManager->ExecuteFile("Data/Scripts/Sub/../Two.lua"));
    EXPECT_EQ(GlobalNumber("packed_one"), 1);
    EXPECT_EQ(GlobalString("packed_two"), "Data/Scripts/Sub/../Two.lua");

    // A file that cannot be opened leaves script-pack mode off.
    testing::internal::CaptureStderr();
    mManager->BootScriptPack(tDir.File("Missing.slf").c_str());
    tOut = CapturedStderr();
    EXPECT_NE(tOut.find("LuaManager:  Could not open tarball mode on " + tDir.File("Missing.slf") + "\n"), std::string::npos) << tOut;
    EXPECT_FALSE(mManager->IsScriptPackMode());

    GetApplication()->mLumpManager = nullptr;
    testing::internal::CaptureStderr();
    mManager->BootScriptPack(tPack.c_str());
    EXPECT_EQ(CapturedStderr(), "LuaManager:  Could not open tarball mode on " + tPack + "\n");
    EXPECT_FALSE(mManager->IsScriptPackMode());

    GetApplication()->mLumpManager = rPreviousLumps;
    delete tLumps;
}

TEST_F(LuaManagerTest, ConsoleLinesRunChunksAndMacros)
{
    ClearConsoleCommands();
    LuaManager::RegisterConsoleCommands();
    mManager->NewMacro("bump", "bumped = (bumped or 0) + 1");

    testing::internal::CaptureStderr();
    RunLuaCommand("/bump");
    std::string tOut = CapturedStderr();
    EXPECT_EQ(tOut.rfind("LM_Call \"bump\"\n", 0), 0u) << tOut;
    EXPECT_EQ(GlobalNumber("bumped"), 1);

    testing::internal::CaptureStderr();
    RunLuaCommand("LM_Call \"bump\"");
    CapturedStderr();
    EXPECT_EQ(GlobalNumber("bumped"), 2);

    testing::internal::CaptureStderr();
    RunLuaCommand("LM \"console_value = \\\"a b\\\"\"");
    RunLuaCommand("LM_Execute \"console_other = 5\"");
    CapturedStderr();
    EXPECT_EQ(GlobalString("console_value"), "a b");
    EXPECT_EQ(GlobalNumber("console_other"), 5);

    testing::internal::CaptureStderr();
    RunLuaCommand("Bogus \"x\"");
    EXPECT_EQ(CapturedStderr(), "Failed to execute command Bogus\n");

    // A syntax error in the chunk is a load error; nothing runs and the stack stays clean.
    testing::internal::CaptureStderr();
    RunLuaCommand("LM \"console_ran = true x = = 1\"");
    tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Lua Error during Loading: [string \"Passed Chunk\"]"), std::string::npos) << tOut;
    EXPECT_FALSE(GlobalBool("console_ran"));
    EXPECT_EQ(lua_gettop(L), 0);

    // An argument that is not a quoted string is an error of the command.
    testing::internal::CaptureStderr();
    RunLuaCommand("LM console_ran=true");
    tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Error in command: LM console_ran=true\n"), std::string::npos) << tOut;
    EXPECT_FALSE(GlobalBool("console_ran"));

    // A long slash word is rewritten whole, with no fixed-size buffer to overrun.
    std::string tLong(600, 'm');
    mManager->NewMacro(tLong.c_str(), "long_macro = true");
    testing::internal::CaptureStderr();
    RunLuaCommand(("/" + tLong).c_str());
    tOut = CapturedStderr();
    EXPECT_EQ(tOut.rfind("LM_Call \"" + tLong + "\"\n", 0), 0u);
    EXPECT_TRUE(GlobalBool("long_macro"));

    testing::internal::CaptureStderr();
    RunLuaCommand("");
    RunLuaCommand(nullptr);
    EXPECT_EQ(CapturedStderr(), "");
    ClearConsoleCommands();
}
