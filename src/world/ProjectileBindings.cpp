#include "world/RootProjectile.h"

#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"

// The active object when it is a projectile of any kind (type codes 200 to 299).
static RootProjectile *FetchActiveProjectile()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveTypeInRange(TYPE_ROOTPROJECTILE, TYPE_PROJECTILE_LAST)) return NULL;
    return dynamic_cast<RootProjectile *>(rLibrary->GetActiveObject());
}

// A property key with the whole argument count it takes (key included) and what it does.
typedef void (*ProjSetter)(lua_State *L, RootProjectile *pProjectile);
struct ProjSetEntry
{
    const char *mKey;
    int32_t mCount;
    ProjSetter rSetter;
};

typedef int (*ProjGetter)(lua_State *L, RootProjectile *pProjectile);
struct ProjGetEntry
{
    const char *mKey;
    int32_t mCount;
    ProjGetter rGetter;
};

static const ProjSetEntry cSetters[] = {
    {"TargetFlags", 2, [](lua_State *L, RootProjectile *p) { p->SetTargetFlags((uint8_t)(LuaArgInteger(L, 2, 0) & 0xFF)); }},
    {"IgnoreDamage", 2, [](lua_State *L, RootProjectile *p) { p->SetIgnoreDamage(LuaArgFlag(L, 2)); }},
    {"Damage", 2, [](lua_State *L, RootProjectile *p) { p->SetDamage(LuaArgInteger(L, 2, 0)); }},
    {"IsBuster", 2, [](lua_State *L, RootProjectile *p) { p->SetIsBuster(LuaArgFlag(L, 2)); }},
    {"BusterTarget", 3, [](lua_State *L, RootProjectile *p) { p->SetBusterTarget(LuaArgFlag(L, 2), LuaArgString(L, 3, NULL)); }},
    {"BusterBlocker", 2, [](lua_State *L, RootProjectile *p) { p->SetBusterBlocker(LuaArgFlag(L, 2)); }},
    {"IgnoreClips", 2, [](lua_State *L, RootProjectile *p) { p->SetIgnoreClips(LuaArgFlag(L, 2)); }},
    {"Position", 3, [](lua_State *L, RootProjectile *p) { p->SetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"Dimensions", 5,
     [](lua_State *L, RootProjectile *p) { p->SetDimensions(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f)); }},
    {"Speeds", 4, [](lua_State *L, RootProjectile *p) { p->SetSpeeds(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"LogicScript", 2, [](lua_State *L, RootProjectile *p) { p->SetLogicScript(LuaArgString(L, 2, NULL)); }},
    {"RenderScript", 2, [](lua_State *L, RootProjectile *p) { p->SetRenderScript(LuaArgString(L, 2, NULL)); }},
    {"BlockScript", 2, [](lua_State *L, RootProjectile *p) { p->SetBlockScript(LuaArgString(L, 2, NULL)); }},
    {"ImpactScript", 2, [](lua_State *L, RootProjectile *p) { p->SetImpactScript(LuaArgString(L, 2, NULL)); }},
    {"DestructScript", 2, [](lua_State *L, RootProjectile *p) { p->SetDestructScript(LuaArgString(L, 2, NULL)); }},
    {"ResetScript", 2, [](lua_State *L, RootProjectile *p) { p->SetResetScript(LuaArgString(L, 2, NULL)); }},
    {"RenderFrame", 5,
     [](lua_State *L, RootProjectile *p) {
         p->SetFrame(LuaArgString(L, 2, NULL), LuaArgInteger(L, 3, 0), (float)LuaArgInteger(L, 4, 0),
                     (float)LuaArgInteger(L, 5, 0));
     }},
    {"FlipFlag", 2, [](lua_State *L, RootProjectile *p) { p->SetFlipFlag(LuaArgInteger(L, 2, 0)); }},
    {"AnimationDrawingOffsets", 3,
     [](lua_State *L, RootProjectile *p) { p->SetAnimationDrawingOffsets(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"AnimationLibraryPath", 2, [](lua_State *L, RootProjectile *p) { p->SetAnimationLibraryPath(LuaArgString(L, 2, NULL)); }},
    {"SelfDestruct", 2, [](lua_State *L, RootProjectile *p) { p->SetDestruct(LuaArgFlag(L, 2)); }},
    {"InvincibleTimer", 3, [](lua_State *L, RootProjectile *p) { p->SetInvincibleTimer(LuaArgFlag(L, 2), LuaArgInteger(L, 3, 0)); }},
    {"BlockAutoOffscreenDestruction", 2,
     [](lua_State *L, RootProjectile *p) { p->SetBlockAutoOffscreenDestruction(LuaArgFlag(L, 2)); }},
    {"ResetAnimationTimer", 1, [](lua_State *, RootProjectile *p) { p->ResetAnimationTimer(); }},
    {"IsReflecting", 2, [](lua_State *L, RootProjectile *p) { p->SetReflecting(LuaArgFlag(L, 2)); }},
    {"IgnoreNoAnimationError", 1, [](lua_State *, RootProjectile *p) { p->SetIgnoreNoAnimationError(1); }},
    {"IsObstacle", 2, [](lua_State *L, RootProjectile *p) { p->SetObstacle(LuaArgFlag(L, 2)); }},
    {"Rotation", 2, [](lua_State *L, RootProjectile *p) { p->SetRotation(LuaArgFloat(L, 2, 0.0f)); }},
    {"ShowUnderlay", 4, [](lua_State *L, RootProjectile *p) { p->SetUnderlay(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f)); }},
    {"ImmuneToInterception", 2, [](lua_State *L, RootProjectile *p) { p->SetImmuneToInterception(LuaArgFlag(L, 2)); }},
    {NULL, 0, NULL},
};

static const ProjGetEntry cGetters[] = {
    {"Position", 1, [](lua_State *L, RootProjectile *p) { return LuaPushPair(L, p->GetHitboxPtr()->mOwnerX, p->GetHitboxPtr()->mOwnerY); }},
    {"Center", 1,
     [](lua_State *L, RootProjectile *p) {
         Hitbox *rBox = p->GetHitboxPtr();
         return LuaPushPair(L, (rBox->mLft + rBox->mRgt) / 2.0f, (rBox->mTop + rBox->mBot) / 2.0f);
     }},
    {"Speeds", 1,
     [](lua_State *L, RootProjectile *p) {
         float tX, tY, tZ;
         p->GetSpeeds(tX, tY, tZ);
         LuaPushPair(L, tX, tY);
         lua_pushnumber(L, tZ);
         return 3;
     }},
    {"WidthAndHeight", 1,
     [](lua_State *L, RootProjectile *p) {
         Hitbox *rBox = p->GetHitboxPtr();
         return LuaPushPair(L, rBox->mRgt - rBox->mLft, rBox->mBot - rBox->mTop);
     }},
    {"IsReflecting", 1, [](lua_State *L, RootProjectile *p) { lua_pushboolean(L, p->IsReflecting()); return 1; }},
    {"IgnoreClips", 1, [](lua_State *L, RootProjectile *p) { lua_pushboolean(L, p->GetIgnoreClips()); return 1; }},
    {"IsSideBlocked", 2,
     [](lua_State *L, RootProjectile *p) { lua_pushboolean(L, p->IsSideBlocked(LuaArgInteger(L, 2, -1))); return 1; }},
    {"HitLastTick", 1,
     [](lua_State *L, RootProjectile *p) {
         lua_pushboolean(L, xProjectileLastHitPlayer != 0 && xProjectileLastHitPlayer == p->GetID());
         return 1;
     }},
    {NULL, 0, NULL},
};

static int Proj_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Proj_Create");
    EntityManager *rManager = EntityManager::Fetch();
    if(!rLibrary || !rManager) return 0;

    const char *rName = LuaArgString(L, 1, NULL);
    RootProjectile *nProjectile = new RootProjectile();
    nProjectile->SetName(rName);
    rLibrary->SetActiveObjectDirect(nProjectile);
    rManager->RegisterProjectile(rName, nProjectile, DeleteRootObject);
    return 0;
}

static int Proj_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Proj_SetProperty");
    RootProjectile *rProjectile = FetchActiveProjectile();
    if(!rProjectile) return LuaActiveObjectTypeError("Proj_SetProperty");

    const char *rKey = LuaArgString(L, 1, NULL);
    for(const ProjSetEntry *rEntry = cSetters; rEntry->mKey; rEntry++)
    {
        if(rEntry->mCount != tArgs || strcmp(rEntry->mKey, rKey)) continue;
        rEntry->rSetter(L, rProjectile);
        return 0;
    }
    return LuaResolveError("Proj_SetProperty", rKey, tArgs);
}

static int Proj_GetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("Proj_GetProperty", L);
    RootProjectile *rProjectile = FetchActiveProjectile();
    if(!rProjectile) return LuaActiveObjectTypeErrorNil("Proj_GetProperty", L);

    const char *rKey = LuaArgString(L, 1, NULL);
    for(const ProjGetEntry *rEntry = cGetters; rEntry->mKey; rEntry++)
    {
        if(rEntry->mCount != tArgs || strcmp(rEntry->mKey, rKey)) continue;
        return rEntry->rGetter(L, rProjectile);
    }
    LuaResolveError("Proj_GetProperty", rKey, tArgs);
    lua_pushnil(L);
    return 1;
}

// The air-walk flag is one-shot and only a collision move spends it; a projectile that
// ignores clips must not leave it set for the next mover.
static int Proj_RunMove(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3))
    {
        return LuaArgListErrorNil("Proj_RunMove", L);
    }
    RootProjectile *rProjectile = FetchActiveProjectile();
    if(!rProjectile) return LuaActiveObjectTypeError("Proj_RunMove");
    if(!rProjectile->GetIgnoreClips()) AllowAirWalk = true;
    rProjectile->Move(LuaArgFloat(L, 1, 0.0f), LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    rProjectile->UpdateHitbox();
    return 0;
}

// One step: only the sign of the direction counts, so a wild number cannot loop for long.
static int Proj_RunWallCrawl(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListErrorNil("Proj_RunWallCrawl", L);
    RootProjectile *rProjectile = FetchActiveProjectile();
    if(!rProjectile) return LuaActiveObjectTypeError("Proj_RunWallCrawl");
    int32_t tDirection = LuaArgInteger(L, 1, 0);
    rProjectile->WallCrawl(tDirection > 0 ? 1 : (tDirection < 0 ? -1 : 0));
    return 0;
}

static const luaL_Reg cProjectileBindings[] = {
    {"Proj_Create", Proj_Create},
    {"Proj_SetProperty", Proj_SetProperty},
    {"Proj_GetProperty", Proj_GetProperty},
    {"Proj_RunMove", Proj_RunMove},
    {"Proj_RunWallCrawl", Proj_RunWallCrawl},
    {NULL, NULL},
};

void RegisterProjLua(lua_State *L)
{
    RegisterLuaFunctions(L, cProjectileBindings);
}
