#include "actors/EnemyHitbox.h"

#include <cstdio>

#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"

bool IsEnemyHitboxActive()
{
    return ActiveIsTypeOrWarn(TYPE_ENEMYHITBOX, "EnemyHitbox");
}

// The active EnemyHitbox; null after IsEnemyHitboxActive's warning.
static EnemyHitbox *FetchActiveHitbox()
{
    return IsEnemyHitboxActive() ? FetchActiveAs<EnemyHitbox>(TYPE_ENEMYHITBOX) : nullptr;
}

static int Hitbox_AllocateHitboxData(lua_State *)
{
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(rHitbox) rHitbox->CalculateHitboxes();
    return 0;
}

static int Hitbox_ClearHitboxes(lua_State *)
{
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(rHitbox) rHitbox->ClearHitboxes();
    return 0;
}

static int Hitbox_CalculateMissingHitboxes(lua_State *)
{
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(rHitbox) rHitbox->CalculateMissingHitboxes();
    return 0;
}

static int Hitbox_DeriveFromAnimation(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3)) return LuaArgListError("Hitbox_DeriveFromAnimation");
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(rHitbox) rHitbox->DeriveFromAnimation(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1));
    return 0;
}

static int SetHitboxRecord(lua_State *L, EnemyHitbox *pHitbox, int)
{
    int32_t tFacing = EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 4, nullptr));
    pHitbox->SetHitboxData(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1), tFacing, LuaArgInteger(L, 5, -1),
                           (float)LuaArgInteger(L, 6, 0), (float)LuaArgInteger(L, 7, 0), (float)LuaArgInteger(L, 8, 0),
                           (float)LuaArgInteger(L, 9, 0));
    return 0;
}

static const LuaProperty<EnemyHitbox> cHitboxSetters[] = {
    {"Hitbox", 9, nullptr, SetHitboxRecord},
    {"AnimationSize", 3, nullptr,
     [](lua_State *L, EnemyHitbox *h, int) { h->SetAnimationSize(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1)); return 0; }},
    {"NumberOfHitboxes", 2, nullptr, [](lua_State *L, EnemyHitbox *h, int) { h->SetNumberOfHitboxes(LuaArgInteger(L, 2, 0)); return 0; }},
    {"NumberOfAnimations", 2, nullptr, [](lua_State *L, EnemyHitbox *h, int) { h->SetNumberOfAnimations(LuaArgInteger(L, 2, 0)); return 0; }},
    {"NumberOfFramesPerAnimation", 3, nullptr,
     [](lua_State *L, EnemyHitbox *h, int) {
         h->SetNumberOfFramesForAnimation(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0));
         return 0;
     }},
    {"IgnoreMissingHitboxData", 1, nullptr, [](lua_State *, EnemyHitbox *h, int) { h->SetIgnoreMissingHitboxData(); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int Hitbox_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Hitbox_SetProperty");
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(!rHitbox) return 0;
    return LuaCallProperty(L, "Hitbox_SetProperty", cHitboxSetters, rHitbox);
}

static int Hitbox_PushProjectile(lua_State *L)
{
    bool tHasIndex = lua_gettop(L) == 1 && LuaArgIsNumber(L, 1);
    EnemyHitbox *rHitbox;
    if(!FetchThenPushActive(tHasIndex, FetchActiveHitbox, rHitbox)) return 0;
    if(!tHasIndex) return LuaArgListError("Hitbox_PushProjectile");
    if(rHitbox) rHitbox->MakeBoxActive(LuaArgInteger(L, 1, -1));
    return 0;
}

static const luaL_Reg cHitboxBindings[] = {
    {"Hitbox_AllocateHitboxData", Hitbox_AllocateHitboxData},
    {"Hitbox_ClearHitboxes", Hitbox_ClearHitboxes},
    {"Hitbox_SetProperty", Hitbox_SetProperty},
    {"Hitbox_CalculateMissingHitboxes", Hitbox_CalculateMissingHitboxes},
    {"Hitbox_DeriveFromAnimation", Hitbox_DeriveFromAnimation},
    {"Hitbox_PushProjectile", Hitbox_PushProjectile},
    {nullptr, nullptr},
};

void RegisterEnemyHitboxLua(lua_State *L)
{
    RegisterLuaFunctions(L, cHitboxBindings);
}
