#include "interface/AudioManager.h"

#include <cstdio>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "interface/AudioPackage.h"

// Scripts can run before the audio manager is built, so every binding asks for it here first
// and fails cleanly without it.
static AudioManager *FetchAudioManager(const char *pBindingName)
{
    AudioManager *rManager = AudioManager::Get();
    if(!rManager) fprintf(stderr, "%s:  Failed, no audio manager exists yet\n", pBindingName);
    return rManager;
}

// AudioManager_Register(name, kind, storage, path): kind "AsMusic" or a sound, storage
// "AsStream" or a sample.
static int AudioManager_Register(lua_State *L)
{
    if(lua_gettop(L) != 4) return LuaArgListError("AudioManager_Register");
    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rKind = LuaArgString(L, 2, nullptr);
    const char *rStorage = LuaArgString(L, 3, nullptr);
    const char *rPath = LuaArgString(L, 4, nullptr);
    if(!rName || !rKind || !rStorage || !rPath) return LuaArgListError("AudioManager_Register");
    AudioManager *rManager = FetchAudioManager("AudioManager_Register");
    if(!rManager) return 0;

    AudioPackage *nPackage = new AudioPackage(rManager->GetLayer());
    if(!strcmp(rStorage, "AsStream"))
        nPackage->LoadStream(rPath);
    else
        nPackage->LoadSample(rPath);

    if(!strcmp(rKind, "AsMusic"))
    {
        nPackage->SetLocalVolume(AudioManager::GetMusicVolume());
        rManager->AddMusic(rName, nPackage);
    }
    else
    {
        nPackage->SetLocalVolume(AudioManager::GetSoundVolume());
        rManager->AddSound(rName, nPackage);
    }
    return 0;
}

// nil, like the name "NULL", fades the current track out.
static int AudioManager_PlayMusic(lua_State *L)
{
    const char *rName = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rName && !(lua_gettop(L) == 1 && lua_isnil(L, 1))) return LuaArgListError("AudioManager_PlayMusic");
    AudioManager *rManager = FetchAudioManager("AudioManager_PlayMusic");
    if(rManager) rManager->PlayMusic(rName);
    return 0;
}

static int AudioManager_PlaySound(lua_State *L)
{
    const char *rName = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rName) return LuaArgListError("AudioManager_PlaySound");
    AudioManager *rManager = FetchAudioManager("AudioManager_PlaySound");
    if(rManager) rManager->PlaySound(rName);
    return 0;
}

static int AudioManager_PlaySpeech(lua_State *L)
{
    const char *rPath = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rPath) return LuaArgListError("AudioManager_PlaySpeech");
    AudioManager *rManager = FetchAudioManager("AudioManager_PlaySpeech");
    if(rManager) rManager->PlaySpeech(rPath);
    return 0;
}

static int AudioManager_StopMusic(lua_State *L)
{
    if(lua_gettop(L) != 0) return LuaArgListError("AudioManager_StopMusic");
    AudioManager *rManager = FetchAudioManager("AudioManager_StopMusic");
    if(rManager) rManager->StopMusic();
    return 0;
}

static int AudioManager_StopSound(lua_State *L)
{
    const char *rName = lua_gettop(L) == 1 ? LuaArgString(L, 1, nullptr) : nullptr;
    if(!rName) return LuaArgListError("AudioManager_StopSound");
    AudioManager *rManager = FetchAudioManager("AudioManager_StopSound");
    if(rManager) rManager->StopSound(rName);
    return 0;
}

static const luaL_Reg cAudioManagerFunctions[] =
{
    {"AudioManager_Register", AudioManager_Register},
    {"AudioManager_PlayMusic", AudioManager_PlayMusic},
    {"AudioManager_PlaySound", AudioManager_PlaySound},
    {"AudioManager_PlaySpeech", AudioManager_PlaySpeech},
    {"AudioManager_StopMusic", AudioManager_StopMusic},
    {"AudioManager_StopSound", AudioManager_StopSound},
    {nullptr, nullptr},
};

void RegisterAudioManagerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cAudioManagerFunctions);
}
