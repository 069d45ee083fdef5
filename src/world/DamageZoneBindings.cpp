#include "world/DamageZone.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"

// The active object when it is a damage zone. Zones share type code 0 with other classes, so
// the class itself is asked.
static DamageZone *FetchActiveDamageZone()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return NULL;
    return dynamic_cast<DamageZone *>(rLibrary->GetActiveObject());
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
    nZone->SetName(LuaArgString(L, 1, NULL));
    if(!RegisterZone("Damage Zone List", nZone)) return 0;
    rLibrary->SetActiveObjectDirect(nZone);
    return 0;
}

static int DamageZone_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("DamageZone_SetProperty");
    DamageZone *rZone = FetchActiveDamageZone();
    if(!rZone) return LuaActiveObjectTypeError("DamageZone_SetProperty");

    const char *rKey = LuaArgString(L, 1, NULL);
    float tA = (float)LuaArgNumber(L, 2, 0.0);
    float tB = (float)LuaArgNumber(L, 3, 0.0);
    float tC = (float)LuaArgNumber(L, 4, 0.0);
    float tD = (float)LuaArgNumber(L, 5, 0.0);
    if(tArgs == 5 && !strcmp(rKey, "Rectangle")) rZone->SetRect(tA, tB, tC, tD);
    else if(tArgs == 5 && !strcmp(rKey, "RectangleWH")) rZone->SetRect(tA, tB, tA + tC, tB + tD);
    else if(tArgs == 2 && !strcmp(rKey, "DamageToPlayer")) rZone->SetDamageToPlayer(LuaArgInteger(L, 2, 0));
    else if(tArgs == 2 && !strcmp(rKey, "IsDeathPit")) rZone->SetDeathPit(LuaArgBoolean(L, 2, false) ? 1 : 0);
    else fprintf(stderr, "DamageZone_SetProperty: Cannot resolve %s with %i args.\n", rKey, tArgs);
    return 0;
}

static const luaL_Reg cDamageZoneBindings[] = {
    {"DamageZone_Create", DamageZone_Create},
    {"DamageZone_SetProperty", DamageZone_SetProperty},
    {NULL, NULL},
};

void RegisterDamageZoneBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cDamageZoneBindings);
}
