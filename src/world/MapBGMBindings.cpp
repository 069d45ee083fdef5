#include "world/MapBGM.h"

#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/MapManager.h"

// The active background pack; otherwise the type reporter speaks for the binding and gives null.
static BackgroundPack *FetchActivePack(const char *pBindingName)
{
    BackgroundPack *rActive = FetchActiveAs<BackgroundPack>();
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
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
    rMap->GetBackgrounds()->AddPack(LuaArgString(L, 1, nullptr), nPack);
    rLibrary->SetActiveObjectDirect(nPack);
    return 0;
}

static const LuaProperty<BackgroundPack> cPackSetters[] = {
    {"Activate", 1, nullptr, [](lua_State *, BackgroundPack *p, int) { p->Activate(); return 0; }},
    {"Dimensions", 5, "NNNN",
     [](lua_State *L, BackgroundPack *p, int) {
         p->mLft = LuaArgCoordinate(L, 2);
         p->mTop = LuaArgCoordinate(L, 3);
         p->mRgt = LuaArgCoordinate(L, 4);
         p->mBot = LuaArgCoordinate(L, 5);
         return 0;
     }},
    {"Image", 2, nullptr,
     [](lua_State *L, BackgroundPack *p, int) {
         char tCaller[640] = "MapBGM_SetPackProperty: ";
         const size_t tLead = strlen(tCaller);
         LuaCallerPlace(L, tCaller + tLead, sizeof(tCaller) - tLead);
         p->SetImage(LuaArgString(L, 2, nullptr), tCaller);
         return 0;
     }},
    {"Depth", 2, "N", [](lua_State *L, BackgroundPack *p, int) { p->mDepth = LuaArgCoordinate(L, 2); return 0; }},
    {"Appearances", 3, "NN",
     [](lua_State *L, BackgroundPack *p, int) { p->SetAppearances(LuaArgCoordinate(L, 2), LuaArgCoordinate(L, 3)); return 0; }},
    {"ForceScroll", 3, nullptr,
     [](lua_State *L, BackgroundPack *p, int) {
         p->mForceScrollX = LuaArgFlag(L, 2);
         p->mForceScrollY = LuaArgFlag(L, 3);
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

// Keys with other argument counts, and unknown keys, are ignored without a word: map scripts
// of older content pass keys this engine no longer knows.
static int MapBGM_SetPackProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("MapBGM_SetPackProperty");
    BackgroundPack *rPack = FetchActivePack("MapBGM_SetPackProperty");
    if(!rPack) return 0;
    return LuaCallProperty(L, "MapBGM_SetPackProperty", cPackSetters, rPack, nullptr);
}

static const luaL_Reg cMapBGMBindings[] = {
    {"MapBGM_CreatePack", MapBGM_CreatePack},
    {"MapBGM_SetPackProperty", MapBGM_SetPackProperty},
    {nullptr, nullptr},
};

void RegisterMapBGMLua(lua_State *L)
{
    RegisterLuaFunctions(L, cMapBGMBindings);
}
