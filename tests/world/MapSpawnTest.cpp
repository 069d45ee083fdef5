#include "actors/Enemy.h"
#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/DataList.h"
#include "core/LuaManager.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpWriter.h"
#include "core/render/LoadingScreen.h"
#include "support/SavedApplication.h"
#include "support/ScratchFolder.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/Checkpoint.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "world/ProxyTrigger.h"
#include "world/SpawnManager.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

void RegisterLuaBindings(lua_State *L);

// Map loading with the world booted: the spawn lump's records become spawn points, replacing
// the old ones (a map without records keeps the points scripts made), and what the map script
// made is checked for the mistakes that would otherwise pass without a word.
class MapSpawnTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.IsMade());
        ASSERT_NE(nullptr, getcwd(mPrevious, sizeof(mPrevious)));
        ASSERT_EQ(0, chdir(mFolder.Path().c_str()));
        mkdir("Data", 0755);
        mkdir("Data/Maps", 0755);
        Application *rApp = GetApplication();
        mSaved.Save();
        rApp->mLuaManager = new LuaManager();
        RegisterLuaBindings(LuaManager::Fetch()->GetState());
        rApp->mLumpManager = new CorvelLumpManager();
        rApp->mCameraManager = new CameraManager();
        rApp->mMapManager = new MapManager();
        rApp->mLoadingScreen = new LoadingScreen();
        rApp->mDataLibrary = new DataLibrary();
        rApp->mEntityManager = new EntityManager();
        EntityManager::Fetch()->CreateSpecialLists();
        rApp->mSpawnManager = new SpawnManager();
        EnemyPresets::Build(SpawnManager::Get());
        rApp->mEventQueue = nullptr;
        rApp->mGUI = nullptr;
    }

    void TearDown() override
    {
        Application *rApp = GetApplication();
        delete rApp->mMapManager;
        delete rApp->mEntityManager;
        delete rApp->mSpawnManager;
        delete rApp->mCameraManager;
        delete rApp->mLumpManager;
        delete rApp->mLuaManager;
        delete rApp->mLoadingScreen;
        delete rApp->mDataLibrary;
        mSaved.Restore();
        EXPECT_EQ(0, chdir(mPrevious));
        EXPECT_TRUE(mFolder.Remove());
    }

    // A map of one 16-unit chunk, with the given spawn records when there are any.
    static void WriteMap(const char *pName, uint32_t pCount, const SpawnRecord *pRecords)
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo = LineArtMapInfo(1, 1, 16, 16, "IA", "IB", "CL", "Spawns");
        tWriter.AddMapInfo("AMapInfo", &tInfo);
        uint8_t tCells[16 * 16] = {};
        tWriter.AddClip("CL000000", 16, 16, tCells);
        if(pCount) tWriter.AddSpawns("BSpawnInfo", pCount, pRecords);
        std::string tPath = std::string("Data/Maps/") + pName + ".slf";
        ASSERT_TRUE(tWriter.WriteToFile(tPath.c_str()));
    }

    // A 128-unit square map under the given script: a floor from y 112 down to the bottom edge,
    // but for a pit from x 48 to 80, open down to the edge.
    static void WriteLevelMap(const char *pName, const char *pScript)
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo = LineArtMapInfo(1, 1, 128, 128, "IA", "IB", "CL", "Checks");
        tWriter.AddMapInfo("AMapInfo", &tInfo);
        static uint8_t tCells[128 * 128];
        for(int32_t y = 0; y < 128; y++)
        {
            for(int32_t x = 0; x < 128; x++) tCells[y * 128 + x] = y >= 112 && (x < 48 || x >= 80) ? 1 : 0;
        }
        tWriter.AddClip("CL000000", 128, 128, tCells);
        std::string tPath = std::string("Data/Maps/") + pName + ".slf";
        ASSERT_TRUE(tWriter.WriteToFile(tPath.c_str()));
        mkdir("Data/Scripts", 0755);
        mkdir("Data/Scripts/Maps", 0755);
        tPath = std::string("Data/Scripts/Maps/") + pName + ".lua";
        FILE *fScript = fopen(tPath.c_str(), "w");
        ASSERT_NE(fScript, nullptr);
        fputs(pScript, fScript);
        fclose(fScript);
    }

    static std::string LoadReporting(const char *pName)
    {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(MapManager::Fetch()->LoadMapFile(pName));
        return CapturedStderr();
    }

    ScratchFolder mFolder{"spawnmaps"};
    char mPrevious[PATH_MAX];
    SavedApplication mSaved;
};

TEST_F(MapSpawnTest, SpawnRecordsReplaceTheSpawnPointsAndMapsWithoutThemKeepThem)
{
    SpawnRecord tRecords[3];
    memset(tRecords, 0, sizeof(tRecords));
    snprintf(tRecords[0].mName, sizeof(tRecords[0].mName), "Bat");
    tRecords[0].mX = 100;
    tRecords[0].mY = 40;
    snprintf(tRecords[1].mName, sizeof(tRecords[1].mName), "NoSuchKind");
    snprintf(tRecords[2].mName, sizeof(tRecords[2].mName), "GreatBlight");
    WriteMap("WithSpawns", 3, tRecords);
    WriteMap("WithoutSpawns", 0, nullptr);
    SpawnManager *rSpawns = SpawnManager::Get();

    // A point made by a script before the load goes; the records' two valid presets come.
    ASSERT_TRUE(LuaManager::Fetch()->RunChunkText("SpawnManager_AddSpawnAuto('Tick', 'Scripted', 5, 6)"));
    LuaManager::Fetch()->Execute();
    EXPECT_EQ(rSpawns->GetSpawnPointCount(), 1);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(MapManager::Fetch()->LoadMapFile("WithSpawns"));
    std::string tErr = CapturedStderr();
    EXPECT_NE(tErr.find("SpawnManager: Error processing NoSuchKind to AutoSpawn01\n"), std::string::npos);
    // The map is smaller than the view, which never moves: no band ever crosses the bat.
    EXPECT_NE(tErr.find("SpawnManager: AutoSpawn00 (Bat at 100, 40) will never spawn: in a 16 by 16 map"), std::string::npos);
    ASSERT_EQ(rSpawns->GetSpawnPointCount(), 2);
    RootEntity *rFirst = (RootEntity *)rSpawns->GetSpawnPoints()->GetElementByIndex(0);
    EXPECT_STREQ(rFirst->GetName(), "AutoSpawn00");
    EXPECT_STREQ(ReadDataString(rFirst->GetData(), "EnemyName"), "AutoSpawn00");
    float tX = 0.0f;
    EXPECT_TRUE(ReadDataNumber(rFirst->GetData(), "SpawnPositionX", tX));
    EXPECT_EQ(tX, 100.0f);
    EXPECT_STREQ(((RootEntity *)rSpawns->GetSpawnPoints()->GetElementByIndex(1))->GetName(), "AutoSpawn02");

    // A map without records keeps what is there.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(MapManager::Fetch()->LoadMapFile("WithoutSpawns"));
    CapturedStderr();
    EXPECT_EQ(rSpawns->GetSpawnPointCount(), 2);
}

// A death reloads the map she is on without running its script again: the points that script
// built by hand stay, beside the records' points made anew, rearmed as the reload takes their
// enemies away (a wait begun by an enemy's death is over too); the load-time check of them (here a point without "CanRespawn") runs once,
// when the map is entered.
TEST_F(MapSpawnTest, AReloadKeepsThePointsTheMapScriptMade)
{
    SpawnRecord tRecord = {};
    snprintf(tRecord.mName, sizeof(tRecord.mName), "Bat");
    tRecord.mX = 500;
    tRecord.mY = 40;
    WriteMap("Cave", 1, &tRecord);
    mkdir("Data/Scripts", 0755);
    mkdir("Data/Scripts/Maps", 0755);
    FILE *fScript = fopen("Data/Scripts/Maps/Cave.lua", "w");
    ASSERT_NE(fScript, nullptr);
    fputs("SpawnManager_AddSpawn('EnemySpawnPoint')\n"
          "PTrigger_SetProperty('Hitbox', 500, 100, 523, 123)\n"
          "RE_DefineData('EnemyName', 'S', 'CaveTank')\n"
          "RE_DefineData('PathToConstructorScript', 'S', 'Tank.lua')\n"
          "RE_DefineData('SpawnPositionX', 'N', 500)\n"
          "RE_DefineData('SpawnPositionY', 'N', 100)\n"
          "DL_PopActiveEntity()\n"
          "SpawnManager_AddSpawnAuto('Tick', 'CaveTick', 500, 200)\n",
          fScript);
    fclose(fScript);
    SpawnManager *rSpawns = GetApplication()->mSpawnManager;
    MapManager *rMaps = GetApplication()->mMapManager;
    const char *cForgot = "SpawnManager: EnemySpawnPoint (CaveTank) spawns nothing until it has the number entry \"CanRespawn\"\n";

    testing::internal::CaptureStderr();
    EXPECT_TRUE(rMaps->LoadMapFile("Cave"));
    EXPECT_NE(CapturedStderr().find(cForgot), std::string::npos);
    ASSERT_EQ(rSpawns->GetSpawnPointCount(), 3);
    void *rTank = rSpawns->GetSpawnPoints()->GetElementByIndex(1);
    void *rTick = rSpawns->GetSpawnPoints()->GetElementByIndex(2);

    for(int32_t tDeath = 0; tDeath < 2; tDeath++)
    {
        // Latched, as when its enemy came into the view she died in.
        DataList *rTankData = ((RootEntity *)rTank)->GetData();
        SetDataNumber(rTankData, "IsActivated", 1.0f);
        SetDataNumber(rTankData, "HasSpawned", 1.0f);
        // Its enemy had died just before her: the wait before it may come again had begun.
        SetDataNumber(rTankData, "RespawnTimer", ENEMY_RESPAWN_TICKS);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(rMaps->LoadMapFile("Cave"));
        EXPECT_EQ(CapturedStderr().find(cForgot), std::string::npos);
        ASSERT_EQ(rSpawns->GetSpawnPointCount(), 3);
        EXPECT_TRUE(rSpawns->GetSpawnPoints()->ContainsData(rTank));
        EXPECT_TRUE(rSpawns->GetSpawnPoints()->ContainsData(rTick));
        EXPECT_NE(rSpawns->GetSpawnPoints()->GetElementByName("AutoSpawn00"), nullptr);
        float tLatch = -1.0f, tSpawned = -1.0f, tTimer = -1.0f;
        EXPECT_TRUE(ReadDataNumber(rTankData, "IsActivated", tLatch));
        EXPECT_TRUE(ReadDataNumber(rTankData, "HasSpawned", tSpawned));
        EXPECT_TRUE(ReadDataNumber(rTankData, "RespawnTimer", tTimer));
        EXPECT_EQ(tLatch, 0.0f);
        EXPECT_EQ(tSpawned, 0.0f);
        EXPECT_EQ(tTimer, 0.0f);
    }
}

// She starts where the map script puts her box's top-left; a start whose box holds a solid cell
// of the level is named with the box, one whose box is free says nothing.
TEST_F(MapSpawnTest, MapLoadingNamesAStartWhoseBoxIsNotFree)
{
    EntityManager::Fetch()->CreatePlayer();
    WriteLevelMap("Sunk", "MapM_SetPlayerStart(10, 100, 0)\n");
    WriteLevelMap("Clear", "MapM_SetPlayerStart(10, 60, 0)\n");
    EXPECT_NE(LoadReporting("Sunk").find("[LoadMapFile] Warning, map Sunk (Data/Scripts/Maps/Sunk.lua): her box at (10, 100) "
                                         "to (29, 152) is not free in the 128 by 128 level"),
              std::string::npos);
    EXPECT_EQ(LoadReporting("Clear").find("Warning"), std::string::npos);

    // Too narrow for her box though tall enough, or the other way round: the level is too small,
    // and no start within it would help.
    struct Size
    {
        const char *mMap;
        uint16_t mW;
        uint16_t mH;
    };
    const Size cSizes[] = {{"Narrow", 16, 256}, {"Low", 256, 32}};
    for(const Size &rSize : cSizes)
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo = LineArtMapInfo(1, 1, rSize.mW, rSize.mH, "IA", "IB", "CL", "Small");
        tWriter.AddMapInfo("AMapInfo", &tInfo);
        std::string tCells((size_t)rSize.mW * rSize.mH, '\0');
        tWriter.AddClip("CL000000", rSize.mW, rSize.mH, (const uint8_t *)tCells.data());
        ASSERT_TRUE(tWriter.WriteToFile((std::string("Data/Maps/") + rSize.mMap + ".slf").c_str()));
        const std::string tErr = LoadReporting(rSize.mMap);
        EXPECT_NE(tErr.find("the level is " + std::to_string(rSize.mW) + " by " + std::to_string(rSize.mH) +
                            " units, too small for her 19 by 52 box"),
                  std::string::npos)
            << tErr;
        EXPECT_EQ(tErr.find("inside solid ground"), std::string::npos) << tErr;
    }
}

// A respawn point where her box is not free (in the floor, or reaching past the map's edge)
// is named by the line of the map script that gave it, also through a helper of another file;
// once she has touched such a checkpoint and died, the reload's placement line names it too.
TEST_F(MapSpawnTest, ACheckpointWhoseRespawnTrapsHerIsNamedWhereTheScriptGivesIt)
{
    EntityManager::Fetch()->CreatePlayer();
    PlayerPony *rPlayer = PlayerPony::Get();
    WriteLevelMap("Traps", "MapM_SetPlayerStart(10, 60, 0)\n"
                           "Checkpoint_Create('Sunk', 0, 0, 40, 112)\n"
                           "Checkpoint_SetProperty('Respawn Location', 10, 100)\n"
                           "DL_PopActiveEntity()\n"
                           "LM_ExecuteScript('Data/Scripts/Helper.lua')\n"
                           "Checkpoint_Create('Edge', 100, 0, 28, 112)\n"
                           "fnRespawnAt(110, 60)\n"
                           "fnRespawnAt(100, 60)\n"
                           "DL_PopActiveEntity()\n");
    FILE *fHelper = fopen("Data/Scripts/Helper.lua", "w");
    ASSERT_NE(fHelper, nullptr);
    fputs("function fnRespawnAt(fX, fY)\n    Checkpoint_SetProperty('Respawn Location', fX, fY)\nend\n", fHelper);
    fclose(fHelper);
    const std::string tErr = LoadReporting("Traps");
    EXPECT_NE(tErr.find("Checkpoint_SetProperty: Data/Scripts/Maps/Traps.lua:3: checkpoint Sunk's respawn point (10, 100) "
                        "puts her box at (10, 100) to (29, 152), which is not free in the 128 by 128 map"),
              std::string::npos)
        << tErr;
    EXPECT_NE(tErr.find("Checkpoint_SetProperty: Data/Scripts/Maps/Traps.lua:7 (through Data/Scripts/Helper.lua:2): "
                        "checkpoint Edge's respawn point (110, 60) puts her box at (110, 60) to (129, 112)"),
              std::string::npos)
        << tErr;
    EXPECT_EQ(tErr.find("Traps.lua:8"), std::string::npos) << tErr;

    // She stands in Sunk from the start: once her teleport-in is over she touches it.
    for(int32_t i = 0; i < 182 && !rPlayer->GetActiveCheckpoint(); i++) rPlayer->Update();
    ASSERT_NE(rPlayer->GetActiveCheckpoint(), nullptr);
    EXPECT_STREQ(rPlayer->GetActiveCheckpoint()->GetName(), "Sunk");
    rPlayer->Respawn();
    EXPECT_NE(LoadReporting("Traps").find("(Data/Scripts/Maps/Traps.lua): her box at (10, 100) to (29, 152) (checkpoint Sunk's "
                                          "respawn point) is not free in the 128 by 128 level"),
              std::string::npos);
}

// A death pit takes her once her box's top is below the zone's top: one whose top lies below
// where the pit's floor stops her box, or the mech's when the map places one, is named.
TEST_F(MapSpawnTest, MapLoadingNamesADeathPitHerBoxOrTheMechsCannotSinkInto)
{
    EntityManager::Fetch()->CreatePlayer();
    const char *cScript = "MapM_SetPlayerStart(10, 60, 0)\n"
                          "DamageZone_Create('Pit')\n"
                          "DamageZone_SetProperty('Rectangle', 48, %d, 80, 128)\n"
                          "DamageZone_SetProperty('IsDeathPit', true)\n"
                          "DL_PopActiveEntity()\n%s";
    struct Case
    {
        const char *mMap;
        int mTop;
        const char *mMech;
        const char *mNamed;
    };
    // On the pit's floor (the bottom edge, y 128) her box's top is at 76, the mech's at 61.
    const Case cCases[] = {
        {"Shallow", 110, "", "never kills her on foot: it takes her once her box's top is below the zone's top (y 110), but "
                             "the ground in it stops her 19 by 52 box with its top at y 76 at the lowest"},
        {"Deep", 75, "", nullptr},
        {"MechShallow", 70, "MapM_SetZererozezLocation(90, 40)\n", "never kills her in the mech: it takes her once her box's "
                                                                    "top is below the zone's top (y 70), but the ground in it "
                                                                    "stops the mech's 30 by 67 box with its top at y 61"},
        {"MechDeep", 60, "MapM_SetZererozezLocation(90, 40)\n", nullptr},
    };
    for(const Case &rCase : cCases)
    {
        char tScript[512];
        snprintf(tScript, sizeof(tScript), cScript, rCase.mTop, rCase.mMech);
        WriteLevelMap(rCase.mMap, tScript);
        std::string tErr = LoadReporting(rCase.mMap);
        if(rCase.mNamed)
        {
            EXPECT_NE(tErr.find(std::string("[LoadMapFile] Warning, map ") + rCase.mMap + " (Data/Scripts/Maps/" + rCase.mMap +
                                ".lua): death pit Pit (48, " + std::to_string(rCase.mTop) + " to 80, 128) " + rCase.mNamed),
                      std::string::npos)
                << tErr;
        }
        else
        {
            EXPECT_EQ(tErr.find("Warning"), std::string::npos) << rCase.mMap << ": " << tErr;
        }
    }
}

// A map entered after another starts with the view on her, not where the last map left it: an
// enemy its script places beside her start is still there after the first tick, before the
// camera's own update has moved.
TEST_F(MapSpawnTest, AnEnemyBesideHerStartOutlivesTheFirstTickAfterAnotherMap)
{
    EntityManager::Fetch()->CreatePlayer();
    WriteLevelMap("Yard", "MapM_SetPlayerStart(10, 60, 0)\n"
                          "Enemy_Create('Beside', 'Beside.lua')\n"
                          "DL_PopActiveEntity()\n");
    FILE *fScript = fopen("Beside.lua", "w");
    ASSERT_NE(fScript, nullptr);
    fputs("Enemy_SetProperty('BoundingBoxSize', 16, 16)\n"
          "Enemy_SetProperty('Position', 60, 96)\n"
          "Enemy_SetProperty('PathToLogicScript', 'Idle.lua')\n",
          fScript);
    fclose(fScript);
    fScript = fopen("Idle.lua", "w");
    ASSERT_NE(fScript, nullptr);
    fclose(fScript);
    CameraManager::ActiveCamera()->SetPosition(1500.0f, 400.0f);

    LoadReporting("Yard");
    EntityManager::Fetch()->Update();
    EXPECT_NE(EntityManager::Fetch()->GetEntity("Beside"), nullptr);
}
