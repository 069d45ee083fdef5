#include "world/RootProjectile.h"


#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"

// The active projectile; otherwise the type reporter speaks for the binding and gives null.
static RootProjectile *FetchActiveProjectile(const char *pBindingName)
{
    RootProjectile *rActive = FetchActiveInRange<RootProjectile>(TYPE_ROOTPROJECTILE, TYPE_PROJECTILE_LAST);
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
}

static const LuaProperty<RootProjectile> cSetters[] = {
    {"TargetFlags", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetTargetFlags((uint8_t)(LuaArgInteger(L, 2, 0) & 0xFF)); return 0; }},
    {"IgnoreDamage", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetIgnoreDamage(LuaArgFlag(L, 2)); return 0; }},
    {"Damage", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetDamage(LuaArgInteger(L, 2, 0)); return 0; }},
    {"IsBuster", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetIsBuster(LuaArgFlag(L, 2)); return 0; }},
    {"BusterTarget", 3, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetBusterTarget(LuaArgFlag(L, 2), LuaArgString(L, 3, nullptr)); return 0; }},
    {"BusterBlocker", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetBusterBlocker(LuaArgFlag(L, 2)); return 0; }},
    {"IgnoreClips", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetIgnoreClips(LuaArgFlag(L, 2)); return 0; }},
    {"Position", 3, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         if(LuaArgsAreFinite(L, 2, 3, "Proj_SetProperty")) p->SetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
         return 0;
     }},
    {"Dimensions", 5, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         p->SetDimensions(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
         return 0;
     }},
    {"Speeds", 4, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         if(LuaArgsAreFinite(L, 2, 3, "Proj_SetProperty")) p->SetSpeeds(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
         return 0;
     }},
    {"LogicScript", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetLogicScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"RenderScript", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetRenderScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"BlockScript", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetBlockScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"ImpactScript", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetImpactScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"DestructScript", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetDestructScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"ResetScript", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetResetScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"RenderFrame", 5, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         p->SetFrame(LuaArgString(L, 2, nullptr), LuaArgInteger(L, 3, 0), (float)LuaArgInteger(L, 4, 0),
                     (float)LuaArgInteger(L, 5, 0));
         return 0;
     }},
    {"FlipFlag", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetFlipFlag(LuaArgInteger(L, 2, 0)); return 0; }},
    {"AnimationDrawingOffsets", 3, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         p->SetAnimationDrawingOffsets(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
         return 0;
     }},
    {"AnimationLibraryPath", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetAnimationLibraryPath(LuaArgString(L, 2, nullptr)); return 0; }},
    {"SelfDestruct", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetDestruct(LuaArgFlag(L, 2)); return 0; }},
    {"InvincibleTimer", 3, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetInvincibleTimer(LuaArgFlag(L, 2), LuaArgInteger(L, 3, 0)); return 0; }},
    {"BlockAutoOffscreenDestruction", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetBlockAutoOffscreenDestruction(LuaArgFlag(L, 2)); return 0; }},
    {"ResetAnimationTimer", 1, nullptr, [](lua_State *, RootProjectile *p, int) { p->ResetAnimationTimer(); return 0; }},
    {"IsReflecting", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetReflecting(LuaArgFlag(L, 2)); return 0; }},
    {"IgnoreNoAnimationError", 1, nullptr, [](lua_State *, RootProjectile *p, int) { p->SetIgnoreNoAnimationError(1); return 0; }},
    {"IsObstacle", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetObstacle(LuaArgFlag(L, 2)); return 0; }},
    {"Rotation", 2, nullptr, [](lua_State *L, RootProjectile *p, int) { p->SetRotation(LuaArgFloat(L, 2, 0.0f)); return 0; }},
    {"ShowUnderlay", 4, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         p->SetUnderlay(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f));
         return 0;
     }},
    {"ImmuneToInterception", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { p->SetImmuneToInterception(LuaArgFlag(L, 2)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<RootProjectile> cGetters[] = {
    {"Position", 1, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         Hitbox tBox;
         p->GetHitbox(tBox);
         return LuaPushPair(L, tBox.mOwnerX, tBox.mOwnerY);
     }},
    {"Center", 1, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         Hitbox tBox;
         p->GetHitbox(tBox);
         return LuaPushPair(L, (tBox.mLft + tBox.mRgt) / 2.0f, (tBox.mTop + tBox.mBot) / 2.0f);
     }},
    {"Speeds", 1, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         float tX, tY, tZ;
         p->GetSpeeds(tX, tY, tZ);
         LuaPushPair(L, tX, tY);
         lua_pushnumber(L, tZ);
         return 3;
     }},
    {"WidthAndHeight", 1, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         Hitbox tBox;
         p->GetHitbox(tBox);
         return LuaPushPair(L, tBox.mRgt - tBox.mLft, tBox.mBot - tBox.mTop);
     }},
    {"IsReflecting", 1, nullptr, [](lua_State *L, RootProjectile *p, int) { lua_pushboolean(L, p->IsReflecting()); return 1; }},
    {"IgnoreClips", 1, nullptr, [](lua_State *L, RootProjectile *p, int) { lua_pushboolean(L, p->GetIgnoreClips()); return 1; }},
    {"IsSideBlocked", 2, nullptr,
     [](lua_State *L, RootProjectile *p, int) { lua_pushboolean(L, p->IsSideBlocked(LuaArgInteger(L, 2, -1))); return 1; }},
    {"HitLastTick", 1, nullptr,
     [](lua_State *L, RootProjectile *p, int) {
         lua_pushboolean(L, xProjectileLastHitPlayer != 0 && xProjectileLastHitPlayer == p->GetID());
         return 1;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int Proj_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Proj_Create");
    EntityManager *rManager = EntityManager::Fetch();
    if(!rLibrary || !rManager) return 0;

    const char *rName = LuaArgString(L, 1, nullptr);
    RootProjectile *nProjectile = new RootProjectile();
    nProjectile->SetName(rName);
    rLibrary->SetActiveObjectDirect(nProjectile);
    rManager->RegisterProjectile(rName, nProjectile, DeleteRootObject);
    return 0;
}

static int Proj_SetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("Proj_SetProperty");
    RootProjectile *rProjectile = FetchActiveProjectile("Proj_SetProperty");
    if(!rProjectile) return 0;
    return LuaCallProperty(L, "Proj_SetProperty", cSetters, rProjectile);
}

static int Proj_GetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListErrorNil("Proj_GetProperty", L);
    RootProjectile *rProjectile = FetchActiveProjectile("Proj_GetProperty");
    if(!rProjectile) return LuaPushNil(L);
    return LuaCallPropertyOrNil(L, "Proj_GetProperty", cGetters, rProjectile);
}

// The air-walk flag is one-shot and only a collision move spends it; a projectile that
// ignores clips must not leave it set for the next mover.
static int Proj_RunMove(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3))
    {
        return LuaArgListErrorNil("Proj_RunMove", L);
    }
    RootProjectile *rProjectile = FetchActiveProjectile("Proj_RunMove");
    if(!rProjectile) return 0;
    if(!rProjectile->GetIgnoreClips()) AllowAirWalk = true;
    rProjectile->Move(LuaArgFloat(L, 1, 0.0f), LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    rProjectile->UpdateHitbox();
    return 0;
}

// One step: only the sign of the direction counts, so a wild number cannot loop for long.
static int Proj_RunWallCrawl(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListErrorNil("Proj_RunWallCrawl", L);
    RootProjectile *rProjectile = FetchActiveProjectile("Proj_RunWallCrawl");
    if(!rProjectile) return 0;
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
    {nullptr, nullptr},
};

void RegisterProjLua(lua_State *L)
{
    RegisterLuaFunctions(L, cProjectileBindings);
}
