#include "world/LadderZone.h"

#include "core/LuaBindingHelpers.h"

// Ladder_Create(name, left, top, right, bottom): the ladder goes to "Ladder List"; the active
// object is left alone.
static int Ladder_Create(lua_State *L)
{
    const char *rName = NULL;
    float tEdges[4];
    if(!ReadZoneCreateArguments(L, 5, "Ladder_Create", rName, tEdges)) return 0;
    LadderZone *nLadder = new LadderZone();
    nLadder->SetName(rName);
    nLadder->SetRect(tEdges[0], tEdges[1], tEdges[2], tEdges[3]);
    RegisterZone("Ladder List", nLadder);
    return 0;
}

static const luaL_Reg cLadderBindings[] = {
    {"Ladder_Create", Ladder_Create},
    {NULL, NULL},
};

void RegisterLadderBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cLadderBindings);
}
