#include "core/render/DisplayManager.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"

// The enumeration table is made with the display, so the bindings need the display manager.
static DisplayManager *FetchDisplayManager(const char *pBindingName)
{
    DisplayManager *rDisplay = DisplayManager::Get();
    if(!rDisplay) fprintf(stderr, "%s:  Failed, no display manager exists yet\n", pBindingName);
    return rDisplay;
}

static int DM_GetEnumeration(lua_State *L)
{
    const char *rName = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    uint32_t tValue = 0;
    if(!rName) LuaArgListError("DM_GetEnumeration");
    else if(FetchDisplayManager("DM_GetEnumeration")) tValue = GetGLEnumeration(rName);
    lua_pushinteger(L, (lua_Integer)tValue);
    return 1;
}

static const luaL_Reg cDisplayManagerBindings[] =
{
    {"DM_GetEnumeration", DM_GetEnumeration},
    {nullptr, nullptr}
};

void RegisterDisplayManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDisplayManagerBindings);
}
