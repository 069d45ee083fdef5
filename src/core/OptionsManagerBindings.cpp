#include "core/OptionsManager.h"

#include "core/LuaBindingHelpers.h"
#include "core/Utilities.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Scripts such as the boot scripts run before the options manager is built, so every
// binding asks for it here first and fails cleanly without it.
static OptionsManager *FetchOptionsManager(const char *pBindingName)
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions) fprintf(stderr, "%s:  Failed, no options manager exists yet\n", pBindingName);
    return rOptions;
}

static const lua_Number cMissingOption = -700;

// A number option handed anything Lua cannot read as a number (a text such as "big", a table,
// nil) would silently become 0; say so instead. False when the value is not a number.
static bool CheckNumberValue(lua_State *L, int pIndex, const char *pBindingName, const char *pOption, const char *pOutcome)
{
    if(lua_isnumber(L, pIndex)) return true;
    const char *rText = LuaArgString(L, pIndex, nullptr);
    fprintf(stderr, "%s:  Warning, option %s takes a number, not %s%s%s; %s\n", pBindingName, pOption,
            rText ? "\"" : "", rText ? rText : luaL_typename(L, pIndex), rText ? "\"" : "", pOutcome);
    return false;
}

static int OM_DefineOption(lua_State *L)
{
    if(lua_gettop(L) != 3) return LuaArgListError("OM_DefineOption");
    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rKind = LuaArgString(L, 2, nullptr);
    if(!rName || !rKind) return LuaArgListError("OM_DefineOption");
    OptionsManager *rOptions = FetchOptionsManager("OM_DefineOption");
    if(!rOptions) return 0;

    if(!strcmp(rKind, "B"))
    {
        uint8_t *nValue = (uint8_t *)malloc(sizeof(uint8_t));
        if(!nValue) return 0;
        *nValue = lua_toboolean(L, 3) ? 1 : 0;
        rOptions->BindOwned(rName, nValue, TYPEDVALUE_BOOL);
    }
    else if(!strcmp(rKind, "N"))
    {
        CheckNumberValue(L, 3, "OM_DefineOption", rName, "it starts at 0");
        float *nValue = (float *)malloc(sizeof(float));
        if(!nValue) return 0;
        *nValue = (float)lua_tonumber(L, 3);
        rOptions->BindOwned(rName, nValue, TYPEDVALUE_FLOAT);
    }
    return 0;
}

static int OM_GetOption(lua_State *L)
{
    const char *rName = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rName)
    {
        fprintf(stderr, "OM_GetOption:  Failed, invalid argument list\n");
        lua_pushnumber(L, cMissingOption);
        return 1;
    }
    OptionsManager *rOptions = FetchOptionsManager("OM_GetOption");
    TypedValue *rValue = rOptions ? rOptions->FindOption(rName) : nullptr;
    if(!rValue || !rValue->rData)
    {
        if(rOptions) fprintf(stderr, "OM_GetOption:  Failed, option %s not found\n", rName);
        lua_pushnumber(L, cMissingOption);
        return 1;
    }

    if(rValue->mType == TYPEDVALUE_BOOL)
        lua_pushboolean(L, *(uint8_t *)rValue->rData);
    else if(rValue->mType == TYPEDVALUE_INT)
        lua_pushnumber(L, *(int32_t *)rValue->rData);
    else if(rValue->mType == TYPEDVALUE_FLOAT)
        lua_pushnumber(L, *(float *)rValue->rData);
    else
        lua_pushnumber(L, cMissingOption);
    return 1;
}

static int OM_SetOption(lua_State *L)
{
    const char *rName = lua_gettop(L) == 2 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rName)
    {
        fprintf(stderr, "OM_SetOption:  Failed, invalid argument list\n");
        return 0;
    }
    OptionsManager *rOptions = FetchOptionsManager("OM_SetOption");
    if(!rOptions) return 0;
    TypedValue *rValue = rOptions->FindOption(rName);
    if(!rValue || !rValue->rData)
    {
        fprintf(stderr, "OM_SetOption:  Failed, option %s not found\n", rName);
        return 0;
    }

    bool tWantsNumber = rValue->mType == TYPEDVALUE_INT || rValue->mType == TYPEDVALUE_FLOAT;
    if(tWantsNumber && !CheckNumberValue(L, 2, "OM_SetOption", rName, "it keeps its value")) return 0;

    if(rValue->mType == TYPEDVALUE_BOOL)
        *(uint8_t *)rValue->rData = lua_toboolean(L, 2) ? 1 : 0;
    else if(rValue->mType == TYPEDVALUE_INT)
        *(int32_t *)rValue->rData = LuaArgInteger(L, 2, 0);
    else if(rValue->mType == TYPEDVALUE_FLOAT)
        *(float *)rValue->rData = (float)LuaArgNumber(L, 2, 0.0);
    return 0;
}

static const luaL_Reg cOptionsManagerBindings[] =
{
    {"OM_DefineOption", OM_DefineOption},
    {"OM_GetOption", OM_GetOption},
    {"OM_SetOption", OM_SetOption},
    {nullptr, nullptr}
};

void RegisterOptionsManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cOptionsManagerBindings);
}
