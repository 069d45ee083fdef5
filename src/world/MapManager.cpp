#include "world/MapManager.h"

#include <GL/gl.h>
#include <allegro5/allegro.h>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/MechSuit.h"
#include "actors/PlayerPony.h"
#include "actors/PlayerPonyTuning.h"
#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/data/CorvelLumpManager.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "core/render/LoadingScreen.h"
#include "interface/GUI.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/Checkpoint.h"
#include "world/DamageZone.h"
#include "world/EntityManager.h"
#include "world/LineArtLevel.h"
#include "world/MapBGM.h"
#include "world/RootEntity.h"
#include "world/SpawnManager.h"
#include "world/TransitionManager.h"

namespace
{
    // Ten swings of the shake over its duration.
    const float cShakeSwing = 62.83185f;

    // The active camera's frame, or the logical view when there is no camera.
    Hitbox ActiveFrame()
    {
        Camera *rCamera = CameraManager::ActiveCamera();
        if(rCamera) return rCamera->GetFrame();
        Hitbox tFrame;
        memset(&tFrame, 0, sizeof(tFrame));
        tFrame.mRgt = (float)CAMERA_VIEW_WIDTH;
        tFrame.mBot = (float)CAMERA_VIEW_HEIGHT;
        return tFrame;
    }

    bool EntityPointTest(void *pContext, int32_t pX, int32_t pY)
    {
        return ((EntityManager *)pContext)->IsPointInsideAny(pX, pY);
    }

    bool EntityBoxTest(void *pContext, IntRect pBox)
    {
        return ((EntityManager *)pContext)->IsAnyPointInside(pBox);
    }

    void SetLoadingSuppress(uint8_t pFlag)
    {
        LoadingScreen *rScreen = GetLoadingScreen();
        if(rScreen) rScreen->SetSuppress(pFlag);
    }

    // A new heap string of the three parts, or null when out of memory.
    char *JoinPath(const char *pA, const char *pB, const char *pC)
    {
        size_t tLength = strlen(pA) + strlen(pB) + strlen(pC) + 1;
        char *nPath = (char *)malloc(tLength);
        if(nPath) snprintf(nPath, tLength, "%s%s%s", pA, pB, pC);
        return nPath;
    }

    // A map with spawn records replaces the spawn points; one without keeps those scripts made.
    // A reload of the same map keeps them too, since its script, which made them, does not run
    // again; they are rearmed, as the enemies they made are about to go. Records the view can
    // never set off are named, since they would otherwise just never come.
    void RenewSpawnPoints(const SpawnRecord *pRecords, int32_t pCount, int32_t pLevelW, int32_t pLevelH, bool pReload)
    {
        SpawnManager *rSpawns = SpawnManager::Get();
        if(!rSpawns) return;
        if(pReload) rSpawns->RearmAll();
        if(!pRecords || pCount < 1) return;
        if(pReload) rSpawns->ClearRecordPoints();
        else rSpawns->Clear();
        rSpawns->AutoSpawn(pCount, pRecords);
        rSpawns->ReportUnreachableRecords(pCount, pRecords, (float)pLevelW, (float)pLevelH);
    }

    void MarkEnemiesForRemoval(EntityManager *pEntities)
    {
        NamedLinkedList *nEnemies = pEntities->ListByType(TYPE_ENEMY);
        if(!nEnemies) return;
        for(void *rData = nEnemies->PushIterator(); rData; rData = nEnemies->IterateNext())
        {
            ((RootEntity *)rData)->SetDestruct(1);
        }
        delete nEnemies;
    }
}

MapManager::MapManager()
    : mMapName(nullptr), mPreviousMapName(nullptr), mZoom(1.0f), mHasLevel(0), mLevel(nullptr), mStartX(0.0f),
      mStartY(0.0f), mStartZ(0.0f), mOverlayOn(0), mShakeActive(0), mShakeMagnitude(0.0f), mShakeTicksLeft(0),
      mShakeDuration(1), mMechX(-1), mMechY(-1), mBackgrounds(new MapBGM()), mSpawnRecords(nullptr),
      mSpawnRecordCount(0), mScriptPath(nullptr)
{
    mOverlayColor[0] = 1.0f;
    mOverlayColor[1] = 1.0f;
    mOverlayColor[2] = 1.0f;
    mOverlayColor[3] = 0.5f;
    for(int32_t i = 0; i < MAP_WARP_ZONE_COUNT; i++)
    {
        mWarpZones[i].mX = 0.0f;
        mWarpZones[i].mY = 0.0f;
        mWarpZones[i].mCameraX = -1.0f;
        mWarpZones[i].mCameraY = -1.0f;
    }
}

MapManager::~MapManager()
{
    free(mMapName);
    free(mPreviousMapName);
    delete mLevel;
    delete mBackgrounds;
    free(mSpawnRecords);
    free(mScriptPath);
}

MapManager *MapManager::Fetch()
{
    return GetApplication()->mMapManager;
}

// ---- Loading -----------------------------------------------------------------------------------

void MapManager::FailLoad(const char *pMessage)
{
    Debug::PopPrint("%s", pMessage);
    // A failed load must not leave the loading screen unable to redraw for the rest of the run.
    SetLoadingSuppress(0);
}

void MapManager::PrepareCamera()
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return;
    rCamera->SetBoundaries(0, 0, CAMERA_VIEW_WIDTH, CAMERA_VIEW_HEIGHT);
    rCamera->SetSize(CAMERA_VIEW_WIDTH, CAMERA_VIEW_HEIGHT);
    rCamera->SetCustomBoundariesFlag(0);
    rCamera->Set2DMode();
}

void MapManager::FitCameraToLevel(int32_t pWidth, int32_t pHeight)
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera || rCamera->HasCustomBoundaries()) return;
    rCamera->SetBoundaries(0, 0, pWidth, pHeight);
}

bool MapManager::LoadMapFile(const char *pName)
{
    if(!pName) return false;
    Debug::PushPrint(1, "[LoadMapFile] Begin\n");
    Debug::Print("Pathname was %s\n", pName);
    SetLoadingSuppress(1);

    // The caller may hand over one of our own names, which the swap below frees.
    char *tName = nullptr;
    ResetString(&tName, pName);
    char *tPath = tName ? JoinPath("Data/Maps/", tName, ".slf") : nullptr;
    if(!tPath)
    {
        free(tName);
        FailLoad("[LoadMapFile] Failed, file i/o error.\n");
        return false;
    }
    Debug::Print("Modified to %s\n", tPath);
    free(mPreviousMapName);
    mPreviousMapName = mMapName;
    mMapName = tName;

    CorvelLumpManager *rLumps = CorvelLumpManager::Fetch();
    if(rLumps) rLumps->Open(tPath);
    free(tPath);
    if(!rLumps || !rLumps->IsOpen())
    {
        FailLoad("[LoadMapFile] Failed, file i/o error.\n");
        return false;
    }

    PrepareCamera();

    int32_t tMapType = rLumps->GetMapType("AMapInfo");
    Debug::Print("Map type was %i\n", tMapType);
    if(tMapType == -1)
    {
        FailLoad("[LoadMapFile] Failed, type was invalid or no MapInfo found.\n");
        return false;
    }

    int32_t tLevelWidth = 0;
    int32_t tLevelHeight = 0;
    if(tMapType == LUMP_MAPTYPE_LINEART)
    {
        Debug::Print("Map was 2D Line Art 2Depth\n");
        LineartLevel *nLevel = GetLineartLevel(rLumps, "AMapInfo");
        if(!nLevel)
        {
            ClearLevel();
            FailLoad("[LoadMapFile] Failed, problem loading level.\n");
            return false;
        }
        SetLevel(nLevel);
        Debug::Print("Precaching level\n");
        if(!LevelPrecache(rLumps, mLevel))
        {
            ClearLevel();
            FailLoad("[LoadMapFile] Failed, problem loading level.\n");
            return false;
        }
        Debug::Print("Storing sizes\n");
        mLevel->GetSize(tLevelWidth, tLevelHeight);
        Debug::Print("Finished 2D Line Art 2Depth\n");
    }
    else
    {
        // Other map types carry no level; the last map's must not stay behind.
        ClearLevel();
    }

    ReadSpawnRecords(rLumps);

    EntityManager *rEntities = EntityManager::Fetch();
    if(rEntities)
    {
        MarkEnemiesForRemoval(rEntities);
        rEntities->ResetAll();
    }
    int32_t tSpawnCount = 0;
    const SpawnRecord *rSpawnRecords = GetSpawnRecords(tSpawnCount);
    const bool tReload = mPreviousMapName && !strcmp(mPreviousMapName, mMapName);
    RenewSpawnPoints(rSpawnRecords, tSpawnCount, tLevelWidth, tLevelHeight, tReload);

    mStartX = MAP_DEFAULT_START;
    mStartY = MAP_DEFAULT_START;

    if(!tReload)
    {
        if(rEntities) rEntities->ResetSpecialLists();
        // Each map places its own mech, if any.
        mMechX = mMechY = -1;
        Debug::Print("Executing Lua\n");
        RunMapScript(mMapName);
        Debug::Print("Complete!\n");
        SpawnManager *rSpawns = SpawnManager::Get();
        if(rSpawns) rSpawns->ReportScriptPointsThatNeverSpawn((float)tLevelWidth, (float)tLevelHeight);
        ReportHarmlessPits(tLevelWidth, tLevelHeight);
    }

    Debug::Print("Setting Camera\n");
    FitCameraToLevel(tLevelWidth, tLevelHeight);
    PlacePlayer(!tReload);
    ReportBlockedPlacement(tLevelWidth, tLevelHeight);
    if(rEntities) rEntities->ResetDoorsAhead();

    Debug::PopPrint("[LoadMapFile] Done\n");
    SetLoadingSuppress(0);
    // A boss of the last map must not keep its bar on screen.
    GUI *rGUI = GetGUI();
    if(rGUI) rGUI->SetBossHealthBarTarget(MAP_BOSS_BAR_NO_TARGET);
    Application *rApp = GetApplication();
    if(rApp->mEventQueue) al_flush_event_queue(rApp->mEventQueue);
    return true;
}

void MapManager::ReadSpawnRecords(CorvelLumpManager *pLumps)
{
    ClearSpawnRecords();
    int32_t tCount = 0;
    mSpawnRecords = pLumps->SpawnDatLump("BSpawnInfo", &tCount);
    mSpawnRecordCount = mSpawnRecords ? tCount : 0;
}

void MapManager::ClearSpawnRecords()
{
    free(mSpawnRecords);
    mSpawnRecords = nullptr;
    mSpawnRecordCount = 0;
}

const SpawnRecord *MapManager::GetSpawnRecords(int32_t &sCount) const
{
    sCount = mSpawnRecordCount;
    return mSpawnRecords;
}

void MapManager::RunMapScript(const char *pName)
{
    Debug::PushPrintTag("Debug_MapManager", "[ExecLua] Begin\n");
    Debug::Print("Pathname was %s\n", pName);
    free(mScriptPath);
    mScriptPath = nullptr;
    const char *cSuffixes[2] = {".lua", "/0Init.lua"};
    for(int32_t i = 0; i < 2 && !mScriptPath; i++)
    {
        char *tPath = JoinPath("Data/Scripts/Maps/", pName, cSuffixes[i]);
        if(!tPath) break;
        Debug::Print("Checking %s\n", tPath);
        if(LuaManager::FileExists(tPath)) mScriptPath = tPath;
        else free(tPath);
    }
    LuaManager *rLua = LuaManager::Fetch();
    if(mScriptPath && rLua)
    {
        Debug::Print("Success!\n");
        rLua->SetArgumentCount(1);
        rLua->AddNumberArgument((float)MAP_SCRIPT_ARGUMENT);
        // Lua's message names the failing line; what it cannot say is that everything the
        // script would have set up after it is missing from the map.
        if(!rLua->LoadFile(mScriptPath))
        {
            ReportMistake("the script did not load (the Lua error above), so none of it ran: the map has no start, "
                          "zones, enemies or backgrounds from it");
        }
        else if(!rLua->Execute())
        {
            ReportMistake("the script stopped at the Lua error above, so the rest of it did not run: what it sets up "
                          "after the failing line is missing from the map");
        }
    }
    if(!mScriptPath)
    {
        Debug::Print("No matching script found in either standard location.\n");
        // A map without its script plays without its start, warps and zones: worth a word even
        // with every trace off.
        Debug::ForcePrint("[LoadMapFile] Warning, no script for map %s: neither Data/Scripts/Maps/%s.lua nor "
                          "Data/Scripts/Maps/%s/0Init.lua exists\n", pName, pName, pName);
    }
    Debug::PopPrint("[ExecLua] Done\n");
}

void MapManager::RunCleanScript()
{
    ClearLevel();
    ClearSpawnRecords();
    if(mMapName)
    {
        char *tPath = JoinPath("Data/Scripts/Maps/", mMapName, " Clean.lua");
        if(tPath)
        {
            Debug::Print("Checking %s\n", tPath);
            if(LuaManager::FileExists(tPath))
            {
                Debug::Print("Exists.  Executing!\n");
                LuaManager *rLua = LuaManager::Fetch();
                if(rLua) rLua->ExecuteFile(tPath);
            }
            free(tPath);
        }
    }
    mBackgrounds->Clear();
    free(mMapName);
    free(mPreviousMapName);
    free(mScriptPath);
    mMapName = nullptr;
    mPreviousMapName = nullptr;
    mScriptPath = nullptr;
}

// ---- Per tick and drawing ----------------------------------------------------------------------

void MapManager::Update()
{
    if(HasLevel())
    {
        Hitbox tFrame = ActiveFrame();
        mLevel->Update(tFrame.mLft, tFrame.mTop, tFrame.mRgt, tFrame.mBot);
    }
    if(mShakeActive)
    {
        mShakeTicksLeft--;
        if(mShakeTicksLeft < 1)
        {
            mShakeMagnitude = 0.0f;
            mShakeActive = 0;
        }
    }
    // The player's movement step may have been switched off for one tick; it runs again.
    EntityManager *rEntities = EntityManager::Fetch();
    if(rEntities && rEntities->GetPlayer()) rEntities->GetPlayer()->Enable();
}

void MapManager::GetShakeOffset(float &sX, float &sY) const
{
    sX = 0.0f;
    sY = 0.0f;
    if(!mShakeActive || mShakeDuration < 1) return;
    sX = sinf(((float)mShakeTicksLeft / (float)mShakeDuration) * cShakeSwing) * mShakeMagnitude;
}

void MapManager::RenderBackgroundPacks()
{
    mBackgrounds->Render(CameraManager::ActiveCamera());
}

void MapManager::Render()
{
    if(HasLevel())
    {
        Hitbox tFrame = ActiveFrame();
        mLevel->Render(tFrame.mLft, tFrame.mTop, tFrame.mRgt, tFrame.mBot);
    }
    if(!mOverlayOn) return;

    glDepthMask(GL_FALSE);
    GLState::BlendByAlphaDroppingClear();
    ColorRGBA tOverlay;
    tOverlay.Set(mOverlayColor[0], mOverlayColor[1], mOverlayColor[2], mOverlayColor[3]);
    ShadeView(tOverlay);
    glDepthMask(GL_TRUE);
    EntityManager *rEntities = EntityManager::Fetch();
    if(rEntities) rEntities->RenderAboveOverlay();
}

// ---- Settings ----------------------------------------------------------------------------------

void MapManager::SetPlayerStart(float pX, float pY, float pZ)
{
    mStartX = pX;
    mStartY = pY;
    mStartZ = pZ;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer)
    {
        rPlayer->SetStartPosition(pX, pY);
        rPlayer->BeginTeleportIn();
    }
    for(int32_t i = 0; i < MAP_WARP_ZONE_COUNT; i++) SetWarpZone(i, pX, pY, -1.0f, -1.0f);
    PlaceMech();
}

// The entity manager owns the mech, so clearing the entities for the menus destroys it and the
// next visit to the map places a new one.
void MapManager::PlaceMech()
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities || mMechX < 0 || mMechY < 0 || rEntities->GetEntity(MECH_ENTITY_NAME)) return;
    MechSuit *nMech = new MechSuit();
    nMech->SetPosition((float)mMechX, (float)mMechY);
    rEntities->RegisterEntity(MECH_ENTITY_NAME, nMech, DeleteRootObject);
}

// After a load: the player stands at its respawn point when it has one, else at the start,
// healed; on entering a map the view starts on her, and the camera goes to the active
// checkpoint's camera place when it names one.
void MapManager::PlacePlayer(bool pEntering)
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!rPlayer) return;
    float tX, tY;
    rPlayer->GetRespawnPosition(tX, tY);
    if(tX != -1.0f && tY != -1.0f)
    {
        mStartX = tX;
        mStartY = tY;
    }
    rPlayer->SetPositionAutoCenter(mStartX, mStartY, mStartZ);
    rPlayer->ResetForMapLoad();

    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return;
    if(pEntering) rCamera->SettleOn(*rPlayer->GetHitboxPtr());
    rPlayer->GetCheckpointLocation(tX, tY);
    if(tX != -1.0f && tY != -1.0f) rCamera->ForceTo(TruncateCoordinate(tX), TruncateCoordinate(tY));
}

// ---- Load-time checks --------------------------------------------------------------------------

void MapManager::ReportMistake(const char *pFormat, ...)
{
    char tText[1024];
    va_list tArgs;
    va_start(tArgs, pFormat);
    vsnprintf(tText, sizeof(tText), pFormat, tArgs);
    va_end(tArgs);
    if(mScriptPath) Debug::ForcePrint("[LoadMapFile] Warning, map %s (%s): %s\n", mMapName, mScriptPath, tText);
    else Debug::ForcePrint("[LoadMapFile] Warning, map %s: %s\n", mMapName, tText);
}

// Outside a level every point is solid, so a box that reaches out of it, or into its solid
// cells, is held on every side: she hangs there and no key moves her.
void MapManager::ReportBlockedPlacement(int32_t pLevelWidth, int32_t pLevelHeight)
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!rPlayer || !HasLevel()) return;
    Hitbox tBox;
    rPlayer->GetHitbox(tBox);
    if(IsBoxFreeInLevel(tBox)) return;
    const float tWidth = tBox.mRgt - tBox.mLft;
    const float tHeight = tBox.mBot - tBox.mTop;
    if((float)pLevelWidth < tWidth || (float)pLevelHeight < tHeight)
    {
        ReportMistake("the level is %i by %i units, too small for her %g by %g box: outside a level everything is solid, "
                      "so she cannot move in it.",
                      (int)pLevelWidth, (int)pLevelHeight, tWidth, tHeight);
        return;
    }
    // Brought back after a death, she stands where her checkpoint said; the author looks there.
    Checkpoint *rCheckpoint = rPlayer->GetActiveCheckpoint();
    char tWhose[300] = "";
    if(rCheckpoint) snprintf(tWhose, sizeof(tWhose), " (checkpoint %s's respawn point)", rCheckpoint->GetName());
    ReportMistake("her box at (%g, %g) to (%g, %g)%s is not free in the %i by %i level (outside it everything is solid), "
                  "so she starts inside solid ground.",
                  tBox.mLft, tBox.mTop, tBox.mRgt, tBox.mBot, tWhose, (int)pLevelWidth, (int)pLevelHeight);
}

Hitbox MapManager::FootBoxAt(float pX, float pY)
{
    return HitboxFromEdges(pX, pY, pX + cFootW, pY + cFootH);
}

bool MapManager::IsBoxFreeInLevel(const Hitbox &pBox) const
{
    if(!HasLevel()) return false;
    int32_t tW = 0, tH = 0;
    mLevel->GetSize(tW, tH);
    // Far out, a box's float edges may fall together and leave no cell to look at; the cells it
    // would cover lie beyond the level all the same.
    const IntRect tCells = TruncateHitbox(pBox);
    if(tCells.mLft < 0 || tCells.mTop < 0 || tCells.mRgt > tW || tCells.mBot > tH) return false;
    ClipWorld tLevel = {mLevel->GetClipMap(), nullptr, nullptr, nullptr};
    return BoxAllFree(tLevel, pBox);
}

// A death pit takes her once her box's top is below the zone's top. Where the ground in the
// pit stops her box higher than that, on foot or in the mech (whose box is taller), she stands
// in the pit unharmed, and nothing else would tell the author.
void MapManager::ReportHarmlessPits(int32_t pLevelWidth, int32_t pLevelHeight)
{
    NamedLinkedList *rZones = EntityManager::FetchSpecialList(DAMAGE_ZONE_LIST_NAME);
    if(!rZones || !HasLevel()) return;
    struct Body
    {
        const char *mWhere;
        const char *mWhose;
        int32_t mW;
        int32_t mH;
    };
    const Body cBodies[2] = {{"on foot", "her", (int32_t)cFootW, (int32_t)cFootH},
                             {"in the mech", "the mech's", (int32_t)MECH_WIDTH, (int32_t)MECH_HEIGHT}};
    const int32_t tBodies = mMechX >= 0 && mMechY >= 0 ? 2 : 1;
    ClipWorld tLevel = {mLevel->GetClipMap(), nullptr, nullptr, nullptr};
    for(void *rData = rZones->PushIterator(); rData; rData = rZones->IterateNext())
    {
        DamageZone *rZone = (DamageZone *)rData;
        if(!rZone->IsDeathPit()) continue;
        // Beyond the level everything is solid: no box reaches there, so the search stops at it.
        const IntRect tPit = TruncateZoneRect(rZone->GetRect());
        for(int32_t i = 0; i < tBodies; i++)
        {
            const Body &rBody = cBodies[i];
            const int32_t tX0 = tPit.mLft - rBody.mW > 0 ? tPit.mLft - rBody.mW : 0;
            const int32_t tX1 = tPit.mRgt < pLevelWidth ? tPit.mRgt : pLevelWidth;
            const int32_t tTop0 = tPit.mTop - rBody.mH > 0 ? tPit.mTop - rBody.mH : 0;
            const int32_t tTop1 = tPit.mBot < pLevelHeight ? tPit.mBot : pLevelHeight;
            const int32_t tLowest = LowestFreeBoxTop(tLevel, tX0, tX1, tTop0, tTop1, rBody.mW, rBody.mH);
            if((float)tLowest > rZone->GetRect().mTop) continue;
            const ZoneRect tRect = rZone->GetRect();
            if(tLowest < tTop0)
            {
                ReportMistake("death pit %s (%g, %g to %g, %g) never kills her %s: %s %i by %i box fits nowhere in it or "
                              "up to %i units above it, so it lies in solid ground.",
                              rZone->GetName(), tRect.mLft, tRect.mTop, tRect.mRgt, tRect.mBot, rBody.mWhere, rBody.mWhose,
                              (int)rBody.mW, (int)rBody.mH, (int)rBody.mH);
            }
            else
            {
                ReportMistake("death pit %s (%g, %g to %g, %g) never kills her %s: it takes her once her box's top is below "
                              "the zone's top (y %g), but the ground in it stops %s %i by %i box with its top at y %i at "
                              "the lowest, so she stands in it unharmed; put the zone's top above %i.",
                              rZone->GetName(), tRect.mLft, tRect.mTop, tRect.mRgt, tRect.mBot, rBody.mWhere, tRect.mTop,
                              rBody.mWhose, (int)rBody.mW, (int)rBody.mH, (int)tLowest, (int)tLowest);
            }
            break;
        }
    }
}

void MapManager::GetPlayerStart(float &sX, float &sY, float &sZ) const
{
    sX = mStartX;
    sY = mStartY;
    sZ = mStartZ;
}

void MapManager::SetWarpZone(int32_t pIndex, float pX, float pY, float pCameraX, float pCameraY)
{
    if(pIndex < 0 || pIndex >= MAP_WARP_ZONE_COUNT) return;
    mWarpZones[pIndex].mX = pX;
    mWarpZones[pIndex].mY = pY;
    mWarpZones[pIndex].mCameraX = pCameraX;
    mWarpZones[pIndex].mCameraY = pCameraY;
}

void MapManager::RunHotkey(int32_t pIndex)
{
    if(pIndex < 0 || pIndex >= MAP_WARP_ZONE_COUNT) return;
    const MapWarpZone &rZone = mWarpZones[pIndex];
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer)
    {
        rPlayer->SetPositionAutoCenter(rZone.mX, rZone.mY, 0.0f);
        rPlayer->ResetForMapLoad();
    }

    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return;
    if(rZone.mCameraX == -1.0f || rZone.mCameraY == -1.0f)
    {
        rCamera->ForceTo(TruncateCoordinate(rZone.mX - CAMERA_VIEW_WIDTH / 2.0f),
                         TruncateCoordinate(rZone.mY - CAMERA_VIEW_HEIGHT / 2.0f));
    }
    else
    {
        rCamera->ForceTo(TruncateCoordinate(rZone.mCameraX), TruncateCoordinate(rZone.mCameraY));
    }
    PlaceMech();
}

MapWarpZone MapManager::GetWarpZone(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= MAP_WARP_ZONE_COUNT)
    {
        MapWarpZone tNone = {0.0f, 0.0f, -1.0f, -1.0f};
        return tNone;
    }
    return mWarpZones[pIndex];
}

void MapManager::StartWarpTransition()
{
    TransitionManager *rTransitions = TransitionManager::Get();
    if(rTransitions) rTransitions->BeginMapTransition(mMapName, 1.0f / 30.0f, 0.0f);
}

void MapManager::SetOverlayColor(float pR, float pG, float pB, float pA)
{
    mOverlayColor[0] = pR;
    mOverlayColor[1] = pG;
    mOverlayColor[2] = pB;
    mOverlayColor[3] = pA;
    mOverlayOn = pA > 0.0f ? 1 : 0;
}

void MapManager::SetMechLocation(int32_t pX, int32_t pY)
{
    mMechX = pX;
    mMechY = pY;
}

void MapManager::GetMechLocation(int32_t &sX, int32_t &sY) const
{
    sX = mMechX;
    sY = mMechY;
}

void MapManager::Shake(float pMagnitude, int32_t pTicks)
{
    if(!(pMagnitude > 0.0f) || pTicks < 1) return;
    mShakeActive = 1;
    mShakeMagnitude = pMagnitude;
    mShakeTicksLeft = pTicks;
    mShakeDuration = pTicks;
}

void MapManager::SetLevel(LineartLevel *pLevel)
{
    if(!pLevel) return;
    if(pLevel != mLevel) delete mLevel;
    mLevel = pLevel;
    mHasLevel = 1;
}

void MapManager::ClearLevel()
{
    delete mLevel;
    mLevel = nullptr;
    mHasLevel = 0;
}

void MapManager::SetZoom(float pZoom)
{
    if(!(pZoom >= MAP_ZOOM_MIN)) pZoom = MAP_ZOOM_MIN;
    if(pZoom > MAP_ZOOM_MAX) pZoom = MAP_ZOOM_MAX;
    mZoom = pZoom;
}

// ---- Clip queries ------------------------------------------------------------------------------

ClipWorld MapManager::CurrentClipWorld()
{
    MapManager *rMaps = Fetch();
    if(rMaps) return rMaps->GetClipWorld();
    ClipWorld tWorld = {nullptr, nullptr, nullptr, nullptr};
    return tWorld;
}

ClipWorld MapManager::GetClipWorld() const
{
    ClipWorld tWorld;
    tWorld.rLevel = HasLevel() ? mLevel->GetClipMap() : nullptr;
    EntityManager *rEntities = EntityManager::Fetch();
    tWorld.rEntityTest = rEntities ? EntityPointTest : nullptr;
    tWorld.rEntityContext = rEntities;
    tWorld.rEntityBoxTest = rEntities ? EntityBoxTest : nullptr;
    return tWorld;
}

bool MapManager::IsClipped(int32_t pX, int32_t pY) const
{
    return ::IsClipped(GetClipWorld(), pX, pY);
}
