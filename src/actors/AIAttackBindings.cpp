#include "actors/AIAttack.h"

#include <cstdio>

#include "actors/EnemyAppearance.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/RootProjectile.h"

bool IsAIAttackActive()
{
    return ActiveIsTypeOrWarn(TYPE_AIATTACK, "AIAttack");
}

static void WarnAttackNotOfKind(const char *pKindName)
{
    fprintf(stderr, "Warning, current AIAttack is not a %s type.\n", pKindName);
}

// An active AIAttack of that kind; otherwise the warning about the code, or about the kind.
static bool IsActiveAttackOfKind(int32_t pKind, const char *pKindName)
{
    AIAttack *rAttack = IsAIAttackActive() ? FetchActiveAs<AIAttack>(TYPE_AIATTACK) : nullptr;
    if(!rAttack) return false;
    if(rAttack->GetKind() == pKind) return true;
    WarnAttackNotOfKind(pKindName);
    return false;
}

bool IsAILemonAttackActive()
{
    return IsActiveAttackOfKind(AIATTACK_LEMON, "LEMON_PROJECTILE");
}

bool IsAISpawnEnemyAttackActive()
{
    return IsActiveAttackOfKind(AIATTACK_SPAWN_ENEMY, "SPAWN_ENEMY");
}

bool IsAIAttackHandlerActive()
{
    return ActiveIsTypeOrWarn(TYPE_AIATTACKHANDLER, "AIAttackHandler");
}

// The active AIAttackHandler; null after IsAIAttackHandlerActive's warning.
static AIAttackHandler *FetchActiveHandler()
{
    return IsAIAttackHandlerActive() ? FetchActiveAs<AIAttackHandler>(TYPE_AIATTACKHANDLER) : nullptr;
}

// The active AIAttack; null after IsAIAttackActive's warning.
static AIAttack *FetchActiveAttack()
{
    return IsAIAttackActive() ? FetchActiveAs<AIAttack>(TYPE_AIATTACK) : nullptr;
}

// The active spawn-enemy attack; null after IsAISpawnEnemyAttackActive's warnings.
static AISpawnEnemyAttack *FetchActiveSpawnAttack()
{
    return IsAISpawnEnemyAttackActive() ? FetchActiveAs<AISpawnEnemyAttack>(TYPE_AIATTACK) : nullptr;
}

// The active lemon attack. Whatever else is active, the miss says only that it is no lemon.
static AILemonAttack *FetchActiveLemonAttack()
{
    AILemonAttack *rAttack = FetchActiveAs<AILemonAttack>(TYPE_AIATTACK);
    if(!rAttack) WarnAttackNotOfKind("LEMON_PROJECTILE");
    return rAttack;
}

static int AIAttackHandler_IsDoneCreatingAttacks(lua_State *L)
{
    AIAttackHandler *rHandler = FetchActiveHandler();
    lua_pushboolean(L, rHandler && rHandler->IsDoneCreatingAttacks());
    return 1;
}

// Makes an attack of the kind and leaves it active; the library was checked by the caller.
static int CreateAttackOfKind(AIAttackHandler *pHandler, int32_t pKind)
{
    pHandler->CreateAttack(pKind);
    DataLibrary::Fetch()->SetActiveObjectDirect(pHandler->GetLastAttack());
    return 0;
}

static const LuaProperty<AIAttackHandler> cAttackKinds[] = {
    {"LEMON_PROJECTILE", LuaAtLeast(1), nullptr, [](lua_State *, AIAttackHandler *h, int) { return CreateAttackOfKind(h, AIATTACK_LEMON); }},
    {"SPAWN_ENEMY", LuaAtLeast(1), nullptr, [](lua_State *, AIAttackHandler *h, int) { return CreateAttackOfKind(h, AIATTACK_SPAWN_ENEMY); }},
    {nullptr, 0, nullptr, nullptr},
};

// Every path pushes the active-object stack once, so a script's closing pop stays balanced.
static int AIAttackHandler_CreateAttack(lua_State *L)
{
    bool tHasKind = lua_gettop(L) >= 1 && LuaArgIsString(L, 1);
    AIAttackHandler *rHandler;
    if(!FetchThenPushActive(tHasKind, FetchActiveHandler, rHandler)) return 0;
    if(!tHasKind)
    {
        fprintf(stderr, "AIAttackHandler_CreateAttack: No attack type specified.\n");
        return 0;
    }
    if(!rHandler) return 0;
    return LuaCallProperty(L, "AIAttackHandler_CreateAttack", cAttackKinds, rHandler);
}

static int AIAttackHandler_ClearAllAttacks(lua_State *)
{
    AIAttackHandler *rHandler = FetchActiveHandler();
    if(rHandler) rHandler->ClearAllAttacks();
    return 0;
}

// Once set, the flag stays: false changes nothing.
static const LuaProperty<AIAttackHandler> cHandlerSetters[] = {
    {"CreateAllAttacksAtOnce", 2, nullptr,
     [](lua_State *L, AIAttackHandler *h, int) {
         if(LuaArgBoolean(L, 2, false)) h->SetCreateAllAttacksAtOnce(1);
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int AIAttackHandler_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIAttackHandler_SetProperty");
    AIAttackHandler *rHandler = FetchActiveHandler();
    if(!rHandler) return 0;
    return LuaCallProperty(L, "AIAttackHandler_SetProperty", cHandlerSetters, rHandler);
}

static const LuaProperty<AIAttack> cAttackSetters[] = {
    {"DelayBeforeCreatingAttack", 2, nullptr,
     [](lua_State *L, AIAttack *a, int) { a->SetDelayBeforeCreatingAttack(LuaArgInteger(L, 2, 0)); return 0; }},
    {"DelayAfterCreatingAttack", 2, nullptr,
     [](lua_State *L, AIAttack *a, int) { a->SetDelayAfterCreatingAttack(LuaArgInteger(L, 2, 0)); return 0; }},
    {"AnimationIndex", 2, nullptr, [](lua_State *L, AIAttack *a, int) { a->SetAnimationIndex(LuaArgInteger(L, 2, -1)); return 0; }},
    {"AnimationDirectionFacing", 2, nullptr,
     [](lua_State *L, AIAttack *a, int) {
         a->SetAnimationDirectionFacing(EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 2, nullptr)));
         return 0;
     }},
    {"OffsetPosition", 3, nullptr,
     [](lua_State *L, AIAttack *a, int) { a->SetOffsetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Damage", 2, nullptr, [](lua_State *L, AIAttack *a, int) { a->SetDamage(LuaArgInteger(L, 2, -1)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int AIAttack_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIAttack_SetProperty");
    AIAttack *rAttack = FetchActiveAttack();
    if(!rAttack) return 0;
    return LuaCallProperty(L, "AIAttack_SetProperty", cAttackSetters, rAttack);
}

static const LuaProperty<AILemonAttack> cLemonParts[] = {
    {"Projectile", LuaAtLeast(1), nullptr,
     [](lua_State *, AILemonAttack *a, int) {
         DataLibrary::Fetch()->SetActiveObjectDirect(a->GetProjectile());
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int AILemonAttack_PushPropertyAsActiveObject(lua_State *L)
{
    bool tHasKey = lua_gettop(L) >= 1 && LuaArgIsString(L, 1);
    AILemonAttack *rAttack;
    if(!FetchThenPushActive(tHasKey, FetchActiveLemonAttack, rAttack)) return 0;
    if(!tHasKey) return LuaArgListError("AILemonAttack_PushPropertyAsActiveObject");
    if(!rAttack) return 0;
    return LuaCallProperty(L, "AILemonAttack_PushPropertyAsActiveObject", cLemonParts, rAttack, LuaUnknownPropertyError);
}

static const LuaProperty<AISpawnEnemyAttack> cSpawnSetters[] = {
    {"EnemyName", 2, nullptr, [](lua_State *L, AISpawnEnemyAttack *a, int) { a->SetEnemyName(LuaArgString(L, 2, nullptr)); return 0; }},
    {"PathToEnemyConstructorScript", 2, nullptr,
     [](lua_State *L, AISpawnEnemyAttack *a, int) { a->SetConstructorScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"NumberOfConstructorArguments", 2, nullptr,
     [](lua_State *L, AISpawnEnemyAttack *a, int) { a->SetNumberOfConstructorArguments(LuaArgInteger(L, 2, 0)); return 0; }},
    {"ConstructorArgument", 2, nullptr,
     [](lua_State *L, AISpawnEnemyAttack *a, int) { a->AddScriptArgument(LuaArgString(L, 2, nullptr)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int AISpawnEnemyAttack_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AISpawnEnemyAttack_SetProperty");
    AISpawnEnemyAttack *rAttack = FetchActiveSpawnAttack();
    if(!rAttack) return 0;
    return LuaCallProperty(L, "AISpawnEnemyAttack_SetProperty", cSpawnSetters, rAttack);
}

static const luaL_Reg cAttackBindings[] = {
    {"AIAttackHandler_IsDoneCreatingAttacks", AIAttackHandler_IsDoneCreatingAttacks},
    {"AIAttackHandler_CreateAttack", AIAttackHandler_CreateAttack},
    {"AIAttackHandler_ClearAllAttacks", AIAttackHandler_ClearAllAttacks},
    {"AIAttackHandler_SetProperty", AIAttackHandler_SetProperty},
    {"AIAttack_SetProperty", AIAttack_SetProperty},
    {"AILemonAttack_PushPropertyAsActiveObject", AILemonAttack_PushPropertyAsActiveObject},
    {"AISpawnEnemyAttack_SetProperty", AISpawnEnemyAttack_SetProperty},
    {nullptr, nullptr},
};

void RegisterAIAttackLua(lua_State *L)
{
    RegisterLuaFunctions(L, cAttackBindings);
}
