#include "world/SpawnManager.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/ProxyTrigger.h"

// The spawn points a script can add; the new point becomes active for the calls that follow.
static const LuaProperty<SpawnManager> cSpawnKinds[] = {
    {"EnemySpawnPoint", 1, nullptr,
     [](lua_State *, SpawnManager *pSpawns, int) {
         EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
         nPoint->SetName("EnemySpawnPoint");
         pSpawns->AddSpawnPoint(nPoint);
         DataLibrary::Fetch()->SetActiveObjectDirect(nPoint);
         return 0;
     }},
    {nullptr, 0, nullptr, nullptr},
};

static int SpawnManager_AddSpawn(lua_State *L)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->PushAndClearActive();
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("SpawnManager_AddSpawn");
    SpawnManager *rSpawns = SpawnManager::Get();
    if(!rSpawns || !rLibrary) return 0;
    return LuaCallProperty(L, "SpawnManager_AddSpawn", cSpawnKinds, rSpawns);
}

static int SpawnManager_AddSpawnAuto(lua_State *L)
{
    if(lua_gettop(L) != 4 || !LuaArgIsString(L, 1) || !LuaArgIsString(L, 2) || !LuaArgsAreNumbers(L, 3, 4))
    {
        return LuaArgListError("SpawnManager_AddSpawnAuto");
    }
    SpawnManager *rSpawns = SpawnManager::Get();
    if(!rSpawns) return 0;
    const char *rPreset = LuaArgString(L, 1, "");
    const char *rName = LuaArgString(L, 2, "");
    EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
    nPoint->SetName(rName);
    if(!rSpawns->ConfigureFromPreset(rPreset, nPoint, rName, LuaArgFloat(L, 3, 0.0f), LuaArgFloat(L, 4, 0.0f)))
    {
        delete nPoint;
        fprintf(stderr, "SpawnManager_AddSpawnAuto:  Error, no preset %s\n", rPreset);
        return 0;
    }
    rSpawns->AddSpawnPoint(nPoint);
    return 0;
}

static int SpawnManager_Clear(lua_State *)
{
    SpawnManager *rSpawns = SpawnManager::Get();
    if(rSpawns) rSpawns->Clear();
    return 0;
}

static const luaL_Reg cSpawnBindings[] = {
    {"SpawnManager_AddSpawn", SpawnManager_AddSpawn},
    {"SpawnManager_AddSpawnAuto", SpawnManager_AddSpawnAuto},
    {"SpawnManager_Clear", SpawnManager_Clear},
    {nullptr, nullptr},
};

void SpawnManager::RegisterLua(lua_State *L)
{
    RegisterLuaFunctions(L, cSpawnBindings);
}
