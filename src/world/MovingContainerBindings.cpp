#include "world/MovingContainer.h"


#include "actors/AIMovement.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active moving platform; otherwise the type reporter speaks for the binding and gives null.
static MovingContainer *FetchActivePlatform(const char *pBindingName)
{
    MovingContainer *rActive = FetchActiveAs<MovingContainer>(TYPE_MOVINGCONTAINER);
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
}

// MovingContainer_Create(name): the old active object is pushed whatever happens, so the map
// script's pop stays balanced; the new platform becomes active.
static int MovingContainer_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) < 1) return LuaArgListError("MovingContainer_Create");
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rLibrary || !rEntities) return 0;

    MovingContainer *nPlatform = new MovingContainer();
    const char *rName = LuaArgString(L, 1, nullptr);
    if(rName && rName[0]) nPlatform->SetName(rName);
    rEntities->RegisterEntity(nPlatform->GetName(), nPlatform, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nPlatform);
    return 0;
}

// The platform's parts a script can make active, whatever else it passes.
static const LuaProperty<MovingContainer> cPlatformParts[] = {
    {"AIMovementHandler", LuaAtLeast(1), nullptr,
     [](lua_State *, MovingContainer *p, int) {
         DataLibrary::Fetch()->SetActiveObjectDirect(p->GetMovementHandler());
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

// MovingContainer_PushPropertyAsActiveObject(key): the stack is pushed whatever happens, so the
// script's pop stays balanced.
static int MovingContainer_PushPropertyAsActiveObject(lua_State *L)
{
    bool tHasKey = LuaArgString(L, 1, nullptr) != nullptr;
    MovingContainer *rPlatform;
    auto tFetch = [] { return FetchActivePlatform("MovingContainer_PushPropertyAsActiveObject"); };
    if(!FetchThenPushActive(tHasKey, tFetch, rPlatform)) return 0;
    if(!tHasKey) return LuaArgListError("MovingContainer_PushPropertyAsActiveObject");
    if(!rPlatform) return 0;
    return LuaCallProperty(L, "MovingContainer_PushPropertyAsActiveObject", cPlatformParts, rPlatform, LuaUnknownPropertyError);
}

static int MovingContainer_IsPlayerOnPlatform(lua_State *L)
{
    MovingContainer *rPlatform = FetchActivePlatform("MovingContainer_IsPlayerOnPlatform");
    if(!rPlatform) return 0;
    lua_pushboolean(L, rPlatform->IsPlayerOnPlatform());
    return 1;
}

static int MovingContainer_IsEnemyOnPlatform(lua_State *L)
{
    MovingContainer *rPlatform = FetchActivePlatform("MovingContainer_IsEnemyOnPlatform");
    if(!rPlatform) return 0;
    lua_pushboolean(L, rPlatform->IsEnemyOnPlatform());
    return 1;
}

static int MovingContainer_SetMovementData(lua_State *L)
{
    if(lua_gettop(L) != 2) return LuaArgListError("MovingContainer_SetMovementData");
    // Values that are not numbers get the type message as well.
    if(!LuaArgsAreNumbers(L, 1, 2)) return LuaActiveObjectTypeError("MovingContainer_SetMovementData");
    MovingContainer *rPlatform = FetchActivePlatform("MovingContainer_SetMovementData");
    if(!rPlatform) return 0;
    rPlatform->SetMovementData(LuaArgFloat(L, 1, 0.0f), LuaArgFloat(L, 2, 0.0f));
    return 0;
}

static const luaL_Reg cMovingContainerBindings[] = {
    {"MovingContainer_Create", MovingContainer_Create},
    {"MovingContainer_PushPropertyAsActiveObject", MovingContainer_PushPropertyAsActiveObject},
    {"MovingContainer_IsPlayerOnPlatform", MovingContainer_IsPlayerOnPlatform},
    {"MovingContainer_IsEnemyOnPlatform", MovingContainer_IsEnemyOnPlatform},
    {"MovingContainer_SetMovementData", MovingContainer_SetMovementData},
    {nullptr, nullptr},
};

void RegisterMovingContainerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cMovingContainerBindings);
}
