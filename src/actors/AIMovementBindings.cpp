#include "actors/AIMovement.h"

#include <cstdlib>

#include "actors/EnemyAppearance.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"

bool IsAIMovementHandlerActive()
{
    return ActiveIsTypeOrWarn(TYPE_AIMOVEMENTHANDLER, "AIMovementHandler");
}

// The active AIMovementHandler; null after IsAIMovementHandlerActive's warning.
static AIMovementHandler *FetchActiveHandler()
{
    return IsAIMovementHandlerActive() ? FetchActiveAs<AIMovementHandler>(TYPE_AIMOVEMENTHANDLER) : nullptr;
}

// The active object when it really is a script control. The AISC_ globals write into it, so
// its class is checked, not only that something is active. A constructor reaches a freshly
// added script control through its handler: with the handler active, its last movement counts
// when that is a script control.
static AIScriptControl *FetchActiveScriptControl(const char *pBindingName)
{
    AIScriptControl *rControl = FetchActiveAs<AIScriptControl>();
    AIMovementHandler *rHandler = rControl ? nullptr : FetchActiveAs<AIMovementHandler>(TYPE_AIMOVEMENTHANDLER);
    if(rHandler) rControl = dynamic_cast<AIScriptControl *>(rHandler->GetLastMovement());
    if(!rControl) LuaActiveObjectTypeError(pBindingName);
    return rControl;
}

static const LuaProperty<AIMovementHandler> cMovementKinds[] = {
    {"AIR_MOVEMENT", LuaAtLeast(1), nullptr, [](lua_State *, AIMovementHandler *h, int) { h->AddMovement(AIMOVE_AIR); return 0; }},
    {"AIR_MOVEMENT_SIN", LuaAtLeast(1), nullptr, [](lua_State *, AIMovementHandler *h, int) { h->AddMovement(AIMOVE_AIR_SIN); return 0; }},
    {"GROUND_MOVEMENT", LuaAtLeast(1), nullptr, [](lua_State *, AIMovementHandler *h, int) { h->AddMovement(AIMOVE_GROUND); return 0; }},
    {"SCRIPT CONTROL", LuaAtLeast(1), nullptr, [](lua_State *, AIMovementHandler *h, int) { h->AddMovement(AIMOVE_SCRIPT); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

// The handler's own wording, without a line end; content logs have been read against it.
static int ReportUnknownMovement(const char *pBindingName, const char *, int32_t)
{
    fprintf(stderr, "%s: Error, invalid movement type specified.", pBindingName);
    return 0;
}

static int AIMovementHandler_AddMovement(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1))
    {
        fprintf(stderr, "AIMovementHandler_AddMovement: Failed, no movement type specified.\n");
        return 0;
    }
    AIMovementHandler *rHandler = FetchActiveHandler();
    if(!rHandler) return 0;
    return LuaCallProperty(L, "AIMovementHandler_AddMovement", cMovementKinds, rHandler, ReportUnknownMovement);
}

static int AIMovementHandler_IsDoneMoving(lua_State *L)
{
    AIMovementHandler *rHandler = FetchActiveHandler();
    lua_pushboolean(L, rHandler && rHandler->IsDoneMoving());
    return 1;
}

static int AIMovementHandler_ClearAllMovements(lua_State *)
{
    AIMovementHandler *rHandler = FetchActiveHandler();
    if(rHandler) rHandler->ClearAllMovements();
    return 0;
}

static int AIMovementHandler_ApplyStandardGravity(lua_State *)
{
    AIMovementHandler *rHandler = FetchActiveHandler();
    AIMovement *rLast = rHandler ? rHandler->GetLastMovement() : nullptr;
    if(rLast) rLast->SetGravity(AIMOVE_STANDARD_GRAVITY);
    return 0;
}

// Every key but "LoopMovements" sets the handler's last movement, which the caller checked.
static AIMovement *Last(AIMovementHandler *pHandler)
{
    return pHandler->GetLastMovement();
}

static const LuaProperty<AIMovementHandler> cMovementSetters[] = {
    {"DestinationPosition", 3, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) {
         Last(h)->SetDestinationPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
         return 0;
     }},
    {"DestinationTarget", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetDestinationTarget(LuaArgString(L, 2, nullptr)); return 0; }},
    {"Speed", 3, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetSpeed(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"SpeedCap", 3, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetSpeedCap(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Acceleration", 3, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetAcceleration(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"Gravity", 2, nullptr, [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetGravity(LuaArgFloat(L, 2, 0.0f)); return 0; }},
    {"DelayBeforeMoving", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetDelayBeforeMoving(LuaArgFloat(L, 2, -1.0f)); return 0; }},
    {"DurationToMove", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetDurationToMove(LuaArgInteger(L, 2, -1)); return 0; }},
    {"AnimationIndex", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetAnimationIndex(LuaArgInteger(L, 2, -1)); return 0; }},
    {"AnimationDirectionFacing", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) {
         Last(h)->SetAnimationDirectionFacing(EnemyAppearance::TranslateStringDirectionFacing(LuaArgString(L, 2, nullptr)));
         return 0;
     }},
    {"IgnoreEnvironmentCollision", 2, nullptr,
     [](lua_State *L, AIMovementHandler *h, int) { Last(h)->SetIgnoreEnvironmentCollision(LuaArgFlag(L, 2)); return 0; }},
    {"LoopMovements", 2, nullptr, [](lua_State *L, AIMovementHandler *h, int) { h->SetLoopMovements(LuaArgFlag(L, 2)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int AIMovementHandler_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIMovementHandler_SetProperty");
    AIMovementHandler *rHandler = FetchActiveHandler();
    if(!rHandler) return 0;
    if(!rHandler->GetLastMovement())
    {
        fprintf(stderr, "AIMovementHandler_SetProperty: AIMovementHandler has no AIMovements.\n");
        return 0;
    }
    return LuaCallProperty(L, "AIMovementHandler_SetProperty", cMovementSetters, rHandler);
}

// Without a movement there is no delay to read: the message and 0 instead of a crash.
static int PushMovementDelay(lua_State *L, AIMovementHandler *pHandler, int)
{
    AIMovement *rLast = pHandler->GetLastMovement();
    if(!rLast) fprintf(stderr, "AIMovementHandler_GetProperty: AIMovementHandler has no AIMovements.\n");
    lua_pushinteger(L, rLast ? rLast->GetDelayLeft() : 0);
    return 1;
}

static const LuaProperty<AIMovementHandler> cMovementGetters[] = {
    {"GetCurrentMovementDelay", 1, nullptr, PushMovementDelay},
    {nullptr, 0, nullptr, nullptr},
};

static int AIMovementHandler_GetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AIMovementHandler_GetProperty");
    AIMovementHandler *rHandler = FetchActiveHandler();
    if(!rHandler) return 0;
    return LuaCallProperty(L, "AIMovementHandler_GetProperty", cMovementGetters, rHandler);
}

// --- "AISC_" --------------------------------------------------------------------------------

static int AISC_SetScript(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("AISC_SetScript");
    AIScriptControl *rControl = FetchActiveScriptControl("AISC_SetScript");
    if(!rControl) return 0;
    char *nPath = nullptr;
    ResetString(&nPath, LuaArgString(L, 1, nullptr));
    rControl->SetScript(nPath);
    free(nPath);
    return 0;
}

static int AISC_PushOwner(lua_State *L)
{
    if(lua_gettop(L) != 0) return LuaArgListError("AISC_PushOwner");
    DataLibrary *rLibrary = DataLibrary::Fetch();
    AIScriptControl *rControl = FetchActiveScriptControl("AISC_PushOwner");
    if(!rLibrary) return 0;
    rLibrary->PushActiveEntity(rControl ? (RootObject *)rControl->GetOwner() : nullptr);
    return 0;
}

static int AISC_GetProperty(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListErrorNil("AISC_GetProperty", L);
    AIScriptControl *rControl = FetchActiveScriptControl("AISC_GetProperty");
    if(!rControl)
    {
        lua_pushnil(L);
        return 1;
    }
    return LuaPushTypedValue(rControl->GetProperty(LuaArgString(L, 1, nullptr)), L);
}

static int AISC_SetProperty(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgIsString(L, 1)) return LuaArgListError("AISC_SetProperty");
    AIScriptControl *rControl = FetchActiveScriptControl("AISC_SetProperty");
    if(!rControl) return 0;
    TypedValue *rValue = rControl->GetProperty(LuaArgString(L, 1, nullptr));
    if(rValue) LuaReadIntoTypedValue(rValue, L, 2);
    return 0;
}

static int AISC_DefineProperty(lua_State *L)
{
    if(lua_gettop(L) != 3 || !LuaArgIsString(L, 1)) return LuaArgListError("AISC_DefineProperty");
    AIScriptControl *rControl = FetchActiveScriptControl("AISC_DefineProperty");
    if(!rControl) return 0;
    rControl->DefineProperty(LuaArgString(L, 1, nullptr), LuaReadTypedValue(L, 2, 3));
    return 0;
}

static const luaL_Reg cMovementBindings[] = {
    {"AIMovementHandler_AddMovement", AIMovementHandler_AddMovement},
    {"AIMovementHandler_IsDoneMoving", AIMovementHandler_IsDoneMoving},
    {"AIMovementHandler_ClearAllMovements", AIMovementHandler_ClearAllMovements},
    {"AIMovementHandler_ApplyStandardGravity", AIMovementHandler_ApplyStandardGravity},
    {"AIMovementHandler_SetProperty", AIMovementHandler_SetProperty},
    {"AIMovementHandler_GetProperty", AIMovementHandler_GetProperty},
    {"AISC_SetScript", AISC_SetScript},
    {"AISC_PushOwner", AISC_PushOwner},
    {"AISC_GetProperty", AISC_GetProperty},
    {"AISC_SetProperty", AISC_SetProperty},
    {"AISC_DefineProperty", AISC_DefineProperty},
    {nullptr, nullptr},
};

void RegisterAIMovementLua(lua_State *L)
{
    RegisterLuaFunctions(L, cMovementBindings);
}
