#include "actors/AIAttack.h"

#include <cstring>

#include "actors/EnemyAppearance.h"
#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/RootProjectile.h"

// The active attack handler after the "not AIAttackHandler type" check; null otherwise.
static AIAttackHandler *FetchActiveHandler()
{
    if(!IsAIAttackHandlerActive()) return NULL;
    return static_cast<AIAttackHandler *>(DataLibrary::Fetch()->GetActiveObject());
}

static AIAttack *ActiveAttack()
{
    return static_cast<AIAttack *>(DataLibrary::Fetch()->GetActiveObject());
}

static int AIAttackHandler_IsDoneCreatingAttacks(lua_State *L)
{
    AIAttackHandler *rHandler = FetchActiveHandler();
    lua_pushboolean(L, rHandler && rHandler->IsDoneCreatingAttacks());
    return 1;
}

// Every path pushes the active-object stack once, so a script's closing pop stays balanced.
static int AIAttackHandler_CreateAttack(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    RootObject *rWasActive = rLibrary->GetActiveObject();
    rLibrary->PushAndClearActive();
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1))
    {
        fprintf(stderr, "AIAttackHandler_CreateAttack: No attack type specified.\n");
        return 0;
    }
    if(!rWasActive || rWasActive->GetType() != TYPE_AIATTACKHANDLER)
    {
        fprintf(stderr, "Warning, current active object is not AIAttackHandler type. %p\n", (void *)rWasActive);
        return 0;
    }
    AIAttackHandler *rHandler = static_cast<AIAttackHandler *>(rWasActive);
    const char *rKind = LuaArgString(L, 1, "");
    int32_t tKind = 0;
    if(!strcmp(rKind, "LEMON_PROJECTILE")) tKind = AIATTACK_LEMON;
    else if(!strcmp(rKind, "SPAWN_ENEMY")) tKind = AIATTACK_SPAWN_ENEMY;
    if(!tKind) return LuaResolveError("AIAttackHandler_CreateAttack", rKind, lua_gettop(L));
    rHandler->CreateAttack(tKind);
    rLibrary->SetActiveObjectDirect(rHandler->GetLastAttack());
    return 0;
}

static int AIAttackHandler_ClearAllAttacks(lua_State *)
{
    AIAttackHandler *rHandler = FetchActiveHandler();
    if(rHandler) rHandler->ClearAllAttacks();
    return 0;
}

static int AIAttackHandler_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIAttackHandler_SetProperty");
    AIAttackHandler *rHandler = FetchActiveHandler();
    if(!rHandler) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    if(tArgs != 2 || strcmp(rKey, "CreateAllAttacksAtOnce")) return LuaResolveError("AIAttackHandler_SetProperty", rKey, tArgs);
    if(LuaArgBoolean(L, 2, false)) rHandler->SetCreateAllAttacksAtOnce(1);
    return 0;
}

typedef void (*AttackSetter)(lua_State *L, AIAttack *pAttack);
struct AttackSetEntry
{
    const char *mKey;
    int32_t mCount;
    AttackSetter rSetter;
};

static const AttackSetEntry cAttackSetters[] = {
    {"DelayBeforeCreatingAttack", 2, [](lua_State *L, AIAttack *a) { a->SetDelayBeforeCreatingAttack(LuaArgInteger(L, 2, 0)); }},
    {"DelayAfterCreatingAttack", 2, [](lua_State *L, AIAttack *a) { a->SetDelayAfterCreatingAttack(LuaArgInteger(L, 2, 0)); }},
    {"AnimationIndex", 2, [](lua_State *L, AIAttack *a) { a->SetAnimationIndex(LuaArgInteger(L, 2, -1)); }},
    {"AnimationDirectionFacing", 2,
     [](lua_State *L, AIAttack *a) { a->SetAnimationDirectionFacing(EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 2, NULL))); }},
    {"OffsetPosition", 3, [](lua_State *L, AIAttack *a) { a->SetOffsetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); }},
    {"Damage", 2, [](lua_State *L, AIAttack *a) { a->SetDamage(LuaArgInteger(L, 2, -1)); }},
    {NULL, 0, NULL},
};

static int AIAttack_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIAttack_SetProperty");
    if(!IsAIAttackActive()) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    for(const AttackSetEntry *rEntry = cAttackSetters; rEntry->mKey; rEntry++)
    {
        if(strcmp(rEntry->mKey, rKey) || rEntry->mCount != tArgs) continue;
        rEntry->rSetter(L, ActiveAttack());
        return 0;
    }
    return LuaResolveError("AIAttack_SetProperty", rKey, tArgs);
}

static int AILemonAttack_PushPropertyAsActiveObject(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    RootObject *rWasActive = rLibrary->GetActiveObject();
    rLibrary->PushAndClearActive();
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AILemonAttack_PushPropertyAsActiveObject");
    AIAttack *rAttack = (rWasActive && rWasActive->GetType() == TYPE_AIATTACK) ? static_cast<AIAttack *>(rWasActive) : NULL;
    if(!rAttack || rAttack->GetKind() != AIATTACK_LEMON)
    {
        fprintf(stderr, "Warning, current AIAttack is not a LEMON_PROJECTILE type.\n");
        return 0;
    }
    const char *rKey = LuaArgString(L, 1, "");
    if(strcmp(rKey, "Projectile"))
    {
        fprintf(stderr, "AILemonAttack_PushPropertyAsActiveObject: Failed, %s does not match any property.\n", rKey);
        return 0;
    }
    rLibrary->SetActiveObjectDirect(static_cast<AILemonAttack *>(rAttack)->GetProjectile());
    return 0;
}

static int AISpawnEnemyAttack_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AISpawnEnemyAttack_SetProperty");
    if(!IsAISpawnEnemyAttackActive()) return 0;
    AISpawnEnemyAttack *rAttack = static_cast<AISpawnEnemyAttack *>(ActiveAttack());
    const char *rKey = LuaArgString(L, 1, "");
    if(tArgs == 2 && !strcmp(rKey, "EnemyName")) rAttack->SetEnemyName(LuaArgString(L, 2, NULL));
    else if(tArgs == 2 && !strcmp(rKey, "PathToEnemyConstructorScript")) rAttack->SetConstructorScript(LuaArgString(L, 2, NULL));
    else if(tArgs == 2 && !strcmp(rKey, "NumberOfConstructorArguments")) rAttack->SetNumberOfConstructorArguments(LuaArgInteger(L, 2, 0));
    else if(tArgs == 2 && !strcmp(rKey, "ConstructorArgument")) rAttack->AddScriptArgument(LuaArgString(L, 2, NULL));
    else return LuaResolveError("AISpawnEnemyAttack_SetProperty", rKey, tArgs);
    return 0;
}

static const luaL_Reg cAttackBindings[] = {
    {"AIAttackHandler_IsDoneCreatingAttacks", AIAttackHandler_IsDoneCreatingAttacks},
    {"AIAttackHandler_CreateAttack", AIAttackHandler_CreateAttack},
    {"AIAttackHandler_ClearAllAttacks", AIAttackHandler_ClearAllAttacks},
    {"AIAttackHandler_SetProperty", AIAttackHandler_SetProperty},
    {"AIAttack_SetProperty", AIAttack_SetProperty},
    {"AILemonAttack_PushPropertyAsActiveObject", AILemonAttack_PushPropertyAsActiveObject},
    {"AISpawnEnemyAttack_SetProperty", AISpawnEnemyAttack_SetProperty},
    {NULL, NULL},
};

void RegisterAIAttackLua(lua_State *L)
{
    RegisterLuaFunctions(L, cAttackBindings);
}
