#include "world/Checkpoint.h"

#include <cstdio>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"

// The active checkpoint; otherwise the type reporter speaks for the binding and gives null.
static Checkpoint *FetchActiveCheckpoint(const char *pBindingName)
{
    Checkpoint *rActive = FetchActiveAs<Checkpoint>(TYPE_CHECKPOINT);
    if(!rActive) LuaActiveObjectTypeError(pBindingName);
    return rActive;
}

// Checkpoint_Create(name, x, y, w, h): the checkpoint becomes active with the old active
// object pushed, so the map script pops it afterwards.
static int Checkpoint_Create(lua_State *L)
{
    if(lua_gettop(L) < 5 || !LuaArgsAreNumbers(L, 2, 5))
    {
        return LuaArgListError("Checkpoint_Create");
    }
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return 0;

    Checkpoint *nCheckpoint = new Checkpoint(LuaArgString(L, 1, nullptr));
    float tX = (float)LuaArgNumber(L, 2, 0.0);
    float tY = (float)LuaArgNumber(L, 3, 0.0);
    nCheckpoint->SetRect(tX, tY, tX + (float)LuaArgNumber(L, 4, 0.0), tY + (float)LuaArgNumber(L, 5, 0.0));
    if(!RegisterZone(CHECKPOINT_LIST_NAME, nCheckpoint)) return 0;
    rLibrary->PushActiveEntity(nCheckpoint);
    return 0;
}

// A respawn point where her box is not free brings her back stuck after a death there, long
// after the script ran; the line that gave the point is named while it runs.
static void ReportTrappingRespawn(lua_State *L, Checkpoint *pCheckpoint)
{
    MapManager *rMaps = MapManager::Fetch();
    if(!rMaps || !rMaps->HasLevel()) return;
    float tX, tY;
    pCheckpoint->GetRespawnLocation(tX, tY);
    const Hitbox tBox = MapManager::FootBoxAt(tX, tY);
    if(rMaps->IsBoxFreeInLevel(tBox)) return;
    int32_t tW = 0, tH = 0;
    rMaps->GetLevel()->GetSize(tW, tH);
    char tPlace[600];
    LuaCallerPlace(L, tPlace, sizeof(tPlace));
    fprintf(stderr,
            "Checkpoint_SetProperty: %s: checkpoint %s's respawn point (%g, %g) puts her box at (%g, %g) to (%g, %g), "
            "which is not free in the %i by %i map (outside it everything is solid), so a death after touching it "
            "brings her back stuck; give the top-left of a place where her %g by %g box is clear\n",
            tPlace, pCheckpoint->GetName(), tX, tY, tBox.mLft, tBox.mTop, tBox.mRgt, tBox.mBot, (int)tW, (int)tH,
            tBox.mRgt - tBox.mLft, tBox.mBot - tBox.mTop);
}

static const LuaProperty<Checkpoint> cCheckpointGetters[] = {
    {"IsActivated", 1, nullptr, [](lua_State *L, Checkpoint *p, int) { lua_pushboolean(L, p->IsActivated()); return 1; }},
    {nullptr, 0, nullptr, nullptr},
};

static const LuaProperty<Checkpoint> cCheckpointSetters[] = {
    {"Respawn Location", 3, nullptr,
     [](lua_State *L, Checkpoint *p, int) {
         const float tX = LuaArgFloat(L, 2, 0.0f), tY = LuaArgFloat(L, 3, 0.0f);
         p->SetRespawnLocation(tX, tY);
         // A refused point has been named already and changed nothing.
         if(tX >= 0.0f && tY >= 0.0f) ReportTrappingRespawn(L, p);
         return 0;
     }},
    {"Camera", 3, nullptr,
     [](lua_State *L, Checkpoint *p, int) { p->SetCameraLocation(LuaArgFloat(L, 2, 0.0f), LuaArgFloat(L, 3, 0.0f)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

static int Checkpoint_GetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListErrorNil("Checkpoint_GetProperty", L);
    Checkpoint *rCheckpoint = FetchActiveCheckpoint("Checkpoint_GetProperty");
    if(!rCheckpoint) return LuaPushNil(L);
    return LuaCallPropertyOrNil(L, "Checkpoint_GetProperty", cCheckpointGetters, rCheckpoint);
}

static int Checkpoint_SetProperty(lua_State *L)
{
    if(!LuaArgIsString(L, 1)) return LuaArgListError("Checkpoint_SetProperty");
    Checkpoint *rCheckpoint = FetchActiveCheckpoint("Checkpoint_SetProperty");
    if(!rCheckpoint) return 0;
    return LuaCallProperty(L, "Checkpoint_SetProperty", cCheckpointSetters, rCheckpoint);
}

static int Checkpoint_Activate(lua_State *)
{
    Checkpoint *rCheckpoint = FetchActiveCheckpoint("Checkpoint_Activate");
    if(!rCheckpoint) return 0;
    rCheckpoint->Activate();
    return 0;
}

static const luaL_Reg cCheckpointBindings[] = {
    {"Checkpoint_Create", Checkpoint_Create},
    {"Checkpoint_GetProperty", Checkpoint_GetProperty},
    {"Checkpoint_SetProperty", Checkpoint_SetProperty},
    {"Checkpoint_Activate", Checkpoint_Activate},
    {nullptr, nullptr},
};

void RegisterCheckpointLua(lua_State *L)
{
    RegisterLuaFunctions(L, cCheckpointBindings);
}
