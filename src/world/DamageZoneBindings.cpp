#include "world/DamageZone.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active damage zone; otherwise the type reporter speaks for the binding and gives null.
static DamageZone *FetchActiveDamageZone(const char *pBindingName)
{
    DamageZone *rActive = FetchActiveAs<DamageZone>();
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
}

// DamageZone_Create(name): the old active object is pushed (also on failure) and the new zone
// becomes active, so DamageZone_SetProperty can follow.
static int DamageZone_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("DamageZone_Create");
    if(!rLibrary) return 0;

    DamageZone *nZone = new DamageZone();
    nZone->SetName(LuaArgString(L, 1, nullptr));
    if(!RegisterZone(DAMAGE_ZONE_LIST_NAME, nZone)) return 0;
    rLibrary->SetActiveObjectDirect(nZone);
    return 0;
}

static const LuaProperty<DamageZone> cDamageZoneSetters[] = {
    {"Rectangle", 5, nullptr,
     [](lua_State *L, DamageZone *p, int) {
         p->SetRect(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
         return 0;
     }},
    {"RectangleWH", 5, nullptr,
     [](lua_State *L, DamageZone *p, int) {
         float tLft = LuaArgFloat(L, 2, 0.0f);
         float tTop = LuaArgFloat(L, 3, 0.0f);
         p->SetRect(tLft, tTop, tLft + LuaArgFloat(L, 4, 0.0f), tTop + LuaArgFloat(L, 5, 0.0f));
         return 0;
     }},
    {"DamageToPlayer", 2, nullptr, [](lua_State *L, DamageZone *p, int) { p->SetDamageToPlayer(LuaArgInteger(L, 2, 0)); return 0; }},
    {"IsDeathPit", 2, nullptr, [](lua_State *L, DamageZone *p, int) { p->SetDeathPit(LuaArgFlag(L, 2)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

// The zone's own wording, never muted.
static int ReportDamageZoneMiss(const char *pBindingName, const char *pKey, int32_t pArgCount)
{
    fprintf(stderr, "%s: Cannot resolve %s with %i args.\n", pBindingName, pKey, pArgCount);
    return 0;
}

static int DamageZone_SetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("DamageZone_SetProperty");
    DamageZone *rZone = FetchActiveDamageZone("DamageZone_SetProperty");
    if(!rZone) return 0;
    return LuaCallProperty(L, "DamageZone_SetProperty", cDamageZoneSetters, rZone, ReportDamageZoneMiss);
}

static const luaL_Reg cDamageZoneBindings[] = {
    {"DamageZone_Create", DamageZone_Create},
    {"DamageZone_SetProperty", DamageZone_SetProperty},
    {nullptr, nullptr},
};

void RegisterDamageZoneLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDamageZoneBindings);
}
