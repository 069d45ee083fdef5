#include "interface/AudioPackage.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "interface/AudioManager.h"

// The AudioPackage_ globals configure the package registered last. Scripts can run before the
// audio manager is built, and before anything is registered; both fail cleanly here.
static AudioPackage *FetchLastRegisteredPackage(const char *pBindingName)
{
    AudioManager *rManager = AudioManager::Get();
    if(!rManager)
    {
        fprintf(stderr, "%s:  Failed, no audio manager exists yet\n", pBindingName);
        return nullptr;
    }
    AudioPackage *rPackage = rManager->GetLastRegistered();
    if(!rPackage) LuaActiveObjectTypeError(pBindingName);
    return rPackage;
}

static int AudioPackage_ActivateLoop(lua_State *L)
{
    if(lua_gettop(L) != 2 || !LuaArgIsNumber(L, 1) || !LuaArgIsNumber(L, 2)) return LuaArgListError("AudioPackage_ActivateLoop");
    AudioPackage *rPackage = FetchLastRegisteredPackage("AudioPackage_ActivateLoop");
    if(rPackage) rPackage->ActivateLoop((float)lua_tonumber(L, 1), (float)lua_tonumber(L, 2));
    return 0;
}

// Sets the package's own volume; the local volume stays with the manager's settings.
static int AudioPackage_SetLocalVolume(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsNumber(L, 1)) return LuaArgListError("AudioPackage_SetLocalVolume");
    AudioPackage *rPackage = FetchLastRegisteredPackage("AudioPackage_SetLocalVolume");
    if(rPackage) rPackage->SetVolume((float)lua_tonumber(L, 1));
    return 0;
}

static const luaL_Reg cAudioPackageFunctions[] =
{
    {"AudioPackage_ActivateLoop", AudioPackage_ActivateLoop},
    {"AudioPackage_SetLocalVolume", AudioPackage_SetLocalVolume},
    {nullptr, nullptr},
};

void RegisterAudioPackageLua(lua_State *L)
{
    RegisterLuaFunctions(L, cAudioPackageFunctions);
}
