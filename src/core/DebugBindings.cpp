#include "core/DebugPrint.h"

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"

#include <allegro5/allegro.h>

// Script text is always printed through "%s": a '%' typed in a script must print as itself
// and never read or write through printf arguments that are not there. A non-text argument
// prints nothing, but its push or pop still happens so that sections stay paired.

// The Application's event queue, or null while there is none.
static ALLEGRO_EVENT_QUEUE *FetchEventQueue()
{
    Application *rApplication = GetApplication();
    return rApplication ? rApplication->mEventQueue : nullptr;
}

static int Debug_PushPrint(lua_State *L)
{
    if(lua_gettop(L) != 2) return 0;
    uint8_t tState = lua_toboolean(L, 1) ? 1 : 0;
    const char *rText = LuaArgString(L, 2, nullptr);
    if(rText)
        Debug::PushPrint(tState, "%s", rText);
    else
        Debug::PushPrintState(tState);
    return 0;
}

static int Debug_PushPrintS(lua_State *L)
{
    if(lua_gettop(L) != 2) return 0;
    const char *rTag = LuaArgString(L, 1, nullptr);
    const char *rText = LuaArgString(L, 2, nullptr);
    if(rText)
        Debug::PushPrintTag(rTag, "%s", rText);
    else
        Debug::PushPrintState(Debug::ReadTagState(rTag));
    return 0;
}

static int Debug_PopPrint(lua_State *L)
{
    if(lua_gettop(L) != 1) return 0;
    const char *rText = LuaArgString(L, 1, nullptr);
    if(rText)
        Debug::PopPrint("%s", rText);
    else
        Debug::PopPrintState();
    return 0;
}

static int Debug_Print(lua_State *L)
{
    if(lua_gettop(L) != 1) return 0;
    const char *rText = LuaArgString(L, 1, nullptr);
    if(rText) Debug::Print("%s", rText);
    return 0;
}

static int Debug_ForcePrint(lua_State *L)
{
    if(lua_gettop(L) != 1) return 0;
    const char *rText = LuaArgString(L, 1, nullptr);
    if(rText) Debug::ForcePrint("%s", rText);
    return 0;
}

static int Debug_DropEvents(lua_State *L)
{
    if(lua_gettop(L) != 0) return 0;
    ALLEGRO_EVENT_QUEUE *rQueue = FetchEventQueue();
    if(rQueue) al_flush_event_queue(rQueue);
    return 0;
}

static const luaL_Reg cDebugBindings[] =
{
    {"Debug_PushPrint", Debug_PushPrint},
    {"Debug_PushPrintS", Debug_PushPrintS},
    {"Debug_PopPrint", Debug_PopPrint},
    {"Debug_Print", Debug_Print},
    {"Debug_ForcePrint", Debug_ForcePrint},
    {"Debug_DropEvents", Debug_DropEvents},
    {nullptr, nullptr}
};

void RegisterDebugLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDebugBindings);
}
