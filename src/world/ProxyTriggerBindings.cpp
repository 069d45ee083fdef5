#include "world/ProxyTrigger.h"

#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active trigger (type 401), or null.
static ProxyTrigger *FetchActiveTrigger()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveIsType(TYPE_PROXYTRIGGER)) return NULL;
    return static_cast<ProxyTrigger *>(rLibrary->GetActiveObject());
}

static int PTrigger_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1))
    {
        fprintf(stderr, "PTrigger_Create: Failed, invalid argument list\n");
        return 0;
    }
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rLibrary || !rEntities) return 0;
    ProxyTrigger *nTrigger = new ProxyTrigger();
    nTrigger->SetName(LuaArgString(L, 1, NULL));
    nTrigger->SetDebugRoutine(ProxyTrigger::DefaultOutline);
    rEntities->RegisterEntity(nTrigger->GetName(), nTrigger, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nTrigger);
    return 0;
}

static int PTrigger_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1)
    {
        fprintf(stderr, "PTrigger_SetProperty: Failed, invalid argument list\n");
        return 0;
    }
    ProxyTrigger *rTrigger = FetchActiveTrigger();
    if(!rTrigger)
    {
        fprintf(stderr, "PTrigger_SetProperty:  Failed, invalid object\n");
        return 0;
    }
    const char *rKey = LuaArgString(L, 1, "");
    if(tArgs != 5 || strcmp(rKey, "Hitbox") || !LuaArgsAreNumbers(L, 2, 5))
    {
        fprintf(stderr, "PTrigger_SetProperty:  Failed, could not resolve %s with %i args\n", rKey, tArgs);
        return 0;
    }
    rTrigger->SetRect(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
    return 0;
}

static const luaL_Reg cTriggerBindings[] = {
    {"PTrigger_Create", PTrigger_Create},
    {"PTrigger_SetProperty", PTrigger_SetProperty},
    {NULL, NULL},
};

void RegisterProxyTriggerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cTriggerBindings);
}
