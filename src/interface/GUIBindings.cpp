#include "interface/GUI.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "interface/GUISTitleScreen.h"
#include "world/Camera.h"
#include "world/CameraManager.h"

static GUI *FetchGUI(const char *pBindingName)
{
    GUI *rGUI = GetGUI();
    if(!rGUI) fprintf(stderr, "%s:  Failed, no GUI exists yet\n", pBindingName);
    return rGUI;
}

// The script that asks for the title chooses whether the thanks page comes first. It leaves
// no active object behind it: the current one is pushed and not popped again, since the title
// gear's activation clears the world anyway.
static int GUI_ForceToTitle(lua_State *L)
{
    if(lua_gettop(L) != 1) return LuaArgListError("GUI_ForceToTitle");
    GUI *rGUI = FetchGUI("GUI_ForceToTitle");
    if(!rGUI) return 0;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    rGUI->SetReturnToTitle(1);
    GUISTitleScreen *rTitle = GetTitleScreen();
    if(rTitle) rTitle->SetThanksMode(lua_toboolean(L, 1) ? 1 : 0);
    return 0;
}

static int GUI_GetMouseClickCoords(lua_State *L)
{
    float tX = 0.0f, tY = 0.0f;
    GUI *rGUI = FetchGUI("GUI_GetMouseClickCoords");
    if(rGUI) rGUI->GetMouseClickCoords(tX, tY);
    lua_pushnumber(L, tX);
    lua_pushnumber(L, tY);
    return 2;
}

// The click in world units: offset by the active camera's view corner (none without a camera).
static int GUI_GetMouseClickCoordsInWorld(lua_State *L)
{
    float tX = 0.0f, tY = 0.0f;
    GUI *rGUI = FetchGUI("GUI_GetMouseClickCoordsInWorld");
    if(rGUI) rGUI->GetMouseClickCoords(tX, tY);
    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera)
    {
        Hitbox tFrame = rCamera->GetFrame();
        tX += tFrame.mLft;
        tY += tFrame.mTop;
    }
    lua_pushnumber(L, tX);
    lua_pushnumber(L, tY);
    return 2;
}

static const luaL_Reg cGUIBindings[] =
{
    {"GUI_ForceToTitle", GUI_ForceToTitle},
    {"GUI_GetMouseClickCoords", GUI_GetMouseClickCoords},
    {"GUI_GetMouseClickCoordsInWorld", GUI_GetMouseClickCoordsInWorld},
    {nullptr, nullptr}
};

void RegisterGUILua(lua_State *L)
{
    RegisterLuaFunctions(L, cGUIBindings);
}
