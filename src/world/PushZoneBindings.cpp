#include "world/PushZone.h"

#include "core/LuaBindingHelpers.h"

// Push_Create(name, left, top, right, bottom, push x, push y): goes to "Push List"; the active
// object is left alone.
static int Push_Create(lua_State *L)
{
    const char *rName = NULL;
    float tEdges[4];
    if(!ReadZoneCreateArguments(L, 7, "Push_Create", rName, tEdges)) return 0;
    PushZone *nZone = new PushZone();
    nZone->SetName(rName);
    nZone->SetRect(tEdges[0], tEdges[1], tEdges[2], tEdges[3]);
    nZone->SetPush((float)LuaArgNumber(L, 6, 0.0), (float)LuaArgNumber(L, 7, 0.0));
    RegisterZone("Push List", nZone);
    return 0;
}

static const luaL_Reg cPushBindings[] = {
    {"Push_Create", Push_Create},
    {NULL, NULL},
};

void RegisterPushBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cPushBindings);
}
