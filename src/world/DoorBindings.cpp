#include "world/Door.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active object when it is a door.
static Door *FetchActiveDoor()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveIsType(TYPE_DOOR)) return NULL;
    return dynamic_cast<Door *>(rLibrary->GetActiveObject());
}

// Door_Create(name): the old active object is pushed whatever happens, so the map script's pop
// stays balanced; the new door becomes active.
static int Door_Create(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1) return LuaArgListError("Door_Create");
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rLibrary || !rEntities) return 0;

    const char *rName = LuaArgString(L, 1, NULL);
    Door *nDoor = new Door();
    if(rName && rName[0]) nDoor->SetName(rName);
    rEntities->RegisterEntity(nDoor->GetName(), nDoor, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nDoor);
    return 0;
}

static int Door_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Door_SetProperty");
    Door *rDoor = FetchActiveDoor();
    if(!rDoor) return LuaActiveObjectTypeError("Door_SetProperty");

    const char *rKey = LuaArgString(L, 1, NULL);
    float tA = LuaArgFloat(L, 2, 0.0f);
    float tB = LuaArgFloat(L, 3, 0.0f);
    if(tArgs == 3 && !strcmp(rKey, "RenderPos")) rDoor->SetRenderPos(tA, tB);
    else if(tArgs == 5 && !strcmp(rKey, "Hitbox")) rDoor->SetHitbox(tA, tB, LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
    else if(tArgs == 3 && !strcmp(rKey, "StartCamera")) rDoor->SetStartCamera(tA, tB);
    else if(tArgs == 3 && !strcmp(rKey, "EndCamera")) rDoor->SetEndCamera(tA, tB);
    else if(tArgs == 2 && !strcmp(rKey, "PostExecScript")) rDoor->SetPostExecScript(LuaArgString(L, 2, NULL));
    else if(tArgs == 1 && !strcmp(rKey, "SkipToClose")) rDoor->SkipToClose();
    else fprintf(stderr, "Door_SetProperty:  Failed, cannot resolve %s with %i args\n", rKey, tArgs);
    return 0;
}

static const luaL_Reg cDoorBindings[] = {
    {"Door_Create", Door_Create},
    {"Door_SetProperty", Door_SetProperty},
    {NULL, NULL},
};

void RegisterDoorLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDoorBindings);
}
