#include "world/SlideZone.h"

#include "core/LuaBindingHelpers.h"
#include "world/EntityManager.h"

// Slide_Create(name, left, top, right, bottom, amount): goes to "Slide List"; the active
// object is left alone.
static int Slide_Create(lua_State *L)
{
    SlideZone *nZone = NewZoneFromArguments<SlideZone>(L, 6, "Slide_Create");
    if(nZone) nZone->SetSlideAmount(LuaArgFloat(L, 6, 0.0f));
    RegisterZone(SLIDE_LIST_NAME, nZone);
    return 0;
}

static const luaL_Reg cSlideBindings[] = {
    {"Slide_Create", Slide_Create},
    {nullptr, nullptr},
};

void RegisterSlideZoneLua(lua_State *L)
{
    RegisterLuaFunctions(L, cSlideBindings);
}
