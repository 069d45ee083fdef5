#include "world/Camera.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "world/CameraManager.h"

// The camera bindings act on the camera manager's active camera, not on the library's
// active object.
static Camera *FetchActiveCamera(const char *pBindingName)
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) LuaActiveObjectTypeError(pBindingName);
    return rCamera;
}

// "Polygon": n, then n pairs. The pair count is checked in 64 bits against what was passed,
// so a huge n can neither wrap the count nor read past the arguments.
static int SetPolygonProperty(lua_State *L, Camera *pCamera, int pArgs)
{
    int64_t tPoints = LuaArgInteger(L, 2, 0);
    if(tPoints < 3)
    {
        fputs("Camera_SetProperty:  Polygon must have at least 3 sides.\n", stderr);
        return 0;
    }
    if(pArgs < 2 + 2 * tPoints || !LuaArgsAreNumbers(L, 3, (int)(2 + 2 * tPoints)))
    {
        fprintf(stderr, "Camera_SetProperty:  Not enough arguments passed for %i points.\n", (int)tPoints);
        return 0;
    }
    float *nRecord = (float *)malloc(sizeof(float) * (size_t)(1 + 2 * tPoints));
    if(!nRecord) return 0;
    nRecord[0] = (float)tPoints;
    for(int64_t i = 0; i < 2 * tPoints; i++) nRecord[1 + i] = LuaArgFloat(L, (int)(3 + i), 0.0f);
    pCamera->AddPolygon(nRecord);
    return 0;
}

static int AddRectangle(lua_State *L, Camera *pCamera, int)
{
    pCamera->AddRectanglePolygon(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
    return 0;
}

static const LuaProperty<Camera> cCameraProperties[] = {
    {"Boundaries", 5, "NNNN",
     [](lua_State *L, Camera *p, int) {
         p->SetBoundaries(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0));
         p->SetCustomBoundariesFlag(1);
         return 0;
     }},
    {"CurrentPos", 3, "NN",
     [](lua_State *L, Camera *p, int) { p->SetPosition(LuaArgCoordinate(L, 2), LuaArgCoordinate(L, 3)); return 0; }},
    {"PositiveActivity", 2, nullptr, [](lua_State *L, Camera *p, int) { p->SetPositiveActivity(LuaArgFlag(L, 2)); return 0; }},
    {"ZonesTotal", 2, "N", [](lua_State *L, Camera *p, int) { p->SetZonesTotal(LuaArgInteger(L, 2, 0)); return 0; }},
    {"PolygonMode", 2, nullptr, [](lua_State *L, Camera *p, int) { p->SetPolygonMode(LuaArgFlag(L, 2)); return 0; }},
    {"Polygon", LuaAtLeast(2), "N", SetPolygonProperty},
    {"Rectangle", 5, "NNNN", AddRectangle},
    {"RectangleWH", 5, "NNNN", AddRectangle},
    {"NewPusher", 8, "SNNNNNN",
     [](lua_State *L, Camera *p, int) {
         p->AddPusher(LuaArgString(L, 2, ""), (float)LuaArgInteger(L, 3, 0), (float)LuaArgInteger(L, 4, 0),
                      (float)LuaArgInteger(L, 5, 0), (float)LuaArgInteger(L, 6, 0), (float)LuaArgInteger(L, 7, 0),
                      (float)LuaArgInteger(L, 8, 0));
         return 0;
     }},
    {"ZoneData", 6, "NNNNN",
     [](lua_State *L, Camera *p, int) {
         p->SetZone(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0),
                    LuaArgInteger(L, 6, 0));
         return 0;
     }},
    {"ZoneActivity", 3, "N",
     [](lua_State *L, Camera *p, int) { p->SetZoneActive(LuaArgInteger(L, 2, -1), LuaArgFlag(L, 3)); return 0; }},
    {"ScriptControl", 2, "S",
     [](lua_State *L, Camera *p, int) {
         const char *rPath = LuaArgString(L, 2, "NULL");
         p->SetScriptControl(strcmp(rPath, "NULL") ? rPath : nullptr);
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<Camera> cCameraFunctions[] = {
    {"CenterOnTarget", 3, "NN",
     [](lua_State *L, Camera *p, int) { p->MoveToward(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {"CenterOnPlayer", 1, nullptr, [](lua_State *, Camera *p, int) { p->CenterOnPlayer(); return 0; }},
    {"CenterOnBox", 5, "NNNN",
     [](lua_State *L, Camera *p, int) {
         p->CenterOnBox(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0));
         return 0;
     }},
    {"CenterOnBox", 8, "NNNN",
     [](lua_State *L, Camera *p, int) {
         p->CenterOnTarget(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0),
                           LuaArgBoolean(L, 6, false), LuaArgBoolean(L, 7, false), LuaArgBoolean(L, 8, false));
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

// The camera's own wording, never muted.
static int ReportCameraMiss(const char *pBindingName, const char *pKey, int32_t pArgCount)
{
    fprintf(stderr, "%s:  Failed to resolve %s with %i args\n", pBindingName, pKey, pArgCount);
    return 0;
}

// Both take a key first; anything else is refused in the camera's wording.
static bool HasKeyArgument(lua_State *L, const char *pBindingName)
{
    if(LuaArgIsString(L, 1)) return true;
    fprintf(stderr, "%s:  Failed, invalid argument list\n", pBindingName);
    return false;
}

static int Camera_SetProperty(lua_State *L)
{
    if(!HasKeyArgument(L, "Camera_SetProperty")) return 0;
    Camera *rCamera = FetchActiveCamera("Camera_SetProperty");
    if(!rCamera) return 0;
    return LuaCallProperty(L, "Camera_SetProperty", cCameraProperties, rCamera, ReportCameraMiss);
}

static int Camera_CallFunc(lua_State *L)
{
    if(!HasKeyArgument(L, "Camera_CallFunc")) return 0;
    Camera *rCamera = FetchActiveCamera("Camera_CallFunc");
    if(!rCamera) return 0;
    if(rCamera->GetPipelineLock())
    {
        fputs("Camera_CallFunc:  Failed, Camera's pipeline is locked\n", stderr);
        return 0;
    }
    return LuaCallProperty(L, "Camera_CallFunc", cCameraFunctions, rCamera, ReportCameraMiss);
}

static int Camera_ForceLockTo(lua_State *L)
{
    if(lua_gettop(L) != 1) return LuaArgListError("Camera_ForceLockTo");
    Camera *rCamera = FetchActiveCamera("Camera_ForceLockTo");
    if(rCamera) rCamera->SetPipelineLock(LuaArgBoolean(L, 1, false) ? 1 : 0);
    return 0;
}

static const luaL_Reg cCameraBindings[] = {
    {"Camera_SetProperty", Camera_SetProperty},
    {"Camera_CallFunc", Camera_CallFunc},
    {"Camera_ForceLockTo", Camera_ForceLockTo},
    {nullptr, nullptr},
};

void RegisterCameraLua(lua_State *L)
{
    RegisterLuaFunctions(L, cCameraBindings);
}
