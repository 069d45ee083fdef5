#include "world/RootSprite.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

#define SPRITE_DEFAULT_NAME "Unnamed Sprite"

// The active object when it is a sprite (type codes 300 to 399).
static RootSprite *FetchActiveSprite()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveTypeInRange(TYPE_ROOTSPRITE, TYPE_SPRITE_LAST)) return NULL;
    return dynamic_cast<RootSprite *>(rLibrary->GetActiveObject());
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

    const char *rScript = tArgs == 2 ? LuaArgString(L, 2, NULL) : NULL;
    LuaManager *rLua = LuaManager::Fetch();
    if(rScript && rLua) rLua->ExecuteLuaFile(rScript, 1, "N", 0.0);
    return 0;
}

static int Sprite_GetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("Sprite_GetProperty", L);
    RootSprite *rSprite = FetchActiveSprite();
    if(!rSprite) return LuaActiveObjectTypeErrorNil("Sprite_GetProperty", L);

    const char *rKey = LuaArgString(L, 1, NULL);
    if(tArgs == 1 && !strcmp(rKey, "Position"))
    {
        float tX, tY, tZ;
        rSprite->GetPosition(tX, tY, tZ);
        lua_pushnumber(L, tX);
        lua_pushnumber(L, tY);
        return 2;
    }
    LuaResolveError("Sprite_GetProperty", rKey, tArgs);
    lua_pushnil(L);
    return 1;
}

// "Animation": the path must hold a real animation; anything else leaves the slot alone.
static void SetSpriteAnimation(RootSprite *pSprite, lua_State *L)
{
    const char *rPath = LuaArgString(L, 3, NULL);
    CorvelAnimation *rAnimation = LookUpAnimation(rPath);
    if(!rAnimation)
    {
        fprintf(stderr, "Sprite_SetProperty:  Failed, Animation %s was in error\n", rPath ? rPath : "(none)");
        return;
    }
    pSprite->SetAnimation(LuaArgInteger(L, 2, -1), rAnimation);
}

// Sets one property when key, count and value types match; false when nothing matched.
static bool ApplySpriteProperty(RootSprite *pSprite, lua_State *L, const char *pKey, int pArgs)
{
    const bool tOneNumber = pArgs == 2 && LuaArgIsNumber(L, 2);
    const bool tOneText = pArgs == 2 && LuaArgIsString(L, 2) && !LuaArgIsNumber(L, 2);
    const bool tTwoNumbers = pArgs == 3 && LuaArgsAreNumbers(L, 2, 3);
    if(tOneNumber && !strcmp(pKey, "AnimationsTotal")) pSprite->SetAnimationsTotal(LuaArgInteger(L, 2, 0));
    else if(pArgs == 3 && LuaArgIsNumber(L, 2) && LuaArgIsString(L, 3) && !strcmp(pKey, "Animation")) SetSpriteAnimation(pSprite, L);
    else if(tOneText && !strcmp(pKey, "UpdatePath")) pSprite->SetUpdatePath(LuaArgString(L, 2, NULL));
    else if(tOneText && !strcmp(pKey, "AnimatePath")) pSprite->SetAnimatePath(LuaArgString(L, 2, NULL));
    else if(tOneText && !strcmp(pKey, "MonoScript")) pSprite->SetMonoScript(LuaArgString(L, 2, NULL));
    else if(tTwoNumbers && !strcmp(pKey, "Position")) pSprite->SetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    else if(tTwoNumbers && !strcmp(pKey, "Sizes")) pSprite->SetSize(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    else if(tOneNumber && !strcmp(pKey, "Lifetime")) pSprite->SetLifetime(LuaArgInteger(L, 2, 0));
    else if(tOneNumber && !strcmp(pKey, "Flip")) pSprite->SetFlip(LuaArgInteger(L, 2, 0));
    else if(tOneNumber && !strcmp(pKey, "Rotation")) pSprite->SetRotation(LuaArgInteger(L, 2, 0));
    else if(pArgs == 3 && LuaArgIsString(L, 2) && LuaArgIsString(L, 3) && !strcmp(pKey, "Palettes"))
    {
        pSprite->SetPalettes(LuaArgString(L, 2, NULL), LuaArgString(L, 3, NULL));
    }
    else return false;
    return true;
}

static int Sprite_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1)
    {
        fputs("Sprite_SetProperty: Failed, cannot function with no args.\n", stderr);
        return 0;
    }
    RootSprite *rSprite = FetchActiveSprite();
    if(!rSprite)
    {
        fputs("Sprite_SetProperty:  Failed, invalid object\n", stderr);
        return 0;
    }
    if(!LuaArgIsString(L, 1)) return LuaArgListError("Sprite_SetProperty");
    const char *rKey = LuaArgString(L, 1, NULL);
    if(!ApplySpriteProperty(rSprite, L, rKey, tArgs))
    {
        fprintf(stderr, "Sprite_SetProperty:  Failed, could not resolve %s with %i args\n", rKey, tArgs);
    }
    return 0;
}

static int Sprite_SetAnimationProperties(lua_State *L)
{
    if(lua_gettop(L) != 4 || !LuaArgsAreNumbers(L, 1, 4)) return LuaArgListError("Sprite_SetAnimationProperties");
    RootSprite *rSprite = FetchActiveSprite();
    if(!rSprite) return LuaActiveObjectTypeError("Sprite_SetAnimationProperties");
    rSprite->SetAnimationProperties(LuaArgInteger(L, 1, -1), LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0));
    return 0;
}

static int Sprite_UseOverRender(lua_State *L)
{
    if(lua_gettop(L) != 6 || !LuaArgsAreNumbers(L, 1, 6)) return LuaArgListError("Sprite_UseOverRender");
    RootSprite *rSprite = FetchActiveSprite();
    if(!rSprite) return LuaActiveObjectTypeError("Sprite_UseOverRender");
    rSprite->UseOverRender(LuaArgInteger(L, 1, 0), LuaArgInteger(L, 2, 0), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f),
                           LuaArgFloat(L, 5, 0.0f), LuaArgFloat(L, 6, 0.0f));
    return 0;
}

static int Sprite_HugSurface(lua_State *)
{
    RootSprite *rSprite = FetchActiveSprite();
    if(!rSprite) return LuaActiveObjectTypeError("Sprite_HugSurface");
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
    {NULL, NULL},
};

void RegisterSpriteBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cSpriteBindings);
}
