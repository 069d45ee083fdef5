#include "world/Camera.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "world/CameraManager.h"

// The camera bindings act on the camera manager's active camera, not on the library's
// active object.
static Camera *FetchActiveCamera(const char *pBindingName)
{
    CameraManager *rManager = CameraManager::Fetch();
    Camera *rCamera = rManager ? rManager->GetActiveCamera() : NULL;
    if(!rCamera) LuaActiveObjectTypeError(pBindingName);
    return rCamera;
}

// "Polygon": n, then n pairs. The pair count is checked in 64 bits against what was passed,
// so a huge n can neither wrap the count nor read past the arguments.
static void SetPolygonProperty(lua_State *L, Camera *pCamera, int pArgs)
{
    int64_t tPoints = LuaArgInteger(L, 2, 0);
    if(tPoints < 3)
    {
        fputs("Camera_SetProperty:  Polygon must have at least 3 sides.\n", stderr);
        return;
    }
    if(pArgs < 2 + 2 * tPoints || !LuaArgsAreNumbers(L, 3, (int)(2 + 2 * tPoints)))
    {
        fprintf(stderr, "Camera_SetProperty:  Not enough arguments passed for %i points.\n", (int)tPoints);
        return;
    }
    float *nRecord = (float *)malloc(sizeof(float) * (size_t)(1 + 2 * tPoints));
    if(!nRecord) return;
    nRecord[0] = (float)tPoints;
    for(int64_t i = 0; i < 2 * tPoints; i++) nRecord[1 + i] = LuaArgFloat(L, (int)(3 + i), 0.0f);
    pCamera->AddPolygon(nRecord);
}

// Returns false when the key and count name no property (the caller reports it).
static bool ResolveProperty(lua_State *L, Camera *pCamera, const char *pKey, int pArgs)
{
    if(!strcmp(pKey, "Boundaries") && pArgs == 5 && LuaArgsAreNumbers(L, 2, 5))
    {
        pCamera->SetBoundaries(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0));
        pCamera->SetCustomBoundariesFlag(1);
    }
    else if(!strcmp(pKey, "CurrentPos") && pArgs == 3 && LuaArgsAreNumbers(L, 2, 3))
    {
        pCamera->SetPosition(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    }
    else if(!strcmp(pKey, "PositiveActivity") && pArgs == 2)
    {
        pCamera->SetPositiveActivity(LuaArgBoolean(L, 2, false) ? 1 : 0);
    }
    else if(!strcmp(pKey, "ZonesTotal") && pArgs == 2 && LuaArgsAreNumbers(L, 2, 2))
    {
        pCamera->SetZonesTotal(LuaArgInteger(L, 2, 0));
    }
    else if(!strcmp(pKey, "PolygonMode") && pArgs == 2)
    {
        pCamera->SetPolygonMode(LuaArgBoolean(L, 2, false) ? 1 : 0);
    }
    else if(!strcmp(pKey, "Polygon") && pArgs >= 2 && LuaArgsAreNumbers(L, 2, 2))
    {
        SetPolygonProperty(L, pCamera, pArgs);
    }
    else if((!strcmp(pKey, "Rectangle") || !strcmp(pKey, "RectangleWH")) && pArgs == 5 && LuaArgsAreNumbers(L, 2, 5))
    {
        pCamera->AddRectanglePolygon(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f), LuaArgFloat(L, 5, 0.0f));
    }
    else if(!strcmp(pKey, "NewPusher") && pArgs == 8 && LuaArgIsString(L, 2) && LuaArgsAreNumbers(L, 3, 8))
    {
        pCamera->AddPusher(LuaArgString(L, 2, ""), (float)LuaArgInteger(L, 3, 0), (float)LuaArgInteger(L, 4, 0),
                           (float)LuaArgInteger(L, 5, 0), (float)LuaArgInteger(L, 6, 0),
                           (float)LuaArgInteger(L, 7, 0), (float)LuaArgInteger(L, 8, 0));
    }
    else if(!strcmp(pKey, "ZoneData") && pArgs == 6 && LuaArgsAreNumbers(L, 2, 6))
    {
        pCamera->SetZone(LuaArgInteger(L, 2, -1), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0),
                         LuaArgInteger(L, 5, 0), LuaArgInteger(L, 6, 0));
    }
    else if(!strcmp(pKey, "ZoneActivity") && pArgs == 3 && LuaArgsAreNumbers(L, 2, 2))
    {
        pCamera->SetZoneActive(LuaArgInteger(L, 2, -1), LuaArgBoolean(L, 3, false) ? 1 : 0);
    }
    else if(!strcmp(pKey, "ScriptControl") && pArgs == 2 && LuaArgIsString(L, 2))
    {
        const char *rPath = LuaArgString(L, 2, "NULL");
        pCamera->SetScriptControl(strcmp(rPath, "NULL") ? rPath : NULL);
    }
    else
    {
        return false;
    }
    return true;
}

static int Camera_SetProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1))
    {
        fputs("Camera_SetProperty:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    Camera *rCamera = FetchActiveCamera("Camera_SetProperty");
    if(!rCamera) return 0;
    const char *rKey = LuaArgString(L, 1, "");
    if(!ResolveProperty(L, rCamera, rKey, tArgs))
    {
        fprintf(stderr, "Camera_SetProperty:  Failed to resolve %s with %i args\n", rKey, tArgs);
    }
    return 0;
}

static bool ResolveFunction(lua_State *L, Camera *pCamera, const char *pName, int pArgs)
{
    if(!strcmp(pName, "CenterOnTarget") && pArgs == 3 && LuaArgsAreNumbers(L, 2, 3))
    {
        pCamera->MoveToward(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    }
    else if(!strcmp(pName, "CenterOnPlayer") && pArgs == 1)
    {
        pCamera->CenterOnPlayer();
    }
    else if(!strcmp(pName, "CenterOnBox") && pArgs == 5 && LuaArgsAreNumbers(L, 2, 5))
    {
        pCamera->CenterOnBox(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0));
    }
    else if(!strcmp(pName, "CenterOnBox") && pArgs == 8 && LuaArgsAreNumbers(L, 2, 5))
    {
        pCamera->CenterOnTarget(LuaArgInteger(L, 2, 0), LuaArgInteger(L, 3, 0), LuaArgInteger(L, 4, 0), LuaArgInteger(L, 5, 0),
                                LuaArgBoolean(L, 6, false), LuaArgBoolean(L, 7, false), LuaArgBoolean(L, 8, false));
    }
    else
    {
        return false;
    }
    return true;
}

static int Camera_CallFunc(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1))
    {
        fputs("Camera_CallFunc:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    Camera *rCamera = FetchActiveCamera("Camera_CallFunc");
    if(!rCamera) return 0;
    if(rCamera->GetPipelineLock())
    {
        fputs("Camera_CallFunc:  Failed, Camera's pipeline is locked\n", stderr);
        return 0;
    }
    const char *rName = LuaArgString(L, 1, "");
    if(!ResolveFunction(L, rCamera, rName, tArgs))
    {
        fprintf(stderr, "Camera_CallFunc:  Failed to resolve %s with %i args\n", rName, tArgs);
    }
    return 0;
}

static int Camera_ForceLockTo(lua_State *L)
{
    if(lua_gettop(L) != 1) return LuaArgListError("Camera_ForceLockTo");
    Camera *rCamera = FetchActiveCamera("Camera_ForceLockTo");
    if(rCamera) rCamera->SetPipelineLock(LuaArgBoolean(L, 1, false) ? 1 : 0);
    return 0;
}

static const luaL_Reg xCameraFunctions[] = {
    {"Camera_SetProperty", Camera_SetProperty},
    {"Camera_CallFunc", Camera_CallFunc},
    {"Camera_ForceLockTo", Camera_ForceLockTo},
    {NULL, NULL},
};

void RegisterCameraLua(lua_State *L)
{
    RegisterLuaFunctions(L, xCameraFunctions);
}
