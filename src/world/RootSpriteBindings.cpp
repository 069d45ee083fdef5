#include "world/RootSprite.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

#define SPRITE_DEFAULT_NAME "Unnamed Sprite"

// The active sprite; otherwise pReport speaks for the binding and gives null.
static RootSprite *FetchActiveSprite(const char *pBindingName, LuaObjectMissReport pReport = LuaActiveObjectTypeError)
{
    RootSprite *rActive = FetchActiveInRange<RootSprite>(TYPE_ROOTSPRITE, TYPE_SPRITE_LAST);
    if(!rActive) pReport(pBindingName);
    return rActive;
}

// Sprite_Create(name [, script]): pushes the active object (always), then the new sprite
// becomes active; the script runs with it active and one number, 0.
static int Sprite_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    rLibrary->PushAndClearActive();
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || tArgs > 2) return LuaArgListError("Sprite_Create");
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities) return 0;

    RootSprite *nSprite = new RootSprite();
    nSprite->SetName(LuaArgString(L, 1, SPRITE_DEFAULT_NAME));
    rEntities->RegisterEntity(nSprite->GetName(), nSprite, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nSprite);

    const char *rScript = tArgs == 2 ? LuaArgString(L, 2, nullptr) : nullptr;
    LuaManager *rLua = LuaManager::Fetch();
    if(rScript && rLua) rLua->ExecuteLuaFile(rScript, 1, "N", 0.0);
    return 0;
}

// "Animation": the path must hold a real animation; anything else leaves the slot alone.
static int SetSpriteAnimation(lua_State *L, RootSprite *pSprite, int)
{
    const char *rPath = LuaArgString(L, 3, nullptr);
    CorvelAnimation *rAnimation = LookUpAnimation(rPath);
    if(!rAnimation)
    {
        fprintf(stderr, "Sprite_SetProperty:  Failed, Animation %s was in error\n", rPath ? rPath : "(none)");
        return 0;
    }
    pSprite->SetAnimation(LuaArgInteger(L, 2, -1), rAnimation);
    return 0;
}

static const LuaProperty<RootSprite> cSpriteSetters[] = {
    {"AnimationsTotal", 2, "N",
     [](lua_State *L, RootSprite *p, int) { p->SetAnimationsTotal(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Animation", 3, "NS", SetSpriteAnimation},
    {"UpdatePath", 2, "S", [](lua_State *L, RootSprite *p, int) { p->SetUpdatePath(LuaArgString(L, 2, nullptr)); return 0; }},
    {"AnimatePath", 2, "S", [](lua_State *L, RootSprite *p, int) { p->SetAnimatePath(LuaArgString(L, 2, nullptr)); return 0; }},
    {"MonoScript", 2, "S", [](lua_State *L, RootSprite *p, int) { p->SetMonoScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"Position", 3, "NN",
     [](lua_State *L, RootSprite *p, int) { p->SetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Sizes", 3, "NN",
     [](lua_State *L, RootSprite *p, int) { p->SetSize(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Lifetime", 2, "N", [](lua_State *L, RootSprite *p, int) { p->SetLifetime(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Flip", 2, "N", [](lua_State *L, RootSprite *p, int) { p->SetFlip(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Rotation", 2, "N", [](lua_State *L, RootSprite *p, int) { p->SetRotation(LuaArgInteger(L, 2, 0)); return 0; }},
    {"Palettes", 3, "SS",
     [](lua_State *L, RootSprite *p, int) { p->SetPalettes(LuaArgString(L, 2, nullptr), LuaArgString(L, 3, nullptr)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<RootSprite> cSpriteGetters[] = {
    {"Position", 1, nullptr,
     [](lua_State *L, RootSprite *p, int) {
         float tX, tY, tZ;
         p->GetPosition(tX, tY, tZ);
         return LuaPushPair(L, tX, tY);
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int Sprite_GetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListErrorNil("Sprite_GetProperty", L);
    RootSprite *rSprite = FetchActiveSprite("Sprite_GetProperty");
    if(!rSprite) return LuaPushNil(L);
    return LuaCallPropertyOrNil(L, "Sprite_GetProperty", cSpriteGetters, rSprite);
}

static int Sprite_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1)
    {
        fputs("Sprite_SetProperty: Failed, cannot function with no args.\n", stderr);
        return 0;
    }
    RootSprite *rSprite = FetchActiveSprite("Sprite_SetProperty", LuaInvalidObjectError);
    if(!rSprite) return 0;
    if(!LuaArgIsString(L, 1)) return LuaArgListError("Sprite_SetProperty");
    return LuaCallProperty(L, "Sprite_SetProperty", cSpriteSetters, rSprite, LuaCouldNotResolveError);
}

static int Sprite_SetAnimationProperties(lua_State *L)
{
    if(lua_gettop(L) != 4 || !LuaArgsAreNumbers(L, 1, 4)) return LuaArgListError("Sprite_SetAnimationProperties");
    RootSprite *rSprite = FetchActiveSprite("Sprite_SetAnimationProperties");
    if(!rSprite) return 0;
    rSprite->SetAnimationProperties(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0));
    return 0;
}

static int Sprite_UseOverRender(lua_State *L)
{
    if(lua_gettop(L) != 6 || !LuaArgsAreNumbers(L, 1, 6)) return LuaArgListError("Sprite_UseOverRender");
    RootSprite *rSprite = FetchActiveSprite("Sprite_UseOverRender");
    if(!rSprite) return 0;
    rSprite->UseOverRender(LuaArgInteger(L, 1, 0), LuaArgInteger(L, 2, 0), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f),
                           LuaArgFloat(L, 5, 0.0f), LuaArgFloat(L, 6, 0.0f));
    return 0;
}

static int Sprite_HugSurface(lua_State *)
{
    RootSprite *rSprite = FetchActiveSprite("Sprite_HugSurface");
    if(!rSprite) return 0;
    rSprite->HugSurface();
    return 0;
}

static const luaL_Reg cSpriteBindings[] = {
    {"Sprite_Create", Sprite_Create},
    {"Sprite_GetProperty", Sprite_GetProperty},
    {"Sprite_SetProperty", Sprite_SetProperty},
    {"Sprite_SetAnimationProperties", Sprite_SetAnimationProperties},
    {"Sprite_UseOverRender", Sprite_UseOverRender},
    {"Sprite_HugSurface", Sprite_HugSurface},
    {nullptr, nullptr},
};

void RegisterRootSpriteLua(lua_State *L)
{
    RegisterLuaFunctions(L, cSpriteBindings);
}
