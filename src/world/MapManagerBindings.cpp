#include "world/MapManager.h"

#include "core/LuaBindingHelpers.h"

// The manager when boot has built it; null otherwise, and the binding then does nothing.
static MapManager *FetchMapManager()
{
    return MapManager::Fetch();
}

static int MapM_SetPlayerStart(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("MapM_SetPlayerStart");
    MapManager *rManager = FetchMapManager();
    if(rManager) rManager->SetPlayerStart(LuaArgFloat(L, 1, 0.0f), LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    return 0;
}

static int MapM_SetWarpZone(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if((tArgs != 3 && tArgs != 5) || !LuaArgsAreNumbers(L, 1, tArgs)) return LuaArgListError("MapM_SetWarpZone");
    MapManager *rManager = FetchMapManager();
    if(!rManager) return 0;
    float tCameraX = tArgs == 5 ? LuaArgFloat(L, 4, 0.0f) : -1.0f;
    float tCameraY = tArgs == 5 ? LuaArgFloat(L, 5, 0.0f) : -1.0f;
    rManager->SetWarpZone(LuaArgInteger(L, 1, -1), LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), tCameraX, tCameraY);
    return 0;
}

static int MapM_SetOverlayColor(lua_State *L)
{
    if(lua_gettop(L) != 4 || !LuaArgsAreNumbers(L, 1, 4)) return LuaArgListError("MapM_SetOverlayColor");
    MapManager *rManager = FetchMapManager();
    if(rManager) rManager->SetOverlayColor(LuaArgFloat(L, 1, 0.0f), LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f));
    return 0;
}

static int MapM_SetZererozezLocation(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgsAreNumbers(L, 1, 2)) return LuaArgListError("MapM_SetZererozezLocation");
    MapManager *rManager = FetchMapManager();
    if(rManager) rManager->SetMechLocation(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, -1));
    return 0;
}

static int MapM_Shake(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgsAreNumbers(L, 1, 2)) return LuaArgListError("MapM_Shake");
    MapManager *rManager = FetchMapManager();
    if(!rManager) return 0;
    // Seconds from a script may be anything; a negative or unreadable time shakes not at all.
    int32_t tTicks = LuaNumberToInteger(LuaArgNumber(L, 2, 0.0) * 60.0);
    if(tTicks < 0) tTicks = 0;
    rManager->Shake(LuaArgCoordinate(L, 1), tTicks);
    return 0;
}

static int MapM_GetWorldClip(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgsAreNumbers(L, 1, 2)) return LuaArgListError("MapM_GetWorldClip");
    MapManager *rManager = FetchMapManager();
    // Without a map everything is solid.
    bool tClipped = rManager ? rManager->GetWorldClip(LuaArgInteger(L, 1, 0), LuaArgInteger(L, 2, 0)) : true;
    lua_pushboolean(L, tClipped);
    return 1;
}

static const luaL_Reg cMapManagerFunctions[] = {
    {"MapM_SetPlayerStart", MapM_SetPlayerStart},
    {"MapM_SetWarpZone", MapM_SetWarpZone},
    {"MapM_SetOverlayColor", MapM_SetOverlayColor},
    {"MapM_SetZererozezLocation", MapM_SetZererozezLocation},
    {"MapM_Shake", MapM_Shake},
    {"MapM_GetWorldClip", MapM_GetWorldClip},
    {nullptr, nullptr},
};

void MapManager::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cMapManagerFunctions);
}
