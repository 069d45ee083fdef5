#include "world/TransitionManager.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/RootObject.h"
#include "core/data/DataLibrary.h"
#include "world/Executors.h"

// The manager exists once booted; before that the bindings do nothing.
static TransitionManager *FetchTransitionManager(const char *pBindingName)
{
    TransitionManager *rManager = TransitionManager::Fetch();
    if(!rManager) fprintf(stderr, "%s:  Failed, no transition manager\n", pBindingName);
    return rManager;
}

static int ResolveError(const char *pBindingName, const char *pName, int pArgCount)
{
    fprintf(stderr, "%s: Error, cannot resolve %s with %i args\n", pBindingName, pName, pArgCount);
    return 0;
}

// The caller's active object is saved on the stack and the new executor made active, so the
// property calls that follow act on it; TM_ExecTransition hands it over and restores the
// caller's object. An unknown kind leaves the stack alone, so nothing is left to pop.
static int TM_SetupTransition(lua_State *L)
{
    int tArgs = lua_gettop(L);
    const char *rKind = LuaArgString(L, 1, NULL);
    if(tArgs < 1 || !rKind) return LuaArgListError("TM_SetupTransition");
    if(strcmp(rKind, "MapTarget")) return ResolveError("TM_SetupTransition", rKind, tArgs);

    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    rLibrary->PushAndClearActive();
    rLibrary->SetActiveObjectDirect(new TransExec_AnyToMap());
    return 0;
}

static int TM_ExecutorSetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    const char *rKey = LuaArgString(L, 1, NULL);
    if(tArgs < 1 || !rKey) return LuaArgListError("TM_ExecutorSetProperty");

    if(!strcmp(rKey, "FadeSpeeds") && tArgs == 3 && LuaArgIsNumber(L, 2) && LuaArgIsNumber(L, 3))
    {
        TransitionManager *rManager = FetchTransitionManager("TM_ExecutorSetProperty");
        if(rManager) rManager->SetFadeSpeeds((float)LuaArgNumber(L, 2, 0.0), (float)LuaArgNumber(L, 3, 0.0));
        return 0;
    }
    if(!strcmp(rKey, "MapPath") && tArgs == 2 && LuaArgIsString(L, 2))
    {
        // Only the map executor has a level name, though other executors share its range.
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(!rLibrary) return 0;
        if(!rLibrary->ActiveIsType(TYPE_TRANSEXEC_ANYTOMAP)) return LuaActiveObjectTypeError("TM_ExecutorSetProperty");
        TransExec_AnyToMap *rExecutor = static_cast<TransExec_AnyToMap *>(rLibrary->GetActiveObject());
        rExecutor->SetLevelName(LuaArgString(L, 2, NULL));
        return 0;
    }
    return ResolveError("TM_ExecutorSetProperty", rKey, tArgs);
}

static int TM_ExecTransition(lua_State *L)
{
    (void)L;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveTypeInRange(TYPE_ROOTEXECUTOR, TYPE_TRANSEXEC_ANYTOMAP)) return 0;
    TransitionManager *rManager = FetchTransitionManager("TM_ExecTransition");
    if(!rManager) return 0;
    RootExecutor *rExecutor = static_cast<RootExecutor *>(rLibrary->PopActiveEntity());
    rManager->Begin(rExecutor, true);
    return 0;
}

static const luaL_Reg xTransitionManagerFunctions[] = {
    {"TM_SetupTransition", TM_SetupTransition},
    {"TM_ExecutorSetProperty", TM_ExecutorSetProperty},
    {"TM_ExecTransition", TM_ExecTransition},
    {NULL, NULL},
};

void RegisterTransitionManagerBindings(lua_State *L)
{
    RegisterLuaFunctions(L, xTransitionManagerFunctions);
}
