#include "world/ZoneTrigger.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active zone trigger; otherwise pReport speaks for the binding and gives null. Only the
// exact type counts: the proxy triggers share the code range but not the layout.
static ZoneTrigger *FetchActiveZoneTrigger(const char *pBindingName, LuaObjectMissReport pReport = LuaActiveObjectTypeError)
{
    ZoneTrigger *rActive = FetchActiveAs<ZoneTrigger>(TYPE_ZONETRIGGER);
    if(!rActive) pReport(pBindingName);
    return rActive;
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
    nTrigger->SetName(LuaArgString(L, 1, nullptr));
    rEntities->RegisterEntity(nTrigger->GetName(), nTrigger, DeleteRootObject);
    rLibrary->PushActiveEntity(nTrigger);
    return 0;
}

static const LuaProperty<ZoneTrigger> cZoneTriggerGetters[] = {
    {"GetActiveHitboxSlot", 1, nullptr, [](lua_State *L, ZoneTrigger *p, int) { lua_pushinteger(L, p->GetActiveSlot()); return 1; }},
    {"GetDimensionsOfHitbox", 2, "N",
     [](lua_State *L, ZoneTrigger *p, int) {
         ZoneRect tRect = p->GetRect(LuaArgInteger(L, 2, -1));
         LuaPushPair(L, tRect.mLft, tRect.mTop);
         return LuaPushPair(L, tRect.mRgt, tRect.mBot) + 2;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<ZoneTrigger> cZoneTriggerSetters[] = {
    {"HitboxesTotal", 2, "N", [](lua_State *L, ZoneTrigger *p, int) { p->SetRectCount(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Hitbox", 6, "NNNNN",
     [](lua_State *L, ZoneTrigger *p, int) {
         p->SetRect(LuaArgInteger(L, 2, -1), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f),
                    LuaArgFloat(L, 6, 0.0f));
         return 0;
     }},
    {"CallData", 2, "S", [](lua_State *L, ZoneTrigger *p, int) { p->SetCallData(LuaArgString(L, 2, nullptr), -1); return 0; }},
    {"CallData", 3, "SN",
     [](lua_State *L, ZoneTrigger *p, int) { p->SetCallData(LuaArgString(L, 2, nullptr), LuaArgInteger(L, 3, -1)); return 0; }},
    {"NoRefire", 2, nullptr, [](lua_State *L, ZoneTrigger *p, int) { p->SetNoRefire(LuaArgFlag(L, 2)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int ZTrigger_GetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListErrorNil("ZTrigger_GetProperty", L);
    ZoneTrigger *rTrigger = FetchActiveZoneTrigger("ZTrigger_GetProperty");
    if(!rTrigger) return LuaPushNil(L);
    return LuaCallPropertyOrNil(L, "ZTrigger_GetProperty", cZoneTriggerGetters, rTrigger);
}

static int ZTrigger_SetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("ZTrigger_SetProperty");
    ZoneTrigger *rTrigger = FetchActiveZoneTrigger("ZTrigger_SetProperty", LuaInvalidObjectError);
    if(!rTrigger) return 0;
    return LuaCallProperty(L, "ZTrigger_SetProperty", cZoneTriggerSetters, rTrigger);
}

static const luaL_Reg cZoneTriggerBindings[] = {
    {"ZTrigger_Create", ZTrigger_Create},
    {"ZTrigger_GetProperty", ZTrigger_GetProperty},
    {"ZTrigger_SetProperty", ZTrigger_SetProperty},
    {nullptr, nullptr},
};

void ZoneTrigger::RegisterLuaFunctions(lua_State *L)
{
    ::RegisterLuaFunctions(L, cZoneTriggerBindings);
}
