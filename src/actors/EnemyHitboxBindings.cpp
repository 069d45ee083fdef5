#include "actors/EnemyHitbox.h"

#include <cstring>

#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"

// The active EnemyHitbox after the "not EnemyHitbox type" check; null otherwise.
static EnemyHitbox *FetchActiveHitbox()
{
    if(!IsEnemyHitboxActive()) return NULL;
    return static_cast<EnemyHitbox *>(DataLibrary::Fetch()->GetActiveObject());
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

static int Hitbox_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Hitbox_SetProperty");
    EnemyHitbox *rHitbox = FetchActiveHitbox();
    if(!rHitbox) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    if(tArgs == 9 && !strcmp(rKey, "Hitbox"))
    {
        int32_t tFacing = EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 4, NULL));
        rHitbox->SetHitboxData(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1), tFacing, LuaArgInteger(L, 5, -1),
                               (float)LuaArgInteger(L, 6, 0), (float)LuaArgInteger(L, 7, 0), (float)LuaArgInteger(L, 8, 0),
                               (float)LuaArgInteger(L, 9, 0));
        return 0;
    }
    if(tArgs == 3 && !strcmp(rKey, "AnimationSize"))
    {
        rHitbox->SetAnimationSize(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, -1));
        return 0;
    }
    if(tArgs == 2 && !strcmp(rKey, "NumberOfHitboxes"))
    {
        rHitbox->SetNumberOfHitboxes(LuaArgInteger(L, 2, 0));
        return 0;
    }
    if(tArgs == 2 && !strcmp(rKey, "NumberOfAnimations"))
    {
        rHitbox->SetNumberOfAnimations(LuaArgInteger(L, 2, 0));
        return 0;
    }
    if(tArgs == 3 && !strcmp(rKey, "NumberOfFramesPerAnimation"))
    {
        rHitbox->SetNumberOfFramesForAnimation(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0));
        return 0;
    }
    if(tArgs == 1 && !strcmp(rKey, "IgnoreMissingHitboxData"))
    {
        rHitbox->SetIgnoreMissingHitboxData();
        return 0;
    }
    return LuaResolveError("Hitbox_SetProperty", rKey, tArgs);
}

static int Hitbox_PushProjectile(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    RootObject *rWasActive = rLibrary->GetActiveObject();
    rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListError("Hitbox_PushProjectile");
    if(!rWasActive || rWasActive->GetType() != TYPE_ENEMYHITBOX)
    {
        fprintf(stderr, "Warning, current active object is not EnemyHitbox type. %p\n", (void *)rWasActive);
        return 0;
    }
    static_cast<EnemyHitbox *>(rWasActive)->MakeBoxActive(LuaArgInteger(L, 1, -1));
    return 0;
}

static const luaL_Reg cHitboxBindings[] = {
    {"Hitbox_AllocateHitboxData", Hitbox_AllocateHitboxData},
    {"Hitbox_ClearHitboxes", Hitbox_ClearHitboxes},
    {"Hitbox_SetProperty", Hitbox_SetProperty},
    {"Hitbox_CalculateMissingHitboxes", Hitbox_CalculateMissingHitboxes},
    {"Hitbox_DeriveFromAnimation", Hitbox_DeriveFromAnimation},
    {"Hitbox_PushProjectile", Hitbox_PushProjectile},
    {NULL, NULL},
};

void RegisterEnemyHitboxLua(lua_State *L)
{
    RegisterLuaFunctions(L, cHitboxBindings);
}
