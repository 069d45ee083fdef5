#include "interface/VirtualConsole.h"

#include "core/LuaBindingHelpers.h"
#include "interface/GUIConsole.h"

// Dialogue scripts reach the console shown on screen: "MasterConsole" when a script set one
// up, else the default "Console".
static VirtualConsole *FetchConsole(const char *pBindingName)
{
    VirtualConsole *rConsole = FindScriptConsole();
    if(!rConsole) LuaActiveObjectTypeError(pBindingName);
    return rConsole;
}

static int VC_SetChar(lua_State *L)
{
    if(lua_gettop(L) != 3 || !lua_isnumber(L, 1) || !lua_isnumber(L, 2) || !lua_isstring(L, 3))
        return LuaArgListError("VC_SetChar");
    VirtualConsole *rConsole = FetchConsole("VC_SetChar");
    if(!rConsole) return 0;
    const char *rText = lua_tostring(L, 3);
    rConsole->SetChar(LuaArgInteger(L, 1, 0), LuaArgInteger(L, 2, 0), rText[0]);
    return 0;
}

static int VC_SetLine(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs == 1 && lua_isstring(L, 1))
    {
        VirtualConsole *rConsole = FetchConsole("VC_SetLine");
        if(rConsole) rConsole->SetLineHere(lua_tostring(L, 1));
        return 0;
    }
    if(tArgs == 2 && lua_isnumber(L, 1) && lua_isstring(L, 2))
    {
        VirtualConsole *rConsole = FetchConsole("VC_SetLine");
        if(rConsole) rConsole->SetLine(LuaArgInteger(L, 1, 0), lua_tostring(L, 2));
        return 0;
    }
    return LuaArgListError("VC_SetLine");
}

static int VC_Clear(lua_State *L)
{
    (void)L;
    VirtualConsole *rConsole = FetchConsole("VC_Clear");
    if(rConsole) rConsole->Clear();
    return 0;
}

static int VC_BeginDecision(lua_State *L)
{
    (void)L;
    VirtualConsole *rConsole = FetchConsole("VC_BeginDecision");
    if(rConsole) rConsole->BeginDecision();
    return 0;
}

static int VC_AppendDecision(lua_State *L)
{
    if(lua_gettop(L) != 3 || !lua_isstring(L, 1) || !lua_isstring(L, 2) || !lua_isnumber(L, 3))
        return LuaArgListError("VC_AppendDecision");
    VirtualConsole *rConsole = FetchConsole("VC_AppendDecision");
    if(rConsole) rConsole->AppendDecision(lua_tostring(L, 1), lua_tostring(L, 2), (float)lua_tonumber(L, 3));
    return 0;
}

static int VC_FinalizeDecisions(lua_State *L)
{
    (void)L;
    VirtualConsole *rConsole = FetchConsole("VC_FinalizeDecisions");
    if(rConsole) rConsole->FinalizeDecisions();
    return 0;
}

static const luaL_Reg cConsoleBindings[] =
{
    {"VC_SetChar", VC_SetChar},
    {"VC_SetLine", VC_SetLine},
    {"VC_Clear", VC_Clear},
    {"VC_BeginDecision", VC_BeginDecision},
    {"VC_AppendDecision", VC_AppendDecision},
    {"VC_FinalizeDecisions", VC_FinalizeDecisions},
    {nullptr, nullptr}
};

void VirtualConsole::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cConsoleBindings);
}
