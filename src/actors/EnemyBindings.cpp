#include "actors/Enemy.h"

#include <cstring>

#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/EnemyHitbox.h"
#include "actors/PlayerPony.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/CorvelAnimation.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"

// The active enemy after the "not Enemy type" check; null (with the warning) otherwise.
static Enemy *FetchActiveEnemy()
{
    if(!IsEnemyActive()) return NULL;
    return static_cast<Enemy *>(DataLibrary::Fetch()->GetActiveObject());
}

// A property key with the whole argument count it takes (key included; -1: any count).
typedef void (*EnemySetter)(lua_State *L, Enemy *pEnemy);
struct EnemySetEntry
{
    const char *mKey;
    int32_t mCount;
    EnemySetter rSetter;
};

typedef int (*EnemyGetter)(lua_State *L, Enemy *pEnemy);
struct EnemyGetEntry
{
    const char *mKey;
    int32_t mCount;
    EnemyGetter rGetter;
};

static const EnemySetEntry cSetters[] = {
    {"Health", 2, [](lua_State *L, Enemy *e) { e->GetHealth()->SetHealth(LuaArgInteger(L, 2, 0)); }},
    {"PathToLogicScript", 2, [](lua_State *L, Enemy *e) { e->SetLogicScript(LuaArgString(L, 2, NULL)); }},
    {"PathToDestructionScript", 2, [](lua_State *L, Enemy *e) { e->SetDestructionScript(LuaArgString(L, 2, NULL)); }},
    {"PathToHitReactionScript", 2, [](lua_State *L, Enemy *e) { e->SetHitReactionScript(LuaArgString(L, 2, NULL)); }},
    {"Position", 3, [](lua_State *L, Enemy *e) { e->SetPositionAutoCenter(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), 0.0f); }},
    {"BoundingBoxSize", 3, [](lua_State *L, Enemy *e) { e->SetBoundingBoxSize(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"IgnoreDamage", 2, [](lua_State *L, Enemy *e) { e->SetIgnoreDamage(LuaArgFlag(L, 2)); }},
    {"ContactDamage", 2, [](lua_State *L, Enemy *e) { e->SetContactDamage(LuaArgInteger(L, 2, -1)); }},
    {"DamageSoundEffect", 2, [](lua_State *L, Enemy *e) { e->SetDamageSoundEffect(LuaArgString(L, 2, NULL)); }},
    {"InvincibleMaxTime", 2, [](lua_State *L, Enemy *e) { e->SetInvincibleMaxTime(LuaArgInteger(L, 2, 0)); }},
    {"InvincibleSoundEffect", 2, [](lua_State *L, Enemy *e) { e->SetInvincibleSoundEffect(LuaArgString(L, 2, NULL)); }},
    {"AllowDeath", 2, [](lua_State *L, Enemy *e) { e->SetAllowDeath(LuaArgFlag(L, 2)); }},
    {"UseBoundingBoxAsHitbox", 2, [](lua_State *L, Enemy *e) { e->SetUseBoundingBoxAsHitbox(LuaArgFlag(L, 2)); }},
    {"DoNotDespawnOffScreen", 1, [](lua_State *, Enemy *e) { e->SetDoNotDespawnOffScreen(); }},
    {"MoveEntityFlag", -1, [](lua_State *L, Enemy *e) { e->SetMoveEntityFlag(LuaArgString(L, 2, NULL), LuaArgFlag(L, 3)); }},
    {"DamageTakenFrom", 3, [](lua_State *L, Enemy *e) { e->SetDamageTakenFrom(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0)); }},
    {"SpawnPointCoordinates", 3,
     [](lua_State *L, Enemy *e) { e->SetSpawnPointCoordinates(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"UsePuppetHitboxes", 2, [](lua_State *L, Enemy *e) { e->SetUsePuppetHitboxes(LuaArgFlag(L, 2)); }},
    {"ShowUnderlayHitbox", 2, [](lua_State *L, Enemy *e) { e->SetShowUnderlayHitbox(LuaArgFlag(L, 2)); }},
    {"WaitTimeBeforeEnabled", 2, [](lua_State *L, Enemy *e) { e->SetWaitTimeBeforeEnabled(LuaArgInteger(L, 2, 0)); }},
    {"IgnorePlatformCollision", 2, [](lua_State *L, Enemy *e) { e->SetIgnorePlatformCollision(LuaArgFlag(L, 2)); }},
    {"BusterBlocker", 2, [](lua_State *L, Enemy *e) { e->SetBusterBlocker(LuaArgFlag(L, 2)); }},
    {NULL, 0, NULL},
};

static const EnemyGetEntry cGetters[] = {
    {"Position", 1,
     [](lua_State *L, Enemy *e) {
         float tX, tY, tZ;
         e->GetPosition(tX, tY, tZ);
         return LuaPushPair(L, tX, tY);
     }},
    {"Center", 1,
     [](lua_State *L, Enemy *e) {
         Hitbox *rBox = e->GetHitboxPtr();
         return LuaPushPair(L, (rBox->mLft + rBox->mRgt) / 2.0f, (rBox->mTop + rBox->mBot) / 2.0f);
     }},
    {"Health", 1, [](lua_State *L, Enemy *e) { lua_pushinteger(L, e->GetHealth()->GetHealth()); return 1; }},
    {"BoundingBoxSize", 1,
     [](lua_State *L, Enemy *e) {
         Hitbox *rBox = e->GetHitboxPtr();
         lua_pushinteger(L, (int32_t)(rBox->mRgt - rBox->mLft));
         lua_pushinteger(L, (int32_t)(rBox->mBot - rBox->mTop));
         return 2;
     }},
    {"Name", 1, [](lua_State *L, Enemy *e) { return LuaPushStringOrNil(L, e->GetName()); }},
    {"ContactDamage", 1, [](lua_State *L, Enemy *e) { lua_pushinteger(L, e->GetContactDamage()); return 1; }},
    {"SpawnPointCoordinates", 1,
     [](lua_State *L, Enemy *e) {
         float tX, tY;
         e->GetSpawnPointCoordinates(tX, tY);
         return LuaPushPair(L, tX, tY);
     }},
    {"Dimensions", 1,
     [](lua_State *L, Enemy *e) {
         Hitbox tBox;
         e->GetHitbox(tBox);
         LuaPushPair(L, tBox.mLft, tBox.mTop);
         return LuaPushPair(L, tBox.mRgt, tBox.mBot) + 2;
     }},
    {"HitPlayer", 1, [](lua_State *L, Enemy *e) { lua_pushboolean(L, e->GetHitPlayer()); return 1; }},
    {NULL, 0, NULL},
};

// --- "Enemy_" -------------------------------------------------------------------------------

static int Enemy_Create(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 2 || !LuaArgIsString(L, 1) || !LuaArgIsString(L, 2)) return LuaArgListError("Enemy_Create");
    EntityManager *rEntities = EntityManager::Fetch();
    DataLibrary *rLibrary = DataLibrary::Fetch();
    LuaManager *rLua = LuaManager::Fetch();
    if(!rEntities || !rLibrary || !rLua) return 0;

    Enemy *nEnemy = new Enemy(LuaArgString(L, 1, NULL));
    rEntities->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
    rLibrary->PushActiveEntity(nEnemy);
    rLua->ClearArguments();
    if(tArgs > 2)
    {
        rLua->SetArgumentCount(tArgs - 2);
        for(int i = 3; i <= tArgs; i++) rLua->AddStringArgument(LuaArgString(L, i, ""));
    }
    // The path is copied: the script run below may collect the Lua string.
    char tPath[512];
    snprintf(tPath, sizeof(tPath), "%s", LuaArgString(L, 2, ""));
    rLua->ExecuteFile(tPath);
    return 0;
}

static int Enemy_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1)
    {
        fprintf(stderr, "Enemy_SetProperty: Cannot resolve with 0 args.\n");
        return 0;
    }
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    for(const EnemySetEntry *rEntry = cSetters; rEntry->mKey; rEntry++)
    {
        if(strcmp(rEntry->mKey, rKey) || (rEntry->mCount != -1 && rEntry->mCount != tArgs)) continue;
        rEntry->rSetter(L, rEnemy);
        return 0;
    }
    return LuaResolveError("Enemy_SetProperty", rKey, tArgs);
}

static int Enemy_GetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_GetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    for(const EnemyGetEntry *rEntry = cGetters; rEntry->mKey; rEntry++)
    {
        if(strcmp(rEntry->mKey, rKey) || rEntry->mCount != tArgs) continue;
        return rEntry->rGetter(L, rEnemy);
    }
    return LuaResolveError("Enemy_GetProperty", rKey, tArgs);
}

static int Enemy_PushPropertyAsActiveObject(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    int tArgs = lua_gettop(L);
    RootObject *rWasActive = rLibrary->GetActiveObject();
    rLibrary->PushAndClearActive();
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_PushPropertyAsActiveObject");
    if(!rWasActive || rWasActive->GetType() != TYPE_ENEMY)
    {
        fprintf(stderr, "Warning, current active object is not Enemy type. %p\n", (void *)rWasActive);
        return 0;
    }
    Enemy *rEnemy = static_cast<Enemy *>(rWasActive);
    const char *rKey = LuaArgString(L, 1, "");
    RootObject *rNext = NULL;
    if(!strcmp(rKey, "AIMovementHandler")) rNext = rEnemy->GetMovementHandler();
    else if(!strcmp(rKey, "AIAttackHandler")) rNext = rEnemy->GetAttackHandler();
    else if(!strcmp(rKey, "Projectile")) rNext = rEnemy->GetContactProjectile();
    else if(!strcmp(rKey, "Hitbox")) rNext = rEnemy->GetEnemyHitbox();
    else
    {
        fprintf(stderr, "Enemy_PushPropertyAsActiveObject: Failed, %s does not match any property.\n", rKey);
        return 0;
    }
    rLibrary->SetActiveObjectDirect(rNext);
    return 0;
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
    PlayerPony *rPlayer = rEntities ? rEntities->GetPlayer() : NULL;
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

static void SetAnimationSlot(lua_State *L, EnemyAppearance *pAppearance)
{
    const char *rPath = LuaArgString(L, 3, NULL);
    CorvelAnimation *rAnimation = LookUpAnimation(rPath);
    if(!rAnimation)
    {
        fprintf(stderr, "Enemy_Appearance_SetProperty: Error, Animation %s failed to resolve.\n", rPath ? rPath : "(null)");
        return;
    }
    pAppearance->SetAnimation(LuaArgInteger(L, 2, -1), rAnimation);
}

typedef void (*AppearanceSetter)(lua_State *L, EnemyAppearance *pAppearance);
struct AppearanceSetEntry
{
    const char *mKey;
    int32_t mCount;
    AppearanceSetter rSetter;
};

static const AppearanceSetEntry cAppearanceSetters[] = {
    {"AnimationsTotal", 2, [](lua_State *L, EnemyAppearance *a) { a->SetAnimationsTotal(LuaArgInteger(L, 2, 0)); }},
    {"Animation", 3, SetAnimationSlot},
    {"AnimationOffsets", 3, [](lua_State *L, EnemyAppearance *a) { a->SetAnimationOffsets(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"AnimationIndex", 2, [](lua_State *L, EnemyAppearance *a) { a->SetAnimationIndex(LuaArgInteger(L, 2, -1)); }},
    {"AnimationDirectionFacing", 2,
     [](lua_State *L, EnemyAppearance *a) { a->SetFacing(EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 2, NULL))); }},
    {"HorizontalFlip", 2, [](lua_State *L, EnemyAppearance *a) { a->SetHorizontalFlip(LuaArgFlag(L, 2)); }},
    {"PaletteData", 3, [](lua_State *L, EnemyAppearance *a) { a->SetPaletteData(LuaArgString(L, 2, NULL), LuaArgString(L, 3, NULL)); }},
    {"PuppetMode", 2, [](lua_State *L, EnemyAppearance *a) { a->BootPuppet(LuaArgString(L, 2, NULL)); }},
    {"PuppetAnim", 2, [](lua_State *L, EnemyAppearance *a) { a->SetPuppetAnimation(LuaArgString(L, 2, NULL)); }},
    {"PuppetAnimPercent", 2, [](lua_State *L, EnemyAppearance *a) { a->SetPuppetAnimationTime(LuaArgFloat(L, 2, 0.0f)); }},
    {"PuppetHitboxBlocksBuster", 3,
     [](lua_State *L, EnemyAppearance *a) { a->SetSlotBlocksBuster(LuaArgInteger(L, 2, -1), LuaArgFlag(L, 3)); }},
    {"PanicAnimation", 2, [](lua_State *L, EnemyAppearance *a) { a->SetPanicAnimation(LuaArgInteger(L, 2, -1)); }},
    {NULL, 0, NULL},
};

static int Enemy_Appearance_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_Appearance_SetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    for(const AppearanceSetEntry *rEntry = cAppearanceSetters; rEntry->mKey; rEntry++)
    {
        if(strcmp(rEntry->mKey, rKey) || rEntry->mCount != tArgs) continue;
        rEntry->rSetter(L, rEnemy->GetAppearance());
        return 0;
    }
    return LuaResolveError("Enemy_Appearance_SetProperty", rKey, tArgs);
}

static int Enemy_Appearance_GetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Enemy_Appearance_GetProperty");
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    const char *rKey = LuaArgString(L, 1, "");
    if(!strcmp(rKey, "AnimationIndex"))
    {
        lua_pushnumber(L, rAppearance->GetAnimationIndex());
        return 1;
    }
    if(!strcmp(rKey, "AnimationDirectionFacing"))
    {
        int32_t tFacing = rAppearance->GetFacing();
        if(tFacing == 0 || tFacing == 1) return LuaPushStringOrNil(L, tFacing == 0 ? "Left" : "Right");
        fprintf(stderr,
                "Enemy_Appearance_GetProperty(AnimationDirectionFacing): Error, returned a direction that is not currently "
                "translateable: %i\n",
                tFacing);
        return 0;
    }
    if(tArgs == 2 && !strcmp(rKey, "AnimationSize"))
    {
        int32_t tWidth, tHeight;
        rAppearance->GetAnimationSize(LuaArgInteger(L, 2, -1), tWidth, tHeight);
        lua_pushinteger(L, tWidth);
        lua_pushinteger(L, tHeight);
        return 2;
    }
    if(tArgs == 2 && !strcmp(rKey, "PositionOf"))
    {
        float tX = 0.0f, tY = 0.0f;
        rAppearance->GetSlotCenter(LuaArgInteger(L, 2, -1), tX, tY);
        return LuaPushPair(L, tX, tY);
    }
    if(tArgs == 2 && !strcmp(rKey, "RotationOf"))
    {
        lua_pushnumber(L, rAppearance->GetSlotRotation(LuaArgInteger(L, 2, -1)));
        return 1;
    }
    return LuaResolveError("Enemy_Appearance_GetProperty", rKey, tArgs);
}

// --- "Enemy_Health_" ------------------------------------------------------------------------

static int Enemy_Health_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1)
    {
        fprintf(stderr, "Enemy_Health_SetProperty: Failed, Cannot resolve with 0 args.\n");
        return 0;
    }
    Enemy *rEnemy = FetchActiveEnemy();
    if(!rEnemy) return 0;
    EnemyHealth *rHealth = rEnemy->GetHealth();
    const char *rKey = LuaArgString(L, 1, "");
    if(!strcmp(rKey, "Health"))
    {
        if(tArgs < 2)
        {
            fprintf(stderr, "Enemy_Health_SetProperty(Health): Failed, invalid argument list.\n");
            return 0;
        }
        int32_t tHealth = LuaArgInteger(L, 2, 0);
        if(tHealth < 1)
        {
            fprintf(stderr, "Enemy_Health_SetProperty(Health): Failed, health cannot be less than 1.\n");
            return 0;
        }
        rHealth->SetHealth(tHealth);
        return 0;
    }
    if(!strcmp(rKey, "InvincibleFlag") || !strcmp(rKey, "SecondWindFlagFlag"))
    {
        if(tArgs < 2)
        {
            fprintf(stderr, "Enemy_Health_SetProperty(%s): Failed, invalid argument list.\n", rKey);
            return 0;
        }
        if(rKey[0] == 'I') rHealth->SetInvincibleFlag(LuaArgFlag(L, 2));
        else rHealth->SetSecondWindFlag(LuaArgFlag(L, 2));
        return 0;
    }
    fprintf(stderr, "Enemy_Health_SetProperty: Failed, %s does not match any property.\n", rKey);
    return 0;
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
    {NULL, NULL},
};

void RegisterEnemyLua(lua_State *L)
{
    RegisterLuaFunctions(L, cEnemyBindings);
}
