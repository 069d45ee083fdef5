#include "world/MapBGM.h"

#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/MapManager.h"

// The active object when it is a background pack.
static BackgroundPack *FetchActivePack()
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return NULL;
    return dynamic_cast<BackgroundPack *>(rLibrary->GetActiveObject());
}

// MapBGM_CreatePack(name): the old active object is pushed, the new pack becomes active and
// joins the map's packs.
static int MapBGM_CreatePack(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;
    rLibrary->PushAndClearActive();
    MapManager *rMap = MapManager::Fetch();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("MapBGM_CreatePack");
    if(!rMap || !rMap->GetBackgrounds()) return 0;

    BackgroundPack *nPack = new BackgroundPack();
    rMap->GetBackgrounds()->AddPack(LuaArgString(L, 1, NULL), nPack);
    rLibrary->SetActiveObjectDirect(nPack);
    return 0;
}

// Keys with other argument counts, and unknown keys, are ignored without a word: map scripts
// of older content pass keys this engine no longer knows.
static int MapBGM_SetPackProperty(lua_State *L)
{
    int tArgs = lua_gettop(L);
    if(tArgs < 1 || !LuaArgIsString(L, 1)) return LuaArgListError("MapBGM_SetPackProperty");
    BackgroundPack *rPack = FetchActivePack();
    if(!rPack) return LuaActiveObjectTypeError("MapBGM_SetPackProperty");

    const char *rKey = LuaArgString(L, 1, NULL);
    if(tArgs == 1 && !strcmp(rKey, "Activate"))
    {
        rPack->Activate();
    }
    else if(tArgs == 5 && LuaArgsAreNumbers(L, 2, 5) && !strcmp(rKey, "Dimensions"))
    {
        rPack->mLft = LuaArgFloat(L, 2, 0.0f);
        rPack->mTop = LuaArgFloat(L, 3, 0.0f);
        rPack->mRgt = LuaArgFloat(L, 4, 0.0f);
        rPack->mBot = LuaArgFloat(L, 5, 0.0f);
    }
    else if(tArgs == 2 && !strcmp(rKey, "Image"))
    {
        rPack->SetImage(LuaArgString(L, 2, NULL));
    }
    else if(tArgs == 2 && LuaArgIsNumber(L, 2) && !strcmp(rKey, "Depth"))
    {
        rPack->mDepth = LuaArgFloat(L, 2, 0.0f);
    }
    else if(tArgs == 3 && LuaArgsAreNumbers(L, 2, 3) && !strcmp(rKey, "Appearances"))
    {
        rPack->SetAppearances(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f));
    }
    else if(tArgs == 3 && !strcmp(rKey, "ForceScroll"))
    {
        rPack->mForceScrollX = LuaArgBoolean(L, 2, false) ? 1 : 0;
        rPack->mForceScrollY = LuaArgBoolean(L, 3, false) ? 1 : 0;
    }
    return 0;
}

static const luaL_Reg cMapBGMBindings[] = {
    {"MapBGM_CreatePack", MapBGM_CreatePack},
    {"MapBGM_SetPackProperty", MapBGM_SetPackProperty},
    {NULL, NULL},
};

void RegisterMapBGMBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cMapBGMBindings);
}
