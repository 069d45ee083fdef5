#include "world/Door.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

// The active door; otherwise the type reporter speaks for the binding and gives null.
static Door *FetchActiveDoor(const char *pBindingName)
{
    Door *rActive = FetchActiveAs<Door>(TYPE_DOOR);
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
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

    const char *rName = LuaArgString(L, 1, nullptr);
    Door *nDoor = new Door();
    if(rName && rName[0]) nDoor->SetName(rName);
    rEntities->RegisterEntity(nDoor->GetName(), nDoor, DeleteRootObject);
    rLibrary->SetActiveObjectDirect(nDoor);
    return 0;
}

static const LuaProperty<Door> cDoorSetters[] = {
    {"RenderPos", 3, nullptr,
     [](lua_State *L, Door *p, int) { p->SetRenderPos(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Hitbox", 5, nullptr,
     [](lua_State *L, Door *p, int) {
         p->SetHitbox(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
         return 0;
     }},
    {"StartCamera", 3, nullptr,
     [](lua_State *L, Door *p, int) { p->SetStartCamera(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"EndCamera", 3, nullptr,
     [](lua_State *L, Door *p, int) { p->SetEndCamera(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"PostExecScript", 2, nullptr, [](lua_State *L, Door *p, int) { p->SetPostExecScript(LuaArgString(L, 2, nullptr)); return 0; }},
    {"SkipToClose", 1, nullptr, [](lua_State *, Door *p, int) { p->SkipToClose(); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

// The door's own wording, never muted.
static int ReportDoorMiss(const char *pBindingName, const char *pKey, int32_t pArgCount)
{
    fprintf(stderr, "%s:  Failed, cannot resolve %s with %i args\n", pBindingName, pKey, pArgCount);
    return 0;
}

static int Door_SetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("Door_SetProperty");
    Door *rDoor = FetchActiveDoor("Door_SetProperty");
    if(!rDoor) return 0;
    return LuaCallProperty(L, "Door_SetProperty", cDoorSetters, rDoor, ReportDoorMiss);
}

static const luaL_Reg cDoorBindings[] = {
    {"Door_Create", Door_Create},
    {"Door_SetProperty", Door_SetProperty},
    {nullptr, nullptr},
};

void RegisterDoorLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDoorBindings);
}
