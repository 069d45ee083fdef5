#include "world/SlipZone.h"

#include "core/LuaBindingHelpers.h"
#include "world/EntityManager.h"

// Slip_Create(name, left, top, right, bottom): goes to "Slip List"; the active object is left
// alone.
static int Slip_Create(lua_State *L)
{
    RegisterZone(SLIP_LIST_NAME, NewZoneFromArguments<SlipZone>(L, 5, "Slip_Create"));
    return 0;
}

static const luaL_Reg cSlipBindings[] = {
    {"Slip_Create", Slip_Create},
    {nullptr, nullptr},
};

void RegisterSlipZoneLua(lua_State *L)
{
    RegisterLuaFunctions(L, cSlipBindings);
}
