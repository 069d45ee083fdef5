#include "support/EnemyWorld.h"

#include "world/Camera.h"

// The sample maps' boss helper (game/Data/Scripts/Stage): a zone wakes the boss, not a spawn
// point, so it wakes once however often the zone fires, wakes again after her death has
// destroyed it, and never once beaten. While it fights the camera holds the arena; its fall
// lets go of the camera and raises the goal.
using StageBossTest = EnemyWorld;

namespace
{
    int32_t CountEnemies()
    {
        NamedLinkedList *nEnemies = EntityManager::Fetch()->ListByType(TYPE_ENEMY);
        int32_t tCount = nEnemies->GetCount();
        delete nEnemies;
        return tCount;
    }

    std::string Boundaries()
    {
        float tL, tT, tR, tB;
        CameraManager::Fetch()->GetActiveCamera()->GetBoundaries(tL, tT, tR, tB);
        char tText[64];
        snprintf(tText, sizeof(tText), "%g %g %g %g", tL, tT, tR, tB);
        return tText;
    }
}

TEST_F(StageBossTest, ABossWakesOnceAndStaysBeatenOnceBeaten)
{
    std::string tSetup = std::string("gsScriptRoot = '") + CORVEL_SOURCE_DIR + "/game/Data/Scripts/'\n" +
                         "gsEnemyScripts = '" + CORVEL_SOURCE_DIR + "/tests/scripts/'\n" +
                         "LM_ExecuteScript(gsScriptRoot .. 'SetupFuncs.lua')\n"
                         "LM_ExecuteScript(gsScriptRoot .. 'Stage/Setup.lua')\n"
                         "fnStageBoss({sName = 'Boss', sKind = 'stage_boss', fX = 300, fY = 100,\n"
                         "             faWake = {0, 0, 50, 50}, faView = {100, 50, 580, 410},\n"
                         "             faLevel = {0, 0, 1000, 600}, fGoalX = 500, fGoalY = 400})\n";
    const char *cWake = "LM_ExecuteScript(gsStageScripts .. 'BossWakes.lua')";
    testing::internal::CaptureStderr();
    Run(tSetup.c_str());
    Run(cWake);
    Run(cWake);
    EXPECT_EQ(CountEnemies(), 1);
    EXPECT_EQ(Boundaries(), "100 50 580 410");

    // Her death destroys every enemy; the next entry into the arena wakes the boss again.
    Enemy::KillAllEnemies();
    Tick();
    EXPECT_EQ(CountEnemies(), 0);
    Run(cWake);
    EXPECT_EQ(CountEnemies(), 1);

    // Beaten: its destruction script tells the map. However often the zone fires afterwards,
    // on her way back after a death too, no boss wakes.
    RootEntity *rBoss = EntityManager::Fetch()->GetEntity("Boss");
    CapturedStderr();
    ASSERT_NE(rBoss, nullptr);
    RunWithActive(rBoss, "fnStageBossFell()");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Boundaries(), "0 0 1000 600");
    EXPECT_NE(EntityManager::Fetch()->GetEntity("Goal"), nullptr);
    Enemy::KillAllEnemies();
    Tick();
    Run(cWake);
    Run(cWake);
    EXPECT_EQ(CountEnemies(), 0);
    CapturedStderr();
}

// A boss view is one view exactly: one wrong side is enough to be named, with that view's sizes.
TEST_F(StageBossTest, ABossViewWithEitherSideWrongIsNamed)
{
    const std::string tSetup = std::string("gsScriptRoot = '") + CORVEL_SOURCE_DIR + "/game/Data/Scripts/'\n" +
                               "LM_ExecuteScript(gsScriptRoot .. 'SetupFuncs.lua')\n"
                               "LM_ExecuteScript(gsScriptRoot .. 'Stage/Setup.lua')\n";
    Run(tSetup.c_str());
    testing::internal::CaptureStderr();
    Run("fnCheckBossView({sName = 'Short', faView = {0, 0, 480, 300}})\n"
        "fnCheckBossView({sName = 'Wide', faView = {100, 50, 700, 410}})\n"
        "fnCheckBossView({sName = 'Right', faView = {100, 50, 580, 410}})\n");
    const std::string tErr = CapturedStderr();
    EXPECT_NE(tErr.find("Short's faView (0, 0, 480, 300) is 480 by 300; it must be one view"), std::string::npos) << tErr;
    EXPECT_NE(tErr.find("Wide's faView (100, 50, 700, 410) is 600 by 360; it must be one view"), std::string::npos) << tErr;
    EXPECT_EQ(tErr.find("Right's"), std::string::npos) << tErr;
}
