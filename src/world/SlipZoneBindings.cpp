#include "world/SlipZone.h"

#include "core/LuaBindingHelpers.h"

// Slip_Create(name, left, top, right, bottom): goes to "Slip List"; the active object is left
// alone.
static int Slip_Create(lua_State *L)
{
    const char *rName = NULL;
    float tEdges[4];
    if(!ReadZoneCreateArguments(L, 5, "Slip_Create", rName, tEdges)) return 0;
    SlipZone *nZone = new SlipZone();
    nZone->SetName(rName);
    nZone->SetRect(tEdges[0], tEdges[1], tEdges[2], tEdges[3]);
    RegisterZone("Slip List", nZone);
    return 0;
}

static const luaL_Reg cSlipBindings[] = {
    {"Slip_Create", Slip_Create},
    {NULL, NULL},
};

void RegisterSlipBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cSlipBindings);
}
