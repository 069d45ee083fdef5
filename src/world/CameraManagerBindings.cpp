#include "world/CameraManager.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"

// The manager always exists once booted; before that the bindings do nothing.
static CameraManager *FetchCameraManager(const char *pBindingName)
{
    CameraManager *rManager = CameraManager::Fetch();
    if(!rManager) fprintf(stderr, "%s:  Failed, no camera manager\n", pBindingName);
    return rManager;
}

static int CM_AddCamera(lua_State *L)
{
    if(lua_gettop(L) != 5 || !LuaArgIsString(L, 1) || !LuaArgsAreNumbers(L, 2, 5))
    {
        fputs("CM_AddCamera:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    CameraManager *rManager = FetchCameraManager("CM_AddCamera");
    if(!rManager) return 0;
    rManager->AddCamera(LuaArgString(L, 1, ""), LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0),
                        LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0));
    return 0;
}

static int CM_RemoveCamera(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1))
    {
        fputs("CM_RemoveCamera:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    CameraManager *rManager = FetchCameraManager("CM_RemoveCamera");
    if(rManager) rManager->RemoveCamera(LuaArgString(L, 1, ""));
    return 0;
}

static int CM_SetActiveCamera(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1))
    {
        fputs("CM_SetActiveCamera:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    CameraManager *rManager = FetchCameraManager("CM_SetActiveCamera");
    if(rManager) rManager->SetActiveCamera(LuaArgString(L, 1, ""));
    return 0;
}

static const luaL_Reg cCameraManagerFunctions[] = {
    {"CM_AddCamera", CM_AddCamera},
    {"CM_RemoveCamera", CM_RemoveCamera},
    {"CM_SetActiveCamera", CM_SetActiveCamera},
    {nullptr, nullptr},
};

void CameraManager::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cCameraManagerFunctions);
}
