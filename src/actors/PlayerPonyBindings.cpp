#include "actors/PlayerPony.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/RootProjectile.h"

// The one player; every "Player_" global acts on it, never on the active object.
static PlayerPony *FetchPlayer()
{
    return PlayerPony::Get();
}

static int Player_PushSelf(lua_State *L)
{
    (void)L;
    PlayerPony *rPlayer = FetchPlayer();
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rPlayer || !rLibrary) return 0;
    rLibrary->PushActiveEntity(rPlayer);
    return 0;
}

static int PushCenter(lua_State *L, PlayerPony *pPlayer, int)
{
    Hitbox tBox;
    pPlayer->GetHitbox(tBox);
    lua_pushnumber(L, (tBox.mLft + tBox.mRgt) / 2.0f);
    lua_pushnumber(L, (tBox.mTop + tBox.mBot) / 2.0f);
    return 2;
}

// "Dimensions" -> left, top, right, bottom; "Center" -> x, y.
static const LuaProperty<PlayerPony> cGetters[] = {
    {"Dimensions", 1, nullptr,
     [](lua_State *L, PlayerPony *p, int) {
         Hitbox tBox;
         p->GetHitbox(tBox);
         lua_pushnumber(L, tBox.mLft);
         lua_pushnumber(L, tBox.mTop);
         lua_pushnumber(L, tBox.mRgt);
         lua_pushnumber(L, tBox.mBot);
         return 4;
     }},
    {"Center", 1, nullptr, PushCenter},
    {nullptr, 0, nullptr, nullptr},
};

static int Player_GetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Player_GetProperty");
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer) return 0;
    return LuaCallProperty(L, "Player_GetProperty", cGetters, rPlayer);
}

// "Animation" and "ChargeAnim": the path must name an animation; "NULL" empties the slot.
static int SetSlotAnimation(lua_State *L, PlayerPony *pPlayer, bool pCharge)
{
    const char *rPath = LuaArgString(L, 3, "");
    CorvelAnimation *rAnimation = nullptr;
    if(strcmp(rPath, "NULL"))
    {
        rAnimation = LookUpAnimation(rPath);
        if(!rAnimation)
        {
            if(pCharge) fprintf(stderr, "Player_SetProperty:  Error setting charge Animation %s\n", rPath);
            else fprintf(stderr, "Player_SetProperty:  Error setting Animation %s\n", rPath);
            return 0;
        }
    }
    if(pCharge) pPlayer->SetChargeAnimationSlot(LuaArgInteger(L, 2, -1), rAnimation);
    else pPlayer->SetAnimationSlot(LuaArgInteger(L, 2, -1), rAnimation);
    return 0;
}

static const LuaProperty<PlayerPony> cSetters[] = {
    {"Animation", 3, ".S", [](lua_State *L, PlayerPony *p, int) { return SetSlotAnimation(L, p, false); }},
    {"ChargeAnim", 3, ".S", [](lua_State *L, PlayerPony *p, int) { return SetSlotAnimation(L, p, true); }},
    {"ForceAnim", 3, nullptr,
     [](lua_State *L, PlayerPony *p, int) {
         p->SetForcedAnimation(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1));
         return 0;
     }},
    {"XPush", 2, nullptr, [](lua_State *L, PlayerPony *p, int) { p->ApplyPush((float)LuaArgNumber(L, 2, 0.0), 0.0f, 0.0f); return 0; }},
    {"YPush", 2, nullptr, [](lua_State *L, PlayerPony *p, int) { p->ApplyPush(0.0f, (float)LuaArgNumber(L, 2, 0.0), 0.0f); return 0; }},
    {"ZPush", 2, nullptr, [](lua_State *L, PlayerPony *p, int) { p->ApplyPush(0.0f, 0.0f, (float)LuaArgNumber(L, 2, 0.0)); return 0; }},
    {"IsInWater", 2, nullptr, [](lua_State *L, PlayerPony *p, int) { p->SetInWater(LuaArgBoolean(L, 2, false)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int Player_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Player_SetProperty");
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer) return 0;
    return LuaCallProperty(L, "Player_SetProperty", cSetters, rPlayer);
}

static int Player_SetPosition(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgsAreNumbers(L, 1, 3))
    {
        fputs("Player_SetPosition:  Failed, invalid argument lmIst\n", stderr);
        return 0;
    }
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer || !LuaArgsAreFinite(L, 1, 3, "Player_SetPosition")) return 0;
    rPlayer->SetPositionAutoCenter((float)LuaArgNumber(L, 1, 0.0), (float)LuaArgNumber(L, 2, 0.0), (float)LuaArgNumber(L, 3, 0.0));
    return 0;
}

static int Player_GetPosition(lua_State *L)
{
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer) return 0;
    float tX, tY, tZ;
    rPlayer->GetPosition(tX, tY, tZ);
    lua_pushnumber(L, tX);
    lua_pushnumber(L, tY);
    return 2;
}

static int Player_GetCenter(lua_State *L)
{
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer) return 0;
    return PushCenter(L, rPlayer, 0);
}

static int Player_Enable(lua_State *L)
{
    (void)L;
    PlayerPony *rPlayer = FetchPlayer();
    if(rPlayer) rPlayer->RootEntity::Enable();
    return 0;
}

static int Player_Disable(lua_State *L)
{
    (void)L;
    PlayerPony *rPlayer = FetchPlayer();
    if(rPlayer) rPlayer->RootEntity::Disable();
    return 0;
}

static int Player_SetCameraVars(lua_State *L)
{
    if(lua_gettop(L) != 6 || !LuaArgsAreNumbers(L, 1, 6)) return LuaArgListError("Player_SetCameraVars");
    PlayerPony *rPlayer = FetchPlayer();
    if(!rPlayer) return 0;
    rPlayer->SetCameraVars(LuaArgInteger(L, 1, 0), (float)LuaArgNumber(L, 2, 0.0), (float)LuaArgNumber(L, 3, 0.0),
                           LuaArgInteger(L, 4, 0), (float)LuaArgNumber(L, 5, 0.0), (float)LuaArgNumber(L, 6, 0.0));
    return 0;
}

static int Player_AddControlLock(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Player_AddControlLock");
    PlayerPony *rPlayer = FetchPlayer();
    if(rPlayer) rPlayer->AddControlLock(LuaArgString(L, 1, nullptr));
    return 0;
}

static int Player_RemControlLock(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Player_RemControlLock");
    PlayerPony *rPlayer = FetchPlayer();
    if(rPlayer) rPlayer->RemoveControlLock(LuaArgString(L, 1, nullptr));
    return 0;
}

static const luaL_Reg cPlayerBindings[] = {
    {"Player_PushSelf", Player_PushSelf},
    {"Player_GetProperty", Player_GetProperty},
    {"Player_SetProperty", Player_SetProperty},
    {"Player_SetPosition", Player_SetPosition},
    {"Player_GetPosition", Player_GetPosition},
    {"Player_GetCenter", Player_GetCenter},
    {"Player_Enable", Player_Enable},
    {"Player_Disable", Player_Disable},
    {"Player_SetCameraVars", Player_SetCameraVars},
    {"Player_AddControlLock", Player_AddControlLock},
    {"Player_RemControlLock", Player_RemControlLock},
    {nullptr, nullptr},
};

void RegisterPlayerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cPlayerBindings);
}
