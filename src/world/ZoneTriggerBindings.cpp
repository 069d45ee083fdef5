#include "world/ZoneTrigger.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active object when it is a zone trigger. Only the exact type counts: the proxy
// triggers share the code range but not the layout.
static ZoneTrigger *FetchActiveZoneTrigger()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveIsType(TYPE_ZONETRIGGER)) return NULL;
    return dynamic_cast<ZoneTrigger *>(rLibrary->GetActiveObject());
}

// ZTrigger_Create(name): the trigger becomes active with the old active object pushed. A bad
// call still pushes (with none active) so the script's closing pop stays balanced.
static int ZTrigger_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    EntityManager *rEntities = EntityManager::Fetch();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1) || !rEntities)
    {
        if(rLibrary) rLibrary->PushAndClearActive();
        return LuaArgListError("ZTrigger_Create");
    }
    if(!rLibrary) return 0;

    ZoneTrigger *nTrigger = new ZoneTrigger();
    nTrigger->SetName(LuaArgString(L, 1, NULL));
    rEntities->RegisterEntity(nTrigger->GetName(), nTrigger, DeleteRootObject);
    rLibrary->PushActiveEntity(nTrigger);
    return 0;
}

static int ZTrigger_GetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("ZTrigger_GetProperty", L);
    ZoneTrigger *rTrigger = FetchActiveZoneTrigger();
    if(!rTrigger) return LuaActiveObjectTypeErrorNil("ZTrigger_GetProperty", L);

    const char *rKey = LuaArgString(L, 1, NULL);
    if(tArgs == 1 && !strcmp(rKey, "GetActiveHitboxSlot"))
    {
        lua_pushinteger(L, rTrigger->GetActiveSlot());
        return 1;
    }
    if(tArgs == 2 && LuaArgIsNumber(L, 2) && !strcmp(rKey, "GetDimensionsOfHitbox"))
    {
        ZoneRect tRect = rTrigger->GetRect(LuaArgInteger(L, 2, -1));
        lua_pushnumber(L, tRect.mLft);
        lua_pushnumber(L, tRect.mTop);
        lua_pushnumber(L, tRect.mRgt);
        lua_pushnumber(L, tRect.mBot);
        return 4;
    }
    LuaResolveError("ZTrigger_GetProperty", rKey, tArgs);
    lua_pushnil(L);
    return 1;
}

static int ZTrigger_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("ZTrigger_SetProperty");
    ZoneTrigger *rTrigger = FetchActiveZoneTrigger();
    if(!rTrigger)
    {
        fputs("ZTrigger_SetProperty:  Failed, invalid object\n", stderr);
        return 0;
    }

    const char *rKey = LuaArgString(L, 1, NULL);
    if(tArgs == 2 && LuaArgIsNumber(L, 2) && !strcmp(rKey, "HitboxesTotal"))
    {
        rTrigger->SetRectCount(LuaArgInteger(L, 2, 0));
    }
    else if(tArgs == 6 && LuaArgsAreNumbers(L, 2, 6) && !strcmp(rKey, "Hitbox"))
    {
        rTrigger->SetRect(LuaArgInteger(L, 2, -1), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f),
                          LuaArgFloat(L, 5, 0.0f), LuaArgFloat(L, 6, 0.0f));
    }
    else if(tArgs == 2 && LuaArgIsString(L, 2) && !strcmp(rKey, "CallData"))
    {
        rTrigger->SetCallData(LuaArgString(L, 2, NULL), -1);
    }
    else if(tArgs == 3 && LuaArgIsString(L, 2) && LuaArgIsNumber(L, 3) && !strcmp(rKey, "CallData"))
    {
        rTrigger->SetCallData(LuaArgString(L, 2, NULL), LuaArgInteger(L, 3, -1));
    }
    else if(tArgs == 2 && !strcmp(rKey, "NoRefire"))
    {
        rTrigger->SetNoRefire(LuaArgBoolean(L, 2, false) ? 1 : 0);
    }
    else
    {
        LuaResolveError("ZTrigger_SetProperty", rKey, tArgs);
    }
    return 0;
}

static const luaL_Reg cZoneTriggerBindings[] = {
    {"ZTrigger_Create", ZTrigger_Create},
    {"ZTrigger_GetProperty", ZTrigger_GetProperty},
    {"ZTrigger_SetProperty", ZTrigger_SetProperty},
    {NULL, NULL},
};

void RegisterZoneTriggerBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cZoneTriggerBindings);
}
