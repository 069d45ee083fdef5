#include "actors/Enemy.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/EnemyHitbox.h"
#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "core/render/CorvelAnimation.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"

bool IsEnemyActive()
{
    return ActiveIsTypeOrWarn(TYPE_ENEMY, "Enemy");
}

// The active Enemy; null after IsEnemyActive's warning.
static Enemy *FetchActiveEnemy()
{
    return IsEnemyActive() ? FetchActiveAs<Enemy>(TYPE_ENEMY) : nullptr;
}

static const LuaProperty<Enemy> cSetters[] = {
    {"Health", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->GetHealth()->SetHealth(LuaArgInteger(L, 2, 0)); return 0; }},
    {"PathToLogicScript", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetLogicScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"PathToDestructionScript", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetDestructionScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"PathToHitReactionScript", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetHitReactionScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"Position", 3, nullptr,
     [](lua_State *L, Enemy *e, int) {
         if(LuaArgsAreFinite(L, 2, 3, "Enemy_SetProperty")) e->SetPositionAutoCenter(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), 0.0f);
         return 0;
     }},
    {"BoundingBoxSize", 3, nullptr,
     [](lua_State *L, Enemy *e, int) { e->SetBoundingBoxSize(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"IgnoreDamage", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetIgnoreDamage(LuaArgFlag(L, 2)); return 0; }},
    {"ContactDamage", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetContactDamage(LuaArgInteger(L, 2, -1)); return 0; }},
    {"DamageSoundEffect", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetDamageSoundEffect(LuaArgString(L, 2, nullptr)); return 0; }},
    {"InvincibleMaxTime", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetInvincibleMaxTime(LuaArgInteger(L, 2, 0)); return 0; }},
    {"InvincibleSoundEffect", 2, nullptr,
     [](lua_State *L, Enemy *e, int) { e->SetInvincibleSoundEffect(LuaArgString(L, 2, nullptr)); return 0; }},
    {"AllowDeath", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetAllowDeath(LuaArgFlag(L, 2)); return 0; }},
    {"UseBoundingBoxAsHitbox", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetUseBoundingBoxAsHitbox(LuaArgFlag(L, 2)); return 0; }},
    {"DoNotDespawnOffScreen", 1, nullptr, [](lua_State *, Enemy *e, int) { e->SetDoNotDespawnOffScreen(); return 0; }},
    {"MoveEntityFlag", LuaAtLeast(1), nullptr,
     [](lua_State *L, Enemy *e, int) { e->SetMoveEntityFlag(LuaArgString(L, 2, nullptr), LuaArgFlag(L, 3)); return 0; }},
    {"DamageTakenFrom", 3, nullptr,
     [](lua_State *L, Enemy *e, int) { e->SetDamageTakenFrom(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0)); return 0; }},
    {"SpawnPointCoordinates", 3, nullptr,
     [](lua_State *L, Enemy *e, int) { e->SetSpawnPointCoordinates(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"UsePuppetHitboxes", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetUsePuppetHitboxes(LuaArgFlag(L, 2)); return 0; }},
    {"ShowUnderlayHitbox", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetShowUnderlayHitbox(LuaArgFlag(L, 2)); return 0; }},
    {"WaitTimeBeforeEnabled", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetWaitTimeBeforeEnabled(LuaArgInteger(L, 2, 0)); return 0; }},
    {"IgnorePlatformCollision", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetIgnorePlatformCollision(LuaArgFlag(L, 2)); return 0; }},
    {"BusterBlocker", 2, nullptr, [](lua_State *L, Enemy *e, int) { e->SetBusterBlocker(LuaArgFlag(L, 2)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<Enemy> cGetters[] = {
    {"Position", 1, nullptr,
     [](lua_State *L, Enemy *e, int) {
         float tX, tY, tZ;
         e->GetPosition(tX, tY, tZ);
         return LuaPushPair(L, tX, tY);
     }},
    {"Center", 1, nullptr,
     [](lua_State *L, Enemy *e, int) {
         Hitbox *rBox = e->GetHitboxPtr();
         return LuaPushPair(L, (rBox->mLft + rBox->mRgt) / 2.0f, (rBox->mTop + rBox->mBot) / 2.0f);
     }},
    {"Health", 1, nullptr, [](lua_State *L, Enemy *e, int) { lua_pushinteger(L, e->GetHealth()->GetHealth()); return 1; }},
    {"BoundingBoxSize", 1, nullptr,
     [](lua_State *L, Enemy *e, int) {
         Hitbox *rBox = e->GetHitboxPtr();
         lua_pushinteger(L, TruncateCoordinate(rBox->mRgt - rBox->mLft));
         lua_pushinteger(L, TruncateCoordinate(rBox->mBot - rBox->mTop));
         return 2;
     }},
    {"Name", 1, nullptr, [](lua_State *L, Enemy *e, int) { return LuaPushStringOrNil(L, e->GetName()); }},
    {"ContactDamage", 1, nullptr, [](lua_State *L, Enemy *e, int) { lua_pushinteger(L, e->GetContactDamage()); return 1; }},
    {"SpawnPointCoordinates", 1, nullptr,
     [](lua_State *L, Enemy *e, int) {
         float tX, tY;
         e->GetSpawnPointCoordinates(tX, tY);
         return LuaPushPair(L, tX, tY);
     }},
    {"Dimensions", 1, nullptr,
     [](lua_State *L, Enemy *e, int) {
         Hitbox tBox;
         e->GetHitbox(tBox);
         LuaPushPair(L, tBox.mLft, tBox.mTop);
         return LuaPushPair(L, tBox.mRgt, tBox.mBot) + 2;
     }},
    {"HitPlayer", 1, nullptr, [](lua_State *L, Enemy *e, int) { lua_pushboolean(L, e->GetHitPlayer()); return 1; }},
    {nullptr, 0, nullptr, nullptr},
};

// --- "Enemy_" -------------------------------------------------------------------------------

// A placed enemy whose box reaches out of the level stands in what counts as solid there: it
// may hang or never come into view, and nothing else would say why.
static void ReportPlacedOutsideLevel(lua_State *L, int32_t pEnemyID)
{
    Enemy *rEnemy = Enemy::FindLive(pEnemyID);
    MapManager *rMaps = MapManager::Fetch();
    if(!rEnemy || !rMaps || !rMaps->HasLevel()) return;
    int32_t tW = 0, tH = 0;
    rMaps->GetLevel()->GetSize(tW, tH);
    Hitbox tBox;
    rEnemy->GetHitbox(tBox);
    if(tBox.mLft >= 0.0f && tBox.mTop >= 0.0f && tBox.mRgt <= (float)tW && tBox.mBot <= (float)tH) return;
    char tPlace[600];
    LuaCallerPlace(L, tPlace, sizeof(tPlace));
    fprintf(stderr,
            "Enemy_Create: %s: %s stands at (%g, %g) to (%g, %g), outside the %i by %i map, where everything counts as "
            "solid; place it within the map\n",
            tPlace, rEnemy->GetName(), tBox.mLft, tBox.mTop, tBox.mRgt, tBox.mBot, (int)tW, (int)tH);
}

// The loader's own line names only the file; a misspelled folder is found from the enemy and
// the line that asked for it.
static void ReportConstructorNotLoaded(lua_State *L, int32_t pEnemyID, const char *pPath)
{
    Enemy *rEnemy = Enemy::FindLive(pEnemyID);
    char tPlace[600];
    LuaCallerPlace(L, tPlace, sizeof(tPlace));
    fprintf(stderr,
            "Enemy_Create: %s: %s's constructor %s could not be loaded (the line above says why), so nothing sets the "
            "enemy up; check the path, its folder's name above all\n",
            tPlace, rEnemy ? rEnemy->GetName() : "the enemy", pPath);
}

static int Enemy_Create(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 2 || !LuaArgIsString(L, 1) || !LuaArgIsString(L, 2)) return LuaArgListError("Enemy_Create");
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities || !DataLibrary::Fetch() || !LuaManager::Fetch()) return 0;

    // The texts after the path are the constructor's arguments.
    int32_t tCount = tArgs - 2;
    const char **nArgs = tCount > 0 ? (const char **)malloc(sizeof(const char *) * (size_t)tCount) : nullptr;
    if(!nArgs) tCount = 0;
    for(int32_t i = 0; i < tCount; i++) nArgs[i] = LuaArgString(L, i + 3, "");
    // The path is copied: the script run below may collect the Lua string.
    char tPath[512];
    snprintf(tPath, sizeof(tPath), "%s", LuaArgString(L, 2, ""));
    Enemy *nEnemy = new Enemy(LuaArgString(L, 1, nullptr));
    rEntities->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
    const int32_t tEnemyID = nEnemy->GetID();
    const bool tLoaded = Enemy::RunConstructor(nEnemy, tPath, tCount, nArgs);
    free(nArgs);
    if(!tLoaded) ReportConstructorNotLoaded(L, tEnemyID, tPath);
    ReportPlacedOutsideLevel(L, tEnemyID);
    return 0;
}

static int Enemy_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1)
    {
        fprintf(stderr, "Enemy_SetProperty: Cannot resolve with 0 args.\n");
        return 0;
    }
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_SetProperty", cSetters, rEnemy);
}

static int Enemy_GetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_GetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_GetProperty", cGetters, rEnemy);
}

// The part of the enemy that becomes the active object; the library was checked by the caller.
static int MakeActive(RootObject *pPart)
{
    DataLibrary::Fetch()->SetActiveObjectDirect(pPart);
    return 0;
}

static const LuaProperty<Enemy> cParts[] = {
    {"AIMovementHandler", LuaAtLeast(1), nullptr, [](lua_State *, Enemy *e, int) { return MakeActive(e->GetMovementHandler()); }},
    {"AIAttackHandler", LuaAtLeast(1), nullptr, [](lua_State *, Enemy *e, int) { return MakeActive(e->GetAttackHandler()); }},
    {"Projectile", LuaAtLeast(1), nullptr, [](lua_State *, Enemy *e, int) { return MakeActive(e->GetContactProjectile()); }},
    {"Hitbox", LuaAtLeast(1), nullptr, [](lua_State *, Enemy *e, int) { return MakeActive(e->GetEnemyHitbox()); }},
    {nullptr, 0, nullptr, nullptr},
};

static int Enemy_PushPropertyAsActiveObject(lua_State *L)
{
    bool tHasKey = lua_gettop(L) >= 1 && LuaArgIsString(L, 1);
    Enemy *rEnemy;
    if(!FetchThenPushActive(tHasKey, FetchActiveEnemy, rEnemy)) return 0;
    if(!tHasKey) return LuaArgListError("Enemy_PushPropertyAsActiveObject");
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_PushPropertyAsActiveObject", cParts, rEnemy, LuaUnknownPropertyError);
}

static int Enemy_IsSideBlocked(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_IsSideBlocked");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    const char *rSide = LuaArgString(L, 1, "");
    const char *const cSides[] = {"Left", "Right", "Top", "Bottom"};
    for(int32_t i = 0; i < 4; i++)
    {
        if(strcmp(rSide, cSides[i])) continue;
        lua_pushboolean(L, rEnemy->IsSideBlocked(i));
        return 1;
    }
    fprintf(stderr, "Enemy_IsSideBlocked: Failed, invalid side given. Use Left|Right|Top|Bottom\n");
    return 0;
}

static int Enemy_IsSideMovable(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_IsSideMovable");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    lua_pushboolean(L, rEnemy->IsSideMovable(!strcmp(LuaArgString(L, 1, ""), "Left")));
    return 1;
}

static int Enemy_IsOnScreen(lua_State *L)
{
    Enemy *rEnemy = FetchActiveEnemy();
    lua_pushboolean(L, rEnemy && !rEnemy->IsOffScreen());
    return 1;
}

static int Enemy_ExecMove(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("Enemy_ExecMove");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    rEnemy->LoadMovementFlags();
    MoveWithCollision(MapManager::CurrentClipWorld(), LuaArgNumber(L, 1, 0.0), LuaArgNumber(L, 2, 0.0), LuaArgNumber(L, 3, 0.0),
                      *rEnemy->GetHitboxPtr());
    rEnemy->UpdateHitbox();
    return 0;
}

static int Enemy_BecomeHealthBarTarget(lua_State *)
{
    Enemy *rEnemy = FetchActiveEnemy();
    if(rEnemy) Enemy::BecomeBossBarTarget(rEnemy);
    return 0;
}

static int Enemy_PurgeHealthBarTarget(lua_State *)
{
    Enemy::PurgeBossBarTarget();
    return 0;
}

static int Enemy_GetDistanceFromPlayer(lua_State *L)
{
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    EntityManager *rEntities = EntityManager::Fetch();
    PlayerPony *rPlayer = rEntities ? rEntities->GetPlayer() : nullptr;
    lua_pushnumber(L, rEnemy->GetDistanceFromEntity(rPlayer));
    return 1;
}

static int Enemy_SelfDestruct(lua_State *)
{
    Enemy *rEnemy = FetchActiveEnemy();
    if(rEnemy) rEnemy->GetHealth()->SetHealth(0);
    return 0;
}

static int Enemy_KillAllEnemies(lua_State *)
{
    Enemy::KillAllEnemies();
    return 0;
}

static int Enemy_OverrideAppearance(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("Enemy_OverrideAppearance");
    Enemy *rEnemy = FetchActiveEnemy();
    if(rEnemy) rEnemy->OverrideAppearance(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0));
    return 0;
}

static int Enemy_AllocateOverlays(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListError("Enemy_AllocateOverlays");
    Enemy *rEnemy = FetchActiveEnemy();
    if(rEnemy) rEnemy->GetAppearance()->AllocateOverlays(LuaArgInteger(L, 1, 0));
    return 0;
}

static int Enemy_SetOverlay(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("Enemy_SetOverlay");
    Enemy *rEnemy = FetchActiveEnemy();
    if(rEnemy) rEnemy->GetAppearance()->SetOverlay(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0));
    return 0;
}

// --- "Enemy_Appearance_" --------------------------------------------------------------------

static int SetAnimationSlot(lua_State *L, EnemyAppearance *pAppearance, int)
{
    const char *rPath = LuaArgString(L, 3, nullptr);
    CorvelAnimation *rAnimation = LookUpAnimation(rPath);
    if(!rAnimation)
    {
        fprintf(stderr, "Enemy_Appearance_SetProperty: Error, Animation %s failed to resolve.\n", rPath ? rPath : "(null)");
        return 0;
    }
    pAppearance->SetAnimation(LuaArgInteger(L, 2, -1), rAnimation);
    return 0;
}

static const LuaProperty<EnemyAppearance> cAppearanceSetters[] = {
    {"AnimationsTotal", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->SetAnimationsTotal(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Animation", 3, nullptr, SetAnimationSlot},
    {"AnimationOffsets", 3, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) { a->SetAnimationOffsets(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"AnimationIndex", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->SetAnimationIndex(LuaArgInteger(L, 2, -1)); return 0; }},
    {"AnimationDirectionFacing", 2, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) {
         a->SetFacing(EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 2, nullptr)));
         return 0;
     }},
    {"HorizontalFlip", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->SetHorizontalFlip(LuaArgFlag(L, 2)); return 0; }},
    {"PaletteData", 3, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) { a->SetPaletteData(LuaArgString(L, 2, nullptr), LuaArgString(L, 3, nullptr)); return 0; }},
    {"PuppetMode", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->BootPuppet(LuaArgString(L, 2, nullptr)); return 0; }},
    {"PuppetAnim", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->SetPuppetAnimation(LuaArgString(L, 2, nullptr)); return 0; }},
    {"PuppetAnimPercent", 2, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) { a->SetPuppetAnimationTime(LuaArgFloat(L, 2, 0.0f)); return 0; }},
    {"PuppetHitboxBlocksBuster", 3, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) { a->SetSlotBlocksBuster(LuaArgInteger(L, 2, -1), LuaArgFlag(L, 3)); return 0; }},
    {"PanicAnimation", 2, nullptr, [](lua_State *L, EnemyAppearance *a, int) { a->SetPanicAnimation(LuaArgInteger(L, 2, -1)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int Enemy_Appearance_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_Appearance_SetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_Appearance_SetProperty", cAppearanceSetters, rEnemy->GetAppearance());
}

// The facing answers only as "Left" or "Right"; anything else is reported and answers nothing.
static int PushFacing(lua_State *L, EnemyAppearance *pAppearance, int)
{
    int32_t tFacing = pAppearance->GetFacing();
    if(tFacing == 0 || tFacing == 1) return LuaPushStringOrNil(L, tFacing == 0 ? "Left" : "Right");
    fprintf(stderr,
            "Enemy_Appearance_GetProperty(AnimationDirectionFacing): Error, returned a direction that is not currently "
            "translateable: %i\n",
            tFacing);
    return 0;
}

static const LuaProperty<EnemyAppearance> cAppearanceGetters[] = {
    {"AnimationIndex", LuaAtLeast(1), nullptr,
     [](lua_State *L, EnemyAppearance *a, int) {
         lua_pushnumber(L, a->GetAnimationIndex());
         return 1;
     }},
    {"AnimationDirectionFacing", LuaAtLeast(1), nullptr, PushFacing},
    {"AnimationSize", 2, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) {
         int32_t tWidth, tHeight;
         a->GetAnimationSize(LuaArgInteger(L, 2, -1), tWidth, tHeight);
         lua_pushinteger(L, tWidth);
         lua_pushinteger(L, tHeight);
         return 2;
     }},
    {"PositionOf", 2, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) {
         float tX = 0.0f, tY = 0.0f;
         a->GetSlotCenter(LuaArgInteger(L, 2, -1), tX, tY);
         return LuaPushPair(L, tX, tY);
     }},
    {"RotationOf", 2, nullptr,
     [](lua_State *L, EnemyAppearance *a, int) {
         lua_pushnumber(L, a->GetSlotRotation(LuaArgInteger(L, 2, -1)));
         return 1;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int Enemy_Appearance_GetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_Appearance_GetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_Appearance_GetProperty", cAppearanceGetters, rEnemy->GetAppearance());
}

// --- "Enemy_Health_" ------------------------------------------------------------------------

// A health key without its value names itself in the report.
static int ReportShortHealthCall(lua_State *L, EnemyHealth *, int)
{
    fprintf(stderr, "Enemy_Health_SetProperty(%s): Failed, invalid argument list.\n", LuaArgString(L, 1, ""));
    return 0;
}

static int SetHealthValue(lua_State *L, EnemyHealth *pHealth, int)
{
    int32_t tHealth = LuaArgInteger(L, 2, 0);
    if(tHealth < 1)
    {
        fprintf(stderr, "Enemy_Health_SetProperty(Health): Failed, health cannot be less than 1.\n");
        return 0;
    }
    pHealth->SetHealth(tHealth);
    return 0;
}

// Values past the first are ignored.
static const LuaProperty<EnemyHealth> cHealthSetters[] = {
    {"Health", LuaAtLeast(2), nullptr, SetHealthValue},
    {"InvincibleFlag", LuaAtLeast(2), nullptr, [](lua_State *L, EnemyHealth *h, int) { h->SetInvincibleFlag(LuaArgFlag(L, 2)); return 0; }},
    {"SecondWindFlagFlag", LuaAtLeast(2), nullptr,
     [](lua_State *L, EnemyHealth *h, int) { h->SetSecondWindFlag(LuaArgFlag(L, 2)); return 0; }},
    {"Health", 1, nullptr, ReportShortHealthCall},
    {"InvincibleFlag", 1, nullptr, ReportShortHealthCall},
    {"SecondWindFlagFlag", 1, nullptr, ReportShortHealthCall},
    {nullptr, 0, nullptr, nullptr},
};

static int Enemy_Health_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1)
    {
        fprintf(stderr, "Enemy_Health_SetProperty: Failed, Cannot resolve with 0 args.\n");
        return 0;
    }
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    return LuaCallProperty(L, "Enemy_Health_SetProperty", cHealthSetters, rEnemy->GetHealth(), LuaUnknownPropertyError);
}

static const luaL_Reg cEnemyBindings[] = {
    {"Enemy_Create", Enemy_Create},
    {"Enemy_SetProperty", Enemy_SetProperty},
    {"Enemy_GetProperty", Enemy_GetProperty},
    {"Enemy_PushPropertyAsActiveObject", Enemy_PushPropertyAsActiveObject},
    {"Enemy_IsSideBlocked", Enemy_IsSideBlocked},
    {"Enemy_IsSideMovable", Enemy_IsSideMovable},
    {"Enemy_IsOnScreen", Enemy_IsOnScreen},
    {"Enemy_ExecMove", Enemy_ExecMove},
    {"Enemy_BecomeHealthBarTarget", Enemy_BecomeHealthBarTarget},
    {"Enemy_PurgeHealthBarTarget", Enemy_PurgeHealthBarTarget},
    {"Enemy_GetDistanceFromPlayer", Enemy_GetDistanceFromPlayer},
    {"Enemy_SelfDestruct", Enemy_SelfDestruct},
    {"Enemy_KillAllEnemies", Enemy_KillAllEnemies},
    {"Enemy_OverrideAppearance", Enemy_OverrideAppearance},
    {"Enemy_AllocateOverlays", Enemy_AllocateOverlays},
    {"Enemy_SetOverlay", Enemy_SetOverlay},
    {"Enemy_Appearance_SetProperty", Enemy_Appearance_SetProperty},
    {"Enemy_Appearance_GetProperty", Enemy_Appearance_GetProperty},
    {"Enemy_Health_SetProperty", Enemy_Health_SetProperty},
    {nullptr, nullptr},
};

void RegisterEnemyLua(lua_State *L)
{
    RegisterLuaFunctions(L, cEnemyBindings);
}
