#include "support/EnemyWorld.h"

#include "core/data/LumpRecords.h"
#include "world/Camera.h"

using SpawnManagerTest = EnemyWorld;

namespace
{
    EnemySpawnTrigger *MakePoint(const char *pEnemy, float pX, float pY, bool pCanRespawnEntry, float pCanRespawn, const std::string &pCtor)
    {
        EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
        nPoint->SetName("Point");
        DataList *rData = nPoint->GetData();
        SetDataString(rData, "EnemyName", pEnemy);
        SetDataString(rData, "PathToConstructorScript", pCtor.c_str());
        SetDataNumber(rData, "SpawnPositionX", pX);
        SetDataNumber(rData, "SpawnPositionY", pY);
        if(pCanRespawnEntry) SetDataNumber(rData, "CanRespawn", pCanRespawn);
        nPoint->SetRect(pX, pY, pX + 20.0f, pY + 20.0f);
        SpawnManager::Get()->AddSpawnPoint(nPoint);
        return nPoint;
    }

    void MoveCamera(float pLft)
    {
        CameraManager::Fetch()->GetActiveCamera()->ForceTo((int32_t)pLft, 0);
    }
}

TEST_F(SpawnManagerTest, PresetsConfigurePointsAndAutoSpawnNamesThem)
{
    SpawnManager *rSpawns = SpawnManager::Get();
    EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
    ASSERT_TRUE(rSpawns->ConfigureFromPreset("Bat", nPoint, "Bat1", 10.0f, 20.0f));
    ZoneRect tRect = nPoint->GetRect();
    EXPECT_EQ(tRect.mRgt - tRect.mLft, 40.0f);
    EXPECT_EQ(tRect.mBot - tRect.mTop, 40.0f);
    EXPECT_STREQ(ReadDataString(nPoint->GetData(), "PathToConstructorScript"), "Data/Scripts/Enemies/Bat/CConstructor.lua");
    EXPECT_FALSE(rSpawns->ConfigureFromPreset("bat", nPoint, "Bat1", 10.0f, 20.0f));
    delete nPoint;
    EXPECT_STREQ(rSpawns->FindPreset("StalactiteBaseB")->mConstructorPath,
                 "Data/Scripts/Enemies/StalactiteBases/StalactiteBaseB/CConstructor.lua");

    SpawnRecord tRecords[12];
    memset(tRecords, 0, sizeof(tRecords));
    for(int32_t i = 0; i < 12; i++)
    {
        snprintf(tRecords[i].mName, sizeof(tRecords[i].mName), "%s", i == 3 ? "wasp" : "Wasp");
        tRecords[i].mX = 100 * i;
        tRecords[i].mY = 50;
    }
    testing::internal::CaptureStderr();
    rSpawns->AutoSpawn(12, tRecords);
    EXPECT_EQ(CapturedStderr(), "SpawnManager: Error processing wasp to AutoSpawn03\n");
    EXPECT_EQ(rSpawns->GetSpawnPointCount(), 11);
    EXPECT_STREQ(((RootEntity *)rSpawns->GetSpawnPoints()->GetElementByIndex(9))->GetName(), "AutoSpawn10");
    rSpawns->Clear();
    EXPECT_EQ(rSpawns->GetSpawnPointCount(), 0);

    testing::internal::CaptureStderr();
    Run("SpawnManager_AddSpawnAuto('Tick', 'T1', 5, 6) SpawnManager_AddSpawnAuto('Nope', 'T2', 5, 6) SpawnManager_AddSpawnAuto('Tick')"
        "SpawnManager_AddSpawn('EnemySpawnPoint') PTrigger_SetProperty('Hitbox', 1, 2, 3, 4) RE_DefineData('CanRespawn', 'N', 0)"
        "DL_PopActiveEntity() SpawnManager_AddSpawn('Other') DL_PopActiveEntity()");
    std::string tErr = CapturedStderr();
    EXPECT_EQ(rSpawns->GetSpawnPointCount(), 2);
    EXPECT_NE(tErr.find("SpawnManager_AddSpawnAuto:  Error, no preset Nope\n"), std::string::npos);
    EXPECT_NE(tErr.find("SpawnManager_AddSpawnAuto: Failed, invalid argument list\n"), std::string::npos);
    EXPECT_NE(tErr.find("SpawnManager_AddSpawn: Failed, cannot resolve Other with 1 args.\n"), std::string::npos);
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveStackSize(), 0);
}

// A 480 by 360 view in a 512 by 512 level moves 32 units across and 152 down, so the spawn
// bands' outer lines sweep only the level's edges; a box in its middle is never entered.
TEST(SpawnBandReachTest, OnlyBoxesTheOuterLinesCanSweepAreReachable)
{
    auto Box = [](float pX, float pY, float pSize) { return ZoneRect{pX, pY, pX + pSize, pY + pSize, 0.0f, 0.0f}; };
    EXPECT_FALSE(SpawnBandCanReach(Box(300, 300, 31), 512, 512, 480, 360));
    EXPECT_FALSE(SpawnBandCanReach(Box(120, 190, 23), 512, 512, 480, 360));
    // On the floor: the bottom band's outer line runs from 390 to 542 as the view goes down.
    EXPECT_TRUE(SpawnBandCanReach(Box(300, 417, 31), 512, 512, 480, 360));
    // High up: the top band's outer line runs from -30 to 122.
    EXPECT_TRUE(SpawnBandCanReach(Box(300, 100, 23), 512, 512, 480, 360));
    // The same middle box in a wide level: the right band's outer line sweeps 510 to 1566.
    EXPECT_TRUE(SpawnBandCanReach(Box(300, 300, 31), 1536, 512, 480, 360));
    // A level smaller than the view: the lines stand still, 30 units outside the view.
    EXPECT_FALSE(SpawnBandCanReach(Box(100, 40, 40), 16, 16, 480, 360));
    EXPECT_TRUE(SpawnBandCanReach(Box(500, 40, 40), 16, 16, 480, 360));
    // Crossed by a line but beyond the band's reach across: 20 units past the view's corners.
    EXPECT_FALSE(SpawnBandCanReach(Box(500, 400, 20), 16, 16, 480, 360));
}

TEST_F(SpawnManagerTest, RecordsNoViewCanSetOffAreNamed)
{
    SpawnManager *rSpawns = SpawnManager::Get();
    SpawnRecord tRecords[3];
    memset(tRecords, 0, sizeof(tRecords));
    snprintf(tRecords[0].mName, sizeof(tRecords[0].mName), "Jellyfish");
    tRecords[0].mX = 300;
    tRecords[0].mY = 100;
    snprintf(tRecords[1].mName, sizeof(tRecords[1].mName), "Tick");
    tRecords[1].mX = 300;
    tRecords[1].mY = 300;
    snprintf(tRecords[2].mName, sizeof(tRecords[2].mName), "Nope");
    testing::internal::CaptureStderr();
    rSpawns->ReportUnreachableRecords(3, tRecords, 512.0f, 512.0f);
    EXPECT_EQ(CapturedStderr(), "SpawnManager: AutoSpawn01 (Tick at 300, 300) will never spawn: in a 512 by 512 map no view comes "
                          "within 30 units of it from outside; move it toward an edge the view scrolls to, or make the map "
                          "larger\n");
    testing::internal::CaptureStderr();
    rSpawns->ReportUnreachableRecords(3, tRecords, 1536.0f, 512.0f);
    EXPECT_EQ(CapturedStderr(), "");
}

// Points a script builds by hand are checked once the script has run, as the records are: a
// missing entry, a rectangle never given, and a box in the middle of a small map are named; a
// sound point and the records' own points are not.
TEST_F(SpawnManagerTest, HandBuiltPointsThatCanNeverSpawnAreNamed)
{
    SpawnManager *rSpawns = GetApplication()->mSpawnManager;
    SpawnRecord tRecord = {};
    snprintf(tRecord.mName, sizeof(tRecord.mName), "Tick");
    tRecord.mX = 300;
    tRecord.mY = 300;
    testing::internal::CaptureStderr();
    rSpawns->AutoSpawn(1, &tRecord);
    Run("function fnPoint(sName, faBox, bCanRespawn)\n"
        "    SpawnManager_AddSpawn('EnemySpawnPoint')\n"
        "    if faBox[3] then PTrigger_SetProperty('Hitbox', faBox[1], faBox[2], faBox[3], faBox[4]) end\n"
        "    RE_DefineData('EnemyName', 'S', sName)\n"
        "    RE_DefineData('PathToConstructorScript', 'S', 'Tank.lua')\n"
        "    RE_DefineData('SpawnPositionX', 'N', faBox[1])\n"
        "    RE_DefineData('SpawnPositionY', 'N', faBox[2])\n"
        "    if bCanRespawn then RE_DefineData('CanRespawn', 'N', 1) end\n"
        "    DL_PopActiveEntity()\n"
        "end\n"
        "fnPoint('Forgot', {300, 417, 364, 465}, false)\n"
        "fnPoint('NoBox', {300, 400}, true)\n"
        "fnPoint('Middle', {300, 300, 331, 331}, true)\n"
        "fnPoint('Floor', {300, 417, 364, 465}, true)\n");
    CapturedStderr();
    testing::internal::CaptureStderr();
    rSpawns->ReportScriptPointsThatNeverSpawn(512.0f, 512.0f);
    EXPECT_EQ(CapturedStderr(), "SpawnManager: EnemySpawnPoint (Forgot) spawns nothing until it has the number entry \"CanRespawn\"\n"
                          "SpawnManager: EnemySpawnPoint (NoBox) will never spawn: its rectangle (0, 0, 0, 0) has no area; "
                          "\"Hitbox\" sets its left, top, right and bottom\n"
                          "SpawnManager: EnemySpawnPoint (Middle at 300, 300) will never spawn: in a 512 by 512 map no view "
                          "comes within 30 units of it from outside; move it toward an edge the view scrolls to, or make the "
                          "map larger\n");
}

// A point allowed one spawn that the view comes back to after its enemy is gone says, once,
// that it will not spawn again.
TEST_F(SpawnManagerTest, ASpentPointSaysSoOnce)
{
    Run(("gEmptyLogic = '" + Script("enemy_empty.lua") + "'").c_str());
    MakePoint("Once", 600.0f, 100.0f, true, 0.0f, Script("enemy_spawn_ctor.lua"));
    SpawnManager *rSpawns = GetApplication()->mSpawnManager;
    testing::internal::CaptureStderr();
    for(int32_t tVisit = 0; tVisit < 3; tVisit++)
    {
        MoveCamera(0.0f);
        rSpawns->Update();
        MoveCamera(95.0f);
        rSpawns->Update();
        Enemy::KillAllEnemies();
        Tick();
    }
    std::string tErr = CapturedStderr();
    EXPECT_EQ(GlobalNumber("gSpawns"), 1.0);
    const std::string cSpent = "SpawnManager: Point (Once) will not spawn again: it has spawned once and its CanRespawn is 0\n";
    size_t tAt = tErr.find(cSpent);
    EXPECT_NE(tAt, std::string::npos);
    EXPECT_EQ(tErr.find(cSpent, tAt + 1), std::string::npos);
}

TEST_F(SpawnManagerTest, APointSpawnsAsTheViewScrollsInAndRespawnsAfterItsTimer)
{
    Run(("gEmptyLogic = '" + Script("enemy_empty.lua") + "'").c_str());
    const std::string tCtor = Script("enemy_spawn_ctor.lua");
    // Right of the view (0..480): the near band reaches from 490 to 510.
    EnemySpawnTrigger *rPoint = MakePoint("Spawned", 600.0f, 100.0f, true, 1.0f, tCtor);
    EnemySpawnTrigger *rNever = MakePoint("Never", 600.0f, 300.0f, false, 0.0f, tCtor);
    SpawnManager *rSpawns = SpawnManager::Get();
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 0.0);

    // The view scrolls right; the band's outer line (R + 30) enters the rectangle at R = 570.
    MoveCamera(80.0f);
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 0.0);
    MoveCamera(95.0f);
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 1.0);
    Enemy *rEnemy = (Enemy *)EntityManager::Fetch()->GetEntity("Spawned");
    ASSERT_NE(rEnemy, nullptr);
    EXPECT_EQ(rEnemy->GetSpawnPointId(), rPoint->GetID());
    float tX, tY, tZ;
    rEnemy->GetPosition(tX, tY, tZ);
    EXPECT_EQ(tX, 600.0f);
    EXPECT_EQ(tY, 100.0f);
    // Without "CanRespawn" a point never spawns, though it was as close.
    EXPECT_EQ(EntityManager::Fetch()->GetEntity("Never"), nullptr);
    float tFlag = -1.0f;
    EXPECT_TRUE(ReadDataNumber(rNever->GetData(), "HasSpawned", tFlag));
    EXPECT_EQ(tFlag, 0.0f);

    // It dies: the spawn point waits out 240 ticks and the point re-arms once out of all bands.
    rEnemy->GetHealth()->SetHealth(0);
    Tick();
    EXPECT_EQ(EntityManager::Fetch()->GetEntity("Spawned"), nullptr);
    MoveCamera(0.0f);
    for(int32_t i = 0; i < 240; i++) rSpawns->Update();
    MoveCamera(95.0f);
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 2.0);

    // A point already inside the near band when play starts spawns nothing there.
    rSpawns->Clear();
    Enemy::KillAllEnemies();
    Tick();
    MoveCamera(0.0f);
    MakePoint("Inside", 485.0f, 100.0f, true, 0.0f, tCtor);
    rSpawns->Update();
    MoveCamera(5.0f);
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 2.0);

    // A view parked far past the integer range reads as parked at the coordinate limit, so the
    // bands stay in range and a point at the world's far edge is reached by them.
    rSpawns->Clear();
    Camera *rCamera = CameraManager::Fetch()->GetActiveCamera();
    for(const char *rPark : {"Camera_SetProperty('CurrentPos', 3e9, 0)", "Camera_SetProperty('CurrentPos', 1e300, 0)",
                             "Camera_SetProperty('CurrentPos', 0/0, 0)",
                             "Camera_SetProperty('Boundaries', 3e9, 3e9, 4e9, 4e9) Camera_SetProperty('CurrentPos', 0, 0)"})
    {
        Run(rPark);
        rSpawns->Update();
        Tick();
    }
    rCamera->SetPosition(-3.0e9f, 0.0f);
    MakePoint("Edge", -1.0e9f, 100.0f, true, 0.0f, tCtor)->SetRect(-1.0e9f, 100.0f, -999999936.0f, 120.0f);
    rSpawns->Update();
    EXPECT_EQ(GlobalNumber("gSpawns"), 3.0);
}

TEST_F(SpawnManagerTest, ProxyTriggersRunTheirRoutines)
{
    testing::internal::CaptureStderr();
    Run("PTrigger_Create('Box') PTrigger_SetProperty('Hitbox', 0, 0, 32, 32) PTrigger_SetProperty('Size', 1) DL_PopActiveEntity()"
        "PTrigger_SetProperty('Hitbox', 0, 0, 1, 1) PTrigger_Create()  DL_PopActiveEntity()");
    std::string tErr = CapturedStderr();
    ProxyTrigger *rBox = (ProxyTrigger *)EntityManager::Fetch()->GetEntity("Box");
    ASSERT_NE(rBox, nullptr);
    EXPECT_EQ(rBox->GetRect().mRgt, 32.0f);
    EXPECT_FALSE(rBox->IsArmed());
    EXPECT_EQ(tErr, "PTrigger_SetProperty:  Failed, could not resolve Size with 2 args\n"
                    "PTrigger_SetProperty:  Failed, invalid object\n"
                    "PTrigger_Create: Failed, invalid argument list\n");
}
