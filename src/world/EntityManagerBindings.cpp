#include "world/EntityManager.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/Particle.h"
#include "world/RootEntity.h"

// The manager when boot has built it; null (reported by the caller) otherwise.
static EntityManager *FetchEntityManager()
{
    return EntityManager::Fetch();
}

static int EM_Exists(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("EM_Exists", L);
    EntityManager *rManager = FetchEntityManager();
    lua_pushboolean(L, rManager && rManager->GetEntity(LuaArgString(L, 1, nullptr)) != nullptr);
    return 1;
}

// Only special lists of entities can hand out an active object; particles are plain records.
static RootEntity *SpecialListEntity(EntityManager *pManager, const char *pListName, const char *pEntryName)
{
    if(!pListName || !pEntryName || !strcmp(pListName, PARTICLE_LIST_NAME)) return nullptr;
    NamedLinkedList *rList = pManager->GetSpecialList(pListName);
    if(!rList) return nullptr;
    return (RootEntity *)rList->GetElementByName(pEntryName);
}

static int MakeActive(RootEntity *pEntity)
{
    DataLibrary::Fetch()->SetActiveObjectDirect(pEntity);
    return 0;
}

// EM_PushEntity's ways to find an entity other than by its name alone.
static const LuaProperty<EntityManager> cEntityLookups[] = {
    {"By ID", 2, "N", [](lua_State *L, EntityManager *p, int) { return MakeActive(p->FindByID(LuaArgInteger(L, 2, 0))); }},
    {"SpecialList", 3, nullptr,
     [](lua_State *L, EntityManager *p, int) {
         return MakeActive(SpecialListEntity(p, LuaArgString(L, 2, nullptr), LuaArgString(L, 3, nullptr)));
     }},
    {nullptr, 0, nullptr, nullptr},
};

// EM_PushEntity(name), or a lookup key above and its values: the old active object is pushed
// and the entity found, or none, becomes active.
static int EM_PushEntity(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    rLibrary->PushAndClearActive();

    int tArgs = lua_gettop(L);
    if(tArgs < 1) return LuaArgListError("EM_PushEntity");
    EntityManager *rManager = FetchEntityManager();
    if(!rManager) return 0;
    if(tArgs == 1) return MakeActive(rManager->GetEntity(LuaArgString(L, 1, nullptr)));
    return LuaCallProperty(L, "EM_PushEntity", cEntityLookups, rManager, nullptr);
}

static int EM_WipeAllProjectiles(lua_State *)
{
    EntityManager *rManager = FetchEntityManager();
    if(rManager) rManager->WipeProjectiles();
    return 0;
}

// EM_ParticleExplosion(x, y, angle): x and y are truncated; the angle is in radians.
static int EM_ParticleExplosion(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("EM_ParticleExplosion");
    // An angle past every float, or none, would send the debris nowhere a step could be taken.
    SpawnParticleExplosion(LuaArgInteger(L, 1, 0), LuaArgInteger(L, 2, 0), LuaArgCoordinate(L, 3));
    return 0;
}

static int EM_GetLastID(lua_State *L)
{
    EntityManager *rManager = FetchEntityManager();
    lua_pushinteger(L, rManager ? rManager->GetLastID() : 0);
    return 1;
}

static int EM_GetDistanceBetweenEntities(lua_State *L)
{
    EntityManager *rManager = FetchEntityManager();
    if(lua_gettop(L) != 2 || !LuaArgIsString(L, 1) || !LuaArgIsString(L, 2) || !rManager)
    {
        fputs("EM_GetDistanceBetweenEntities:  Failed, invalid argument list\n", stderr);
        fputs(" - Pushing dummy value of 10000.0f\n", stderr);
        lua_pushnumber(L, 10000.0);
        return 1;
    }
    lua_pushnumber(L, rManager->GetDistanceBetweenEntities(LuaArgString(L, 1, nullptr), LuaArgString(L, 2, nullptr)));
    return 1;
}

static int EM_GetAngleBetweenEntities(lua_State *L)
{
    EntityManager *rManager = FetchEntityManager();
    if(lua_gettop(L) != 2 || !LuaArgIsString(L, 1) || !LuaArgIsString(L, 2) || !rManager)
    {
        fputs("EM_GetAngleBetweenEntities:  Failed, invalid argument list\n", stderr);
        fputs(" - Pushing dummy value of 0.0f\n", stderr);
        lua_pushnumber(L, 0.0);
        return 1;
    }
    lua_pushnumber(L, rManager->GetAngleBetweenEntities(LuaArgString(L, 1, nullptr), LuaArgString(L, 2, nullptr)));
    return 1;
}

static Hitbox HitboxFromArgs(lua_State *L, int pFirst)
{
    return HitboxFromEdges(LuaArgFloat(L, pFirst + 0, 0.0f), LuaArgFloat(L, pFirst + 1, 0.0f),
                           LuaArgFloat(L, pFirst + 2, 0.0f), LuaArgFloat(L, pFirst + 3, 0.0f));
}

// The named entity's box; false when it is missing or has none.
static bool NamedHitbox(EntityManager *pManager, const char *pName, Hitbox &sBox)
{
    RootEntity *rEntity = pManager->GetEntity(pName);
    if(!rEntity || !rEntity->HasHitbox()) return false;
    rEntity->GetHitbox(sBox);
    return true;
}

static int EM_AreEntitiesColliding(lua_State *L)
{
    int tArgs = lua_gettop(L);
    EntityManager *rManager = FetchEntityManager();
    Hitbox tA = {};
    Hitbox tB = {};
    if(tArgs == 2 && LuaArgIsString(L, 1) && LuaArgIsString(L, 2) && rManager)
    {
        bool tBoth = NamedHitbox(rManager, LuaArgString(L, 1, nullptr), tA) && NamedHitbox(rManager, LuaArgString(L, 2, nullptr), tB);
        lua_pushboolean(L, tBoth && HitboxesOverlap(tA, tB));
        return 1;
    }
    if(tArgs == 5 && LuaArgIsString(L, 1) && LuaArgsAreNumbers(L, 2, 5) && rManager)
    {
        if(!NamedHitbox(rManager, LuaArgString(L, 1, nullptr), tA))
        {
            fprintf(stderr, "Failed %p\n", (void *)rManager->GetEntity(LuaArgString(L, 1, nullptr)));
            lua_pushboolean(L, 0);
            return 1;
        }
        lua_pushboolean(L, HitboxesOverlap(tA, HitboxFromArgs(L, 2)));
        return 1;
    }
    if(tArgs == 8 && LuaArgsAreNumbers(L, 1, 8))
    {
        lua_pushboolean(L, HitboxesOverlap(HitboxFromArgs(L, 1), HitboxFromArgs(L, 5)));
        return 1;
    }
    return LuaArgListErrorNil("EM_AreEntitiesColliding", L);
}

static const luaL_Reg cEntityManagerFunctions[] = {
    {"EM_Exists", EM_Exists},
    {"EM_PushEntity", EM_PushEntity},
    {"EM_WipeAllProjectiles", EM_WipeAllProjectiles},
    {"EM_ParticleExplosion", EM_ParticleExplosion},
    {"EM_GetLastID", EM_GetLastID},
    {"EM_GetDistanceBetweenEntities", EM_GetDistanceBetweenEntities},
    {"EM_GetAngleBetweenEntities", EM_GetAngleBetweenEntities},
    {"EM_AreEntitiesColliding", EM_AreEntitiesColliding},
    {nullptr, nullptr},
};

void EntityManager::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cEntityManagerFunctions);
}
