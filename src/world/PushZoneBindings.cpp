#include "world/PushZone.h"

#include "core/LuaBindingHelpers.h"
#include "world/EntityManager.h"

// Push_Create(name, left, top, right, bottom, push x, push y): goes to "Push List"; the active
// object is left alone.
static int Push_Create(lua_State *L)
{
    PushZone *nZone = NewZoneFromArguments<PushZone>(L, 7, "Push_Create");
    if(nZone) nZone->SetPush(LuaArgFloat(L, 6, 0.0f), LuaArgFloat(L, 7, 0.0f));
    RegisterZone(PUSH_LIST_NAME, nZone);
    return 0;
}

static const luaL_Reg cPushBindings[] = {
    {"Push_Create", Push_Create},
    {nullptr, nullptr},
};

void RegisterPushZoneLua(lua_State *L)
{
    RegisterLuaFunctions(L, cPushBindings);
}
