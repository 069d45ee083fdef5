#include "world/TransitionManager.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/RootObject.h"
#include "core/data/DataLibrary.h"
#include "world/Executors.h"

// The manager exists once booted; before that the bindings do nothing.
static TransitionManager *FetchTransitionManager(const char *pBindingName)
{
    TransitionManager *rManager = TransitionManager::Get();
    if(!rManager) fprintf(stderr, "%s:  Failed, no transition manager\n", pBindingName);
    return rManager;
}

// The transition bindings' own wording, never muted.
static int ResolveError(const char *pBindingName, const char *pName, int32_t pArgCount)
{
    fprintf(stderr, "%s: Error, cannot resolve %s with %i args\n", pBindingName, pName, pArgCount);
    return 0;
}

// The executors a script can set up. The caller's active object is saved on the stack and the
// new executor made active, so the property calls that follow act on it; TM_ExecTransition
// hands it over and restores the caller's object.
static const LuaProperty<DataLibrary> cTransitionKinds[] = {
    {"MapTarget", LuaAtLeast(1), nullptr,
     [](lua_State *, DataLibrary *pLibrary, int) {
         if(!pLibrary) return 0;
         pLibrary->PushAndClearActive();
         pLibrary->SetActiveObjectDirect(new TransExec_AnyToMap());
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

// An unknown kind leaves the stack alone, so nothing is left to pop.
static int TM_SetupTransition(lua_State *L)
{
    if(!LuaArgString(L, 1, nullptr)) return LuaArgListError("TM_SetupTransition");
    return LuaCallProperty(L, "TM_SetupTransition", cTransitionKinds, DataLibrary::Fetch(), ResolveError);
}

// The fade speeds belong to the manager; the map path to the active map executor.
static const LuaProperty<void> cExecutorSetters[] = {
    {"FadeSpeeds", 3, "NN",
     [](lua_State *L, void *, int) {
         TransitionManager *rManager = FetchTransitionManager("TM_ExecutorSetProperty");
         if(rManager) rManager->SetFadeSpeeds(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
         return 0;
     }},
    {"MapPath", 2, "S",
     [](lua_State *L, void *, int) {
         // Only the map executor has a level name, though other executors share its range.
         DataLibrary *rLibrary = DataLibrary::Fetch();
         if(!rLibrary) return 0;
         TransExec_AnyToMap *rExecutor = FetchActiveAs<TransExec_AnyToMap>(TYPE_TRANSEXEC_ANYTOMAP);
         if(!rExecutor) return LuaActiveObjectTypeError("TM_ExecutorSetProperty");
         rExecutor->SetLevelName(LuaArgString(L, 2, nullptr));
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int TM_ExecutorSetProperty(lua_State *L)
{
    if(!LuaArgString(L, 1, nullptr)) return LuaArgListError("TM_ExecutorSetProperty");
    return LuaCallProperty(L, "TM_ExecutorSetProperty", cExecutorSetters, nullptr, ResolveError);
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

static const luaL_Reg cTransitionManagerFunctions[] = {
    {"TM_SetupTransition", TM_SetupTransition},
    {"TM_ExecutorSetProperty", TM_ExecutorSetProperty},
    {"TM_ExecTransition", TM_ExecTransition},
    {nullptr, nullptr},
};

void TransitionManager::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cTransitionManagerFunctions);
}
