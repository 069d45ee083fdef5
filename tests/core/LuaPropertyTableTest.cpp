#include "core/LuaPropertyTable.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

    // Records which row ran and with how many arguments.
    struct Probe
    {
        int mRow = 0;
        int mArgs = 0;
    };

    struct DerivedProbe : Probe
    {
    };

    template <int tRow, int tResults>
    int Mark(lua_State *L, Probe *pProbe, int pArgs)
    {
        pProbe->mRow = tRow;
        pProbe->mArgs = pArgs;
        for(int i = 0; i < tResults; i++) lua_pushinteger(L, tRow);
        return tResults;
    }

    const LuaProperty<Probe> cRows[] = {
        {"Size", 3, "NN", Mark<1, 0>},
        {"Size", 2, "S", Mark<2, 0>},
        {"Size", 3, "S.", Mark<3, 0>},
        {"Points", LuaAtLeast(2), "N", Mark<4, 0>},
        {"Flag", 2, "B", Mark<5, 0>},
        {"Anything", 2, nullptr, Mark<6, 0>},
        {"Reset", 1, "", Mark<7, 0>},
        {"Corners", 1, nullptr, Mark<8, 2>},
        {nullptr, 0, nullptr, nullptr},
    };

    int xReports = 0;
    std::string xReportedKey;
    int xReportedCount = 0;
    int RecordMiss(const char *, const char *pKey, int32_t pArgCount)
    {
        xReports++;
        xReportedKey = pKey;
        xReportedCount = pArgCount;
        return 0;
    }

    class LuaPropertyTableTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            L = luaL_newstate();
            xReports = 0;
            xReportedKey.clear();
            xReportedCount = 0;
        }
        void TearDown() override
        {
            lua_close(L);
            SetLuaSilenceFlag(0);
        }

        // Runs "Probe(...)" from Lua against cRows, the call returning nothing on a miss;
        // returns the row that ran (0 for none).
        int Call(const char *pArguments, LuaPropertyMissReport pReport = RecordMiss)
        {
            mProbe = Probe();
            sReport = pReport;
            lua_pushlightuserdata(L, &mProbe);
            lua_pushcclosure(L, [](lua_State *pL) {
                Probe *rProbe = (Probe *)lua_touserdata(pL, lua_upvalueindex(1));
                return LuaCallProperty(pL, "Probe", cRows, rProbe, sReport);
            }, 1);
            lua_setglobal(L, "Probe");
            std::string tChunk = std::string("Probe(") + pArguments + ")";
            EXPECT_EQ(luaL_dostring(L, tChunk.c_str()), 0) << lua_tostring(L, -1);
            return mProbe.mRow;
        }

        static LuaPropertyMissReport sReport;
        lua_State *L;
        Probe mProbe;
    };

    LuaPropertyMissReport LuaPropertyTableTest::sReport = RecordMiss;
}

TEST_F(LuaPropertyTableTest, ExactCountsMinimumsAndTypesPickTheFirstFittingRow)
{
    EXPECT_EQ(Call("'Size', 1, 2"), 1);
    EXPECT_EQ(mProbe.mArgs, 3);
    // Same key, other types or counts: the later rows of the key take it.
    EXPECT_EQ(Call("'Size', 'big'"), 2);
    EXPECT_EQ(Call("'Size', 'big', {}"), 3);
    EXPECT_EQ(Call("'Size', 'big', nil"), 3);

    EXPECT_EQ(Call("'Points', 3"), 4);
    EXPECT_EQ(Call("'Points', 3, 0, 0, 1, 1, 2, 2"), 4);
    EXPECT_EQ(mProbe.mArgs, 8);

    EXPECT_EQ(Call("'Flag', false"), 5);
    EXPECT_EQ(Call("'Anything', {}"), 6);
    EXPECT_EQ(Call("'Reset'"), 7);
    EXPECT_EQ(xReports, 0);
}

TEST_F(LuaPropertyTableTest, KeysCountsAndTypesThatFitNoRowAreReported)
{
    struct Miss
    {
        const char *mArguments;
        const char *mKey;
        int mCount;
    };
    const Miss cMisses[] = {
        {"'Sizes', 1, 2", "Sizes", 3},   // unknown key
        {"'size', 1, 2", "size", 3},     // keys are case-sensitive
        {"'Size', 1, 2, 3", "Size", 4},  // a known key with a count none of its rows takes
        {"'Size', 1", "Size", 2},
        {"'Size', 1, 'x'", "Size", 3},   // right count, wrong types
        {"'Points'", "Points", 1},       // under the minimum
        {"'Points', 'three', 1", "Points", 3},
        {"'Flag', 1", "Flag", 2},        // a number is no boolean
        {"'Reset', 1", "Reset", 2},
        {"", "", 0},                     // nothing at all
        {"7, 1", "7", 2},                // a number as key is read as its text
    };
    for(const Miss &rMiss : cMisses)
    {
        xReports = 0;
        EXPECT_EQ(Call(rMiss.mArguments), 0) << rMiss.mArguments;
        EXPECT_EQ(xReports, 1) << rMiss.mArguments;
        EXPECT_EQ(xReportedKey, rMiss.mKey) << rMiss.mArguments;
        EXPECT_EQ(xReportedCount, rMiss.mCount) << rMiss.mArguments;
    }
}

TEST_F(LuaPropertyTableTest, MissesPrintTheStandardLinesAndTheNilVariantAnswersNil)
{
    testing::internal::CaptureStderr();
    Call("'Zoom', 2", LuaResolveError);
    Call("'Zoom', 2", LuaUnknownPropertyError);
    Call("'Zoom', 2", LuaCouldNotResolveError);
    Call("'Zoom', 2", nullptr);
    EXPECT_EQ(CapturedStderr(), "Probe: Failed, cannot resolve Zoom with 2 args.\n"
                          "Probe: Failed, Zoom does not match any property.\n"
                          "Probe:  Failed, could not resolve Zoom with 2 args\n");

    // The resolve line is muted with the others; the other two never are.
    SetLuaSilenceFlag(1);
    testing::internal::CaptureStderr();
    Call("'Zoom', 2", LuaResolveError);
    Call("'Zoom', 2", LuaUnknownPropertyError);
    Call("'Zoom', 2", LuaCouldNotResolveError);
    EXPECT_EQ(CapturedStderr(), "Probe: Failed, Zoom does not match any property.\n"
                          "Probe:  Failed, could not resolve Zoom with 2 args\n");
    SetLuaSilenceFlag(0);

    Probe tProbe;
    lua_settop(L, 0);
    lua_pushstring(L, "Zoom");
    testing::internal::CaptureStderr();
    EXPECT_EQ(LuaCallPropertyOrNil(L, "Probe_Get", cRows, &tProbe), 1);
    EXPECT_EQ(CapturedStderr(), "Probe_Get: Failed, cannot resolve Zoom with 1 args.\n");
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_TRUE(lua_isnil(L, 2));

    // A row's own results come back as they are, nil variant or not.
    lua_settop(L, 0);
    lua_pushstring(L, "Corners");
    EXPECT_EQ(LuaCallPropertyOrNil(L, "Probe_Get", cRows, &tProbe), 2);
    EXPECT_EQ(tProbe.mRow, 8);
    ASSERT_EQ(lua_gettop(L), 3);
    EXPECT_EQ(lua_tointeger(L, 3), 8);
}

TEST_F(LuaPropertyTableTest, TablesServeDerivedAndAbsentTargets)
{
    DerivedProbe tDerived;
    lua_pushstring(L, "Reset");
    EXPECT_EQ(LuaCallProperty(L, "Probe", cRows, &tDerived), 0);
    EXPECT_EQ(tDerived.mRow, 7);

    // A table of void serves bindings whose rows fetch what they need themselves.
    static const LuaProperty<void> cFree[] = {
        {"Ping", 1, nullptr, [](lua_State *pL, void *pTarget, int) { lua_pushboolean(pL, pTarget == nullptr); return 1; }},
        {nullptr, 0, nullptr, nullptr},
    };
    lua_settop(L, 0);
    lua_pushstring(L, "Ping");
    EXPECT_EQ(LuaCallProperty(L, "Free", cFree, nullptr), 1);
    EXPECT_TRUE(lua_toboolean(L, -1));

    // No table, no state: nothing runs and nothing is pushed.
    EXPECT_EQ(FindLuaProperty<Probe>(nullptr, L), nullptr);
    EXPECT_EQ(FindLuaProperty(cRows, nullptr), nullptr);
    EXPECT_EQ(LuaReportPropertyMiss(nullptr, "Probe", RecordMiss, true), 0);
    EXPECT_EQ(xReports, 0);
}
