#include "world/RootEntity.h"

#include <cstdio>

#include "core/DataList.h"
#include "core/Geometry.h"
#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active entity; otherwise the type reporter speaks for the binding and gives null. The
// setters that quietly do nothing without an entity pass no name, which keeps the reporter still.
static RootEntity *FetchActiveEntity(const char *pBindingName)
{
    RootEntity *rActive = FetchActiveAs<RootEntity>();
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
}

static int RE_SetEnabledState(lua_State *L)
{
    if(lua_gettop(L) != 1)
    {
        fputs("RE_SetEnabledState:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    RootEntity *rEntity = FetchActiveEntity(nullptr);
    if(rEntity) rEntity->SetEnabled(lua_toboolean(L, 1) ? 1 : 0);
    return 0;
}

static int RE_SetDestruct(lua_State *L)
{
    if(lua_gettop(L) != 1) return LuaArgListError("RE_SetDestruct");
    RootEntity *rEntity = FetchActiveEntity(nullptr);
    if(rEntity) rEntity->SetDestruct(lua_toboolean(L, 1) ? 1 : 0);
    return 0;
}

static int RE_GetData(lua_State *L)
{
    RootEntity *rEntity = FetchActiveEntity("RE_GetData");
    if(!rEntity) return 0;
    return DataListGetDataOn(L, rEntity->GetData());
}

static int RE_SetData(lua_State *L)
{
    RootEntity *rEntity = FetchActiveEntity("RE_SetData");
    if(!rEntity) return 0;
    return DataListSetDataOn(L, rEntity->GetData());
}

static int RE_DefineData(lua_State *L)
{
    RootEntity *rEntity = FetchActiveEntity("RE_DefineData");
    if(!rEntity) return 0;
    return DataListDefineOn(L, rEntity->GetData());
}

static int RE_IsSideBlocked(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("RE_IsSideBlocked", L);
    RootEntity *rEntity = FetchActiveEntity("RE_IsSideBlocked");
    if(!rEntity) return LuaPushNil(L);
    lua_pushboolean(L, rEntity->IsSideBlockedByName(LuaArgString(L, 1, nullptr)));
    return 1;
}

static int RE_IsCollidingWith(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("RE_IsCollidingWith", L);
    RootEntity *rEntity = FetchActiveEntity("RE_IsCollidingWith");
    if(!rEntity) return LuaPushNil(L);

    EntityManager *rManager = EntityManager::Fetch();
    RootEntity *rOther = rManager ? rManager->GetEntity(LuaArgString(L, 1, nullptr)) : nullptr;
    bool tColliding = false;
    if(rOther && rEntity->HasHitbox() && rOther->HasHitbox())
    {
        Hitbox tOwn = {};
        Hitbox tTheirs = {};
        rEntity->GetHitbox(tOwn);
        rOther->GetHitbox(tTheirs);
        tColliding = HitboxesOverlap(tOwn, tTheirs);
    }
    lua_pushboolean(L, tColliding);
    return 1;
}

static int RE_ApplyPush(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3))
    {
        return LuaArgListErrorNil("RE_ApplyPush", L);
    }
    RootEntity *rEntity = FetchActiveEntity(nullptr);
    if(rEntity)
    {
        rEntity->ApplyPush((float)LuaArgNumber(L, 1, 0.0), (float)LuaArgNumber(L, 2, 0.0), (float)LuaArgNumber(L, 3, 0.0));
    }
    return 0;
}

static int RE_SetDepth(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListErrorNil("RE_SetDepth", L);
    RootEntity *rEntity = FetchActiveEntity(nullptr);
    if(rEntity) rEntity->SetDepth((float)LuaArgNumber(L, 1, 0.0));
    return 0;
}

static const luaL_Reg cRootEntityFunctions[] = {
    {"RE_SetEnabledState", RE_SetEnabledState},
    {"RE_SetDestruct", RE_SetDestruct},
    {"RE_GetData", RE_GetData},
    {"RE_SetData", RE_SetData},
    {"RE_DefineData", RE_DefineData},
    {"RE_IsSideBlocked", RE_IsSideBlocked},
    {"RE_IsCollidingWith", RE_IsCollidingWith},
    {"RE_ApplyPush", RE_ApplyPush},
    {"RE_SetDepth", RE_SetDepth},
    {nullptr, nullptr},
};

void RegisterRootEntityLua(lua_State *L)
{
    RegisterLuaFunctions(L, cRootEntityFunctions);
}
