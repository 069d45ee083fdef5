#include "core/LuaBindingHelpers.h"
#include "core/Utilities.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

    void FreeTypedValue(TypedValue *pValue)
    {
        if(!pValue) return;
        free(pValue->rData);
        free(pValue);
    }

    class LuaBindingHelpersTest : public testing::Test
    {
    protected:
        void SetUp() override { L = luaL_newstate(); }
        void TearDown() override
        {
            lua_close(L);
            SetLuaSilenceFlag(0);
        }
        lua_State *L;
    };
}

TEST_F(LuaBindingHelpersTest, ReportersPrintTheirLinesAndResultCounts)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(LuaArgListError("X_Do"), 0);
    EXPECT_EQ(LuaArgListErrorNil("X_Get", L), 1);
    EXPECT_EQ(LuaActiveObjectTypeError("X_Act"), 0);
    EXPECT_EQ(LuaActiveObjectTypeErrorNil("X_ActNil", L), 1);
    EXPECT_EQ(LuaResolveError("X_SetProperty", "Speed", 3), 0);
    EXPECT_EQ(LuaPropertyError("X_SetProperty", "Sped"), 0);
    LuaArgListError(nullptr);
    LuaResolveError("X_SetProperty", nullptr, 1);
    LuaPropertyError(nullptr, "Sped");
    EXPECT_EQ(CapturedStderr(),
              "X_Do: Failed, invalid argument list\n"
              "X_Get: Failed, invalid argument list\n"
              "X_Act: Failed, rActiveObject was wrong type, or NULL.\n"
              "X_ActNil: Failed, rActiveObject was wrong type, or NULL.\n"
              "X_SetProperty: Failed, cannot resolve Speed with 3 args.\n"
              "X_SetProperty: Failed, Sped does not match any property.\n");
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_TRUE(lua_isnil(L, 1));
    EXPECT_TRUE(lua_isnil(L, 2));

    // Silenced: everything but the property reporter is quiet; the nil results still come.
    SetLuaSilenceFlag(1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LuaArgListErrorNil("X_Get", L), 1);
    LuaActiveObjectTypeError("X_Act");
    LuaResolveError("X_SetProperty", "Speed", 3);
    LuaPropertyError("X_SetProperty", "Sped");
    EXPECT_EQ(CapturedStderr(), "X_SetProperty: Failed, Sped does not match any property.\n");
    EXPECT_EQ(lua_gettop(L), 3);
}

TEST_F(LuaBindingHelpersTest, ReadTypedValueMakesEachTypeAndRefusesTheRest)
{
    lua_pushstring(L, "UI");
    lua_pushnumber(L, 4000000000.0);
    TypedValue *tValue = LuaReadTypedValue(L, 1, 2);
    ASSERT_NE(tValue, nullptr);
    EXPECT_EQ(tValue->mType, 5);
    EXPECT_EQ(*(uint32_t *)tValue->rData, 4000000000u);
    FreeTypedValue(tValue);

    lua_settop(L, 0);
    lua_pushnumber(L, -7.9);
    lua_pushstring(L, "I");
    tValue = LuaReadTypedValue(L, 2, 1);
    ASSERT_NE(tValue, nullptr);
    EXPECT_EQ(tValue->mType, 2);
    EXPECT_EQ(*(int32_t *)tValue->rData, -7);
    FreeTypedValue(tValue);

    lua_settop(L, 0);
    lua_pushstring(L, "N");
    lua_pushnumber(L, 2.75);
    tValue = LuaReadTypedValue(L, 1, 2);
    ASSERT_NE(tValue, nullptr);
    EXPECT_EQ(tValue->mType, 3);
    EXPECT_FLOAT_EQ(*(float *)tValue->rData, 2.75f);
    FreeTypedValue(tValue);

    lua_settop(L, 0);
    lua_pushstring(L, "S");
    lua_pushstring(L, "text");
    tValue = LuaReadTypedValue(L, 1, 2);
    ASSERT_NE(tValue, nullptr);
    EXPECT_EQ(tValue->mType, 4);
    EXPECT_STREQ((const char *)tValue->rData, "text");
    FreeTypedValue(tValue);

    // Lower case, unknown types, bad indices, a string of nothing and arguments past the top.
    lua_settop(L, 0);
    lua_pushstring(L, "i");
    lua_pushnumber(L, 1);
    lua_pushstring(L, "S");
    lua_newtable(L);
    EXPECT_EQ(LuaReadTypedValue(L, 1, 2), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 3, 3), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 0, 2), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 3, 0), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 3, 4), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 3, 9), nullptr);
    EXPECT_EQ(LuaReadTypedValue(L, 9, 2), nullptr);
    EXPECT_EQ(LuaReadTypedValue(nullptr, 1, 2), nullptr);
}

TEST_F(LuaBindingHelpersTest, ReadIntoTypedValueTruncatesThroughAnInteger)
{
    float tFloat = 0.0f;
    int32_t tInt = 0;
    uint32_t tUnsigned = 0;
    uint8_t tBool = 1;
    TypedValue tFloatValue = {&tFloat, 3};
    TypedValue tIntValue = {&tInt, 2};
    TypedValue tUnsignedValue = {&tUnsigned, 5};
    TypedValue tBoolValue = {&tBool, 1};
    TypedValue tNoData = {nullptr, 2};

    lua_pushnumber(L, 2.9);
    lua_pushnumber(L, -1.75);
    lua_pushnumber(L, 1e30);
    lua_pushstring(L, "junk");
    LuaReadIntoTypedValue(&tFloatValue, L, 1);
    EXPECT_EQ(tFloat, 2.0f);
    LuaReadIntoTypedValue(&tFloatValue, L, 2);
    EXPECT_EQ(tFloat, -1.0f);
    LuaReadIntoTypedValue(&tIntValue, L, 1);
    EXPECT_EQ(tInt, 2);
    LuaReadIntoTypedValue(&tIntValue, L, 3);
    EXPECT_EQ(tInt, INT32_MAX);
    LuaReadIntoTypedValue(&tUnsignedValue, L, 1);
    EXPECT_EQ(tUnsigned, 2u);
    LuaReadIntoTypedValue(&tIntValue, L, 4);
    EXPECT_EQ(tInt, 0);

    tInt = 5;
    LuaReadIntoTypedValue(&tIntValue, L, 0);
    LuaReadIntoTypedValue(&tIntValue, nullptr, 1);
    LuaReadIntoTypedValue(&tNoData, L, 1);
    LuaReadIntoTypedValue(nullptr, L, 1);
    LuaReadIntoTypedValue(&tBoolValue, L, 1);
    EXPECT_EQ(tInt, 5);
    EXPECT_EQ(tBool, 1);
}

TEST_F(LuaBindingHelpersTest, PushTypedValueAlwaysPushesOneResult)
{
    int32_t tInt = -4;
    uint32_t tUnsigned = 4000000000u;
    float tFloat = 1.5f;
    char tText[] = "hello";
    TypedValue tValues[] = {{&tInt, 2}, {&tUnsigned, 5}, {&tFloat, 3}, {tText, 4}, {nullptr, 2}, {&tInt, 0}};
    for(TypedValue &rValue : tValues) EXPECT_EQ(LuaPushTypedValue(&rValue, L), 1);
    EXPECT_EQ(LuaPushTypedValue(nullptr, L), 1);
    EXPECT_EQ(LuaPushTypedValue(&tValues[0], nullptr), 0);

    ASSERT_EQ(lua_gettop(L), 7);
    EXPECT_EQ(lua_tonumber(L, 1), -4);
    EXPECT_EQ(lua_tonumber(L, 2), 4000000000.0);
    EXPECT_EQ(lua_tonumber(L, 3), 1.5);
    EXPECT_STREQ(lua_tostring(L, 4), "hello");
    EXPECT_TRUE(lua_isnil(L, 5));
    EXPECT_TRUE(lua_isnil(L, 6));
    EXPECT_TRUE(lua_isnil(L, 7));
}

TEST_F(LuaBindingHelpersTest, ArgumentReadersFallBackInsteadOfRaising)
{
    lua_pushnumber(L, 3.5);
    lua_pushstring(L, "12");
    lua_pushstring(L, "word");
    lua_pushboolean(L, 0);
    lua_newtable(L);

    EXPECT_TRUE(LuaArgIsNumber(L, 1));
    EXPECT_FALSE(LuaArgIsNumber(L, 2));
    EXPECT_TRUE(LuaArgIsString(L, 2));
    EXPECT_FALSE(LuaArgIsString(L, 6));
    EXPECT_EQ(LuaArgNumber(L, 1, -1.0), 3.5);
    EXPECT_EQ(LuaArgNumber(L, 2, -1.0), 12.0);
    EXPECT_EQ(LuaArgNumber(L, 3, -1.0), -1.0);
    EXPECT_EQ(LuaArgInteger(L, 1, -1), 3);
    EXPECT_EQ(LuaArgInteger(L, 5, -1), -1);
    EXPECT_EQ(LuaArgInteger(L, 0, -1), -1);
    EXPECT_STREQ(LuaArgString(L, 3, "none"), "word");
    EXPECT_STREQ(LuaArgString(L, 5, "none"), "none");
    EXPECT_STREQ(LuaArgString(L, 4, "none"), "none");
    EXPECT_STREQ(LuaArgString(L, 7, "none"), "none");
    EXPECT_FALSE(LuaArgBoolean(L, 4, true));
    EXPECT_TRUE(LuaArgBoolean(L, 3, false));
    EXPECT_TRUE(LuaArgBoolean(L, 9, true));
    EXPECT_EQ(lua_gettop(L), 5);
}

TEST_F(LuaBindingHelpersTest, ArgumentRangeChecksEveryNumberUpToTheLast)
{
    lua_pushnumber(L, 1.0);
    lua_pushnumber(L, 2.0);
    lua_pushnumber(L, 3.0);
    EXPECT_TRUE(LuaArgsAreNumbers(L, 1, 3));
    EXPECT_TRUE(LuaArgsAreNumbers(L, 2, 2));
    // Past the top there is no number.
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 4));

    // A word, a numeric string, a boolean or nil in the last place fails the range; so does one
    // in the first place.
    lua_pushstring(L, "four");
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 4));
    EXPECT_TRUE(LuaArgsAreNumbers(L, 1, 3));
    lua_settop(L, 3);
    lua_pushstring(L, "4");
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 4));
    lua_settop(L, 3);
    lua_pushboolean(L, 1);
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 4));
    lua_settop(L, 3);
    lua_pushnil(L);
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 4));
    lua_settop(L, 0);
    lua_pushstring(L, "one");
    lua_pushnumber(L, 2.0);
    EXPECT_FALSE(LuaArgsAreNumbers(L, 1, 2));
    EXPECT_TRUE(LuaArgsAreNumbers(L, 2, 2));
}

TEST_F(LuaBindingHelpersTest, RegisterLuaFunctionsMakesGlobals)
{
    static const luaL_Reg cTable[] = {
        {"T_Answer", [](lua_State *pL) -> int { lua_pushinteger(pL, 42); return 1; }},
        {"T_Nothing", [](lua_State *) -> int { return 0; }},
        {nullptr, nullptr},
    };
    luaL_openlibs(L);
    RegisterLuaFunctions(L, cTable);
    RegisterLuaFunctions(L, nullptr);
    RegisterLuaFunctions(nullptr, cTable);
    ASSERT_EQ(luaL_dostring(L, "answer = T_Answer() nothing = select('#', T_Nothing())"), LUA_OK);
    lua_getglobal(L, "answer");
    lua_getglobal(L, "nothing");
    EXPECT_EQ(lua_tointeger(L, -2), 42);
    EXPECT_EQ(lua_tointeger(L, -1), 0);
}
