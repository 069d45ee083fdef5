#include "world/LadderZone.h"

#include "core/LuaBindingHelpers.h"
#include "world/EntityManager.h"

// Ladder_Create(name, left, top, right, bottom): the ladder goes to "Ladder List"; the active
// object is left alone.
static int Ladder_Create(lua_State *L)
{
    RegisterZone(LADDER_LIST_NAME, NewZoneFromArguments<LadderZone>(L, 5, "Ladder_Create"));
    return 0;
}

static const luaL_Reg cLadderBindings[] = {
    {"Ladder_Create", Ladder_Create},
    {nullptr, nullptr},
};

void RegisterLadderZoneLua(lua_State *L)
{
    RegisterLuaFunctions(L, cLadderBindings);
}
