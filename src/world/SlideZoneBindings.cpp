#include "world/SlideZone.h"

#include "core/LuaBindingHelpers.h"

// Slide_Create(name, left, top, right, bottom, amount): goes to "Slide List"; the active
// object is left alone.
static int Slide_Create(lua_State *L)
{
    const char *rName = NULL;
    float tEdges[4];
    if(!ReadZoneCreateArguments(L, 6, "Slide_Create", rName, tEdges)) return 0;
    SlideZone *nZone = new SlideZone();
    nZone->SetName(rName);
    nZone->SetRect(tEdges[0], tEdges[1], tEdges[2], tEdges[3]);
    nZone->SetSlideAmount((float)LuaArgNumber(L, 6, 0.0));
    RegisterZone("Slide List", nZone);
    return 0;
}

static const luaL_Reg cSlideBindings[] = {
    {"Slide_Create", Slide_Create},
    {NULL, NULL},
};

void RegisterSlideBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cSlideBindings);
}
