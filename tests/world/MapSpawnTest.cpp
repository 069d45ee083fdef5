#include "core/Application.h"
#include "core/DataList.h"
#include "core/LuaManager.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpWriter.h"
#include "core/render/LoadingScreen.h"
#include "support/SavedApplication.h"
#include "support/ScratchFolder.h"
#include "world/CameraManager.h"
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

// Map loading turns the spawn lump's records into spawn points, replacing the old ones; a
// map without records keeps the points scripts made.
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
// enemies away; the load-time check of them (here a point without "CanRespawn") runs once,
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
        testing::internal::CaptureStderr();
        EXPECT_TRUE(rMaps->LoadMapFile("Cave"));
        EXPECT_EQ(CapturedStderr().find(cForgot), std::string::npos);
        ASSERT_EQ(rSpawns->GetSpawnPointCount(), 3);
        EXPECT_TRUE(rSpawns->GetSpawnPoints()->ContainsData(rTank));
        EXPECT_TRUE(rSpawns->GetSpawnPoints()->ContainsData(rTick));
        EXPECT_NE(rSpawns->GetSpawnPoints()->GetElementByName("AutoSpawn00"), nullptr);
        float tLatch = -1.0f, tSpawned = -1.0f;
        EXPECT_TRUE(ReadDataNumber(rTankData, "IsActivated", tLatch));
        EXPECT_TRUE(ReadDataNumber(rTankData, "HasSpawned", tSpawned));
        EXPECT_EQ(tLatch, 0.0f);
        EXPECT_EQ(tSpawned, 0.0f);
    }
}
