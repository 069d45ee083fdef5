#include "core/LuaManager.h"

#include "core/LuaBindingHelpers.h"

#include <cstdint>
#include <cstdlib>

namespace
{
    // The manager every "LM_" binding acts on; null before boot or after shutdown.
    LuaManager *CheckedLuaManager()
    {
        return LuaManager::Fetch();
    }

    // Script arguments are texts: strings and numbers as Lua converts them, booleans and
    // nil as their names, anything else by its type name, so every slot keeps its position.
    const char *ArgumentText(lua_State *L, int pIndex)
    {
        const char *rText = LuaArgString(L, pIndex, nullptr);
        if(rText) return rText;
        if(lua_type(L, pIndex) == LUA_TBOOLEAN) return lua_toboolean(L, pIndex) ? "true" : "false";
        return lua_typename(L, lua_type(L, pIndex));
    }
}

// LM_GetRandomNumber(lo, hi): an integer in [lo, hi]. Reversed bounds are swapped, so an
// empty range can never divide by zero.
static int LM_GetRandomNumber(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgIsNumber(L, 1) || !LuaArgIsNumber(L, 2))
    {
        LuaArgListError("LM_GetRandomNumber");
        lua_pushinteger(L, 0);
        return 1;
    }
    int64_t tLow = LuaArgInteger(L, 1, 0);
    int64_t tHigh = LuaArgInteger(L, 2, 0);
    if(tHigh < tLow)
    {
        int64_t tSwap = tLow;
        tLow = tHigh;
        tHigh = tSwap;
    }
    int64_t tRange = tHigh - tLow + 1;
    lua_pushinteger(L, (lua_Integer)(tLow + (int64_t)rand() % tRange));
    return 1;
}

// LM_SetSilenceFlag(flag)
static int LM_SetSilenceFlag(lua_State *L)
{
    if(lua_gettop(L) != 1) return LuaArgListError("LM_SetSilenceFlag");
    SetLuaSilenceFlag(lua_toboolean(L, 1) ? 1 : 0);
    return 0;
}

// LM_IsPrecompiledMode(): boolean
static int LM_IsPrecompiledMode(lua_State *L)
{
    LuaManager *rManager = CheckedLuaManager();
    lua_pushboolean(L, rManager && rManager->IsPrecompiledMode());
    return 1;
}

// LM_GetCallStack(depth): name of the running script at that depth, 0 = innermost.
static int LM_GetCallStack(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListErrorNil("LM_GetCallStack", L);
    LuaManager *rManager = CheckedLuaManager();
    if(!rManager) return LuaArgListErrorNil("LM_GetCallStack", L);
    return LuaPushStringOrNil(L, rManager->GetCallStackName(LuaArgInteger(L, 1, -1)));
}

// LM_BootTarballMode(path)
static int LM_BootTarballMode(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    LuaManager *rManager = CheckedLuaManager();
    if(lua_gettop(L) != 1 || !rPath || !rManager) return LuaArgListError("LM_BootTarballMode");
    rManager->BootScriptPack(rPath);
    return 0;
}

// LM_ExecuteScript(path, ...): runs the file with the further values as its arguments.
static int LM_ExecuteScript(lua_State *L)
{
    int tArgs = lua_gettop(L);
    const char *rPath = LuaArgString(L, 1, nullptr);
    LuaManager *rManager = CheckedLuaManager();
    if(tArgs < 1 || !rPath || !rManager) return LuaArgListError("LM_ExecuteScript");

    rManager->SetArgumentCount(tArgs - 1);
    for(int i = 2; i <= tArgs; i++) rManager->AddStringArgument(ArgumentText(L, i));
    rManager->ExecuteFile(rPath);
    return 0;
}

// LM_GetNumOfArgs(): the count of the current script-argument array.
static int LM_GetNumOfArgs(lua_State *L)
{
    LuaManager *rManager = CheckedLuaManager();
    lua_pushinteger(L, rManager ? rManager->GetArgumentCount() : 0);
    return 1;
}

// LM_GetScriptArgument(index): the argument's text, nil out of range.
static int LM_GetScriptArgument(lua_State *L)
{
    LuaManager *rManager = CheckedLuaManager();
    if(lua_gettop(L) < 1 || !rManager)
    {
        LuaArgListError("LM_GetScriptArgument");
        lua_pushstring(L, "NULL");
        return 1;
    }
    if(!LuaArgIsNumber(L, 1)) return LuaPushStringOrNil(L, nullptr);
    return LuaPushStringOrNil(L, rManager->GetArgument(LuaArgInteger(L, 1, -1)));
}

// LM_NewMacro(name, code)
static int LM_NewMacro(lua_State *L)
{
    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rCode = LuaArgString(L, 2, nullptr);
    LuaManager *rManager = CheckedLuaManager();
    if(lua_gettop(L) < 2 || !rName || !rCode || !rManager) return LuaArgListError("LM_NewMacro");
    rManager->NewMacro(rName, rCode);
    return 0;
}

// LM_AppendMacro(name, code)
static int LM_AppendMacro(lua_State *L)
{
    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rCode = LuaArgString(L, 2, nullptr);
    LuaManager *rManager = CheckedLuaManager();
    if(lua_gettop(L) < 2 || !rName || !rCode || !rManager) return LuaArgListError("LM_AppendMacro");
    rManager->AppendMacro(rName, rCode);
    return 0;
}

// LM_Call(name): runs the macro of that name.
static int LM_Call(lua_State *L)
{
    const char *rName = LuaArgString(L, 1, nullptr);
    LuaManager *rManager = CheckedLuaManager();
    if(lua_gettop(L) < 1 || !rName || !rManager) return LuaArgListError("LM_Call");
    rManager->CallMacro(rName);
    return 0;
}

static const luaL_Reg cLuaManagerBindings[] = {
    {"LM_GetRandomNumber", LM_GetRandomNumber},
    {"LM_SetSilenceFlag", LM_SetSilenceFlag},
    {"LM_IsPrecompiledMode", LM_IsPrecompiledMode},
    {"LM_GetCallStack", LM_GetCallStack},
    {"LM_BootTarballMode", LM_BootTarballMode},
    {"LM_ExecuteScript", LM_ExecuteScript},
    {"LM_GetNumOfArgs", LM_GetNumOfArgs},
    {"LM_GetScriptArgument", LM_GetScriptArgument},
    {"LM_NewMacro", LM_NewMacro},
    {"LM_AppendMacro", LM_AppendMacro},
    {"LM_Call", LM_Call},
    {nullptr, nullptr},
};

void RegisterLuaManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cLuaManagerBindings);
}
