#include "world/ProxyTrigger.h"


#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active proxy trigger; otherwise the invalid-object message speaks for the binding and gives null.
static ProxyTrigger *FetchActiveTrigger(const char *pBindingName)
{
    ProxyTrigger *rActive = FetchActiveAs<ProxyTrigger>(TYPE_PROXYTRIGGER);
    if(!rActive) LuaInvalidObjectError(pBindingName);
    return rActive;
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
    nTrigger->SetName(LuaArgString(L, 1, nullptr));
    nTrigger->SetDebugRoutine(ProxyTrigger::DefaultOutline);
    rEntities->RegisterEntity(nTrigger->GetName(), nTrigger, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nTrigger);
    return 0;
}

static const LuaProperty<ProxyTrigger> cTriggerSetters[] = {
    {"Hitbox", 5, "NNNN",
     [](lua_State *L, ProxyTrigger *p, int) {
         p->SetRect(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int PTrigger_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1)
    {
        fprintf(stderr, "PTrigger_SetProperty: Failed, invalid argument list\n");
        return 0;
    }
    ProxyTrigger *rTrigger = FetchActiveTrigger("PTrigger_SetProperty");
    if(!rTrigger) return 0;
    return LuaCallProperty(L, "PTrigger_SetProperty", cTriggerSetters, rTrigger, LuaCouldNotResolveError);
}

static const luaL_Reg cTriggerBindings[] = {
    {"PTrigger_Create", PTrigger_Create},
    {"PTrigger_SetProperty", PTrigger_SetProperty},
    {nullptr, nullptr},
};

void ProxyTrigger::RegisterLuaFunctions(lua_State *L)
{
    ::RegisterLuaFunctions(L, cTriggerBindings);
}
