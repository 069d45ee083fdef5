#include "core/data/CorvelLumpManager.h"

#include "core/LuaBindingHelpers.h"

// Without a manager (scripts run before boot made one) every binding does nothing and gives
// its empty result.
static CorvelLumpManager *FetchLumpManager()
{
    return CorvelLumpManager::Fetch();
}

// SLF_Open(path)
static int Lua_SLF_Open(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("CorvelLumpManager");
    CorvelLumpManager *rManager = FetchLumpManager();
    if(!rManager) return 0;
    rManager->Open(LuaArgString(L, 1, nullptr));
    return 0;
}

// SLF_Close()
static int Lua_SLF_Close(lua_State *L)
{
    CorvelLumpManager *rManager = FetchLumpManager();
    if(rManager) rManager->Close();
    return 0;
}

// SLF_IsFileOpen() -> boolean
static int Lua_SLF_IsFileOpen(lua_State *L)
{
    CorvelLumpManager *rManager = FetchLumpManager();
    lua_pushboolean(L, rManager && rManager->IsOpen());
    return 1;
}

// SLF_GetOpenPath() -> the path, or "NULL"
static int Lua_SLF_GetOpenPath(lua_State *L)
{
    CorvelLumpManager *rManager = FetchLumpManager();
    const char *rPath = rManager ? rManager->GetOpenPath() : nullptr;
    lua_pushstring(L, rPath ? rPath : "NULL");
    return 1;
}

static const luaL_Reg cLumpManagerFunctions[] = {
    {"SLF_Open", Lua_SLF_Open},
    {"SLF_Close", Lua_SLF_Close},
    {"SLF_IsFileOpen", Lua_SLF_IsFileOpen},
    {"SLF_GetOpenPath", Lua_SLF_GetOpenPath},
    {nullptr, nullptr},
};

void RegisterCorvelLumpManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cLumpManagerFunctions);
}
