#include "core/ControlManager.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"

// The boot scripts that run before the control manager is built may already call these, so
// every binding asks for it here first and fails cleanly without it.
static ControlManager *FetchControlManager(const char *pBindingName)
{
    ControlManager *rControls = ControlManager::Get();
    if(!rControls) fprintf(stderr, "%s:  Failed, no control manager exists yet\n", pBindingName);
    return rControls;
}

// A binding text may be nil, which leaves that set unbound like "NULL".
static bool IsBindingTextArgument(lua_State *L, int pIndex)
{
    return lua_isnil(L, pIndex) || LuaArgIsString(L, pIndex);
}

static int CM_Rebind(lua_State *L)
{
    if(lua_gettop(L) != 3) return LuaArgListError("CM_Rebind");
    const char *rControlName = LuaArgString(L, 1, nullptr);
    if(!rControlName || !IsBindingTextArgument(L, 2) || !IsBindingTextArgument(L, 3)) return LuaArgListError("CM_Rebind");
    ControlManager *rControls = FetchControlManager("CM_Rebind");
    if(!rControls) return 0;

    rControls->SetBindingByNames(rControlName, LuaArgString(L, 2, nullptr), LuaArgString(L, 3, nullptr));
    return 0;
}

static const luaL_Reg cControlManagerBindings[] =
{
    {"CM_Rebind", CM_Rebind},
    {nullptr, nullptr},
};

void RegisterControlManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cControlManagerBindings);
}
