#include "support/EnemyWorld.h"

#include "world/LevelCollision.h"

using AIMovementTest = EnemyWorld;

namespace
{
    Hitbox BoxAt(float pX, float pY)
    {
        Hitbox tBox = Hitbox();
        tBox.mOwnerX = pX;
        tBox.mOwnerY = pY;
        return tBox;
    }
}

TEST_F(AIMovementTest, AirMovementSnapsOntoItsDestinationAndNegativeSpeedFlees)
{
    AIAirMovement tMove;
    tMove.SetDestinationPosition(107.0f, 50.0f);
    tMove.SetSpeed(3.0f, 0.0f);
    Hitbox tBox = BoxAt(100.0f, 50.0f);
    std::string tPath;
    for(int32_t i = 0; i < 3; i++)
    {
        tMove.Update(tBox);
        tPath += std::to_string((int)tBox.mOwnerX) + " ";
    }
    EXPECT_EQ(tPath, "103 106 107 ");
    EXPECT_FALSE(tMove.IsDone());
    tMove.Update(tBox);
    EXPECT_TRUE(tMove.IsDone());

    AIAirMovement tFlee;
    tFlee.SetDestinationPosition(200.0f, 50.0f);
    tFlee.SetSpeed(-2.0f, 0.0f);
    tFlee.SetDurationToMove(3);
    tBox = BoxAt(100.0f, 50.0f);
    for(int32_t i = 0; i < 4; i++) tFlee.Update(tBox);
    EXPECT_EQ(tBox.mOwnerX, 94.0f);
    EXPECT_TRUE(tFlee.IsDone());

    // The cap truncates: 8.9 passes a cap of 8.5, 9.0 is cut to it.
    AIAirMovement tFast;
    tFast.SetDestinationPosition(1000.0f, 0.0f);
    tFast.SetSpeed(8.9f, 0.0f);
    tBox = BoxAt(0.0f, 0.0f);
    tFast.Update(tBox);
    float tX, tY;
    tFast.GetSpeed(tX, tY);
    EXPECT_FLOAT_EQ(tX, 8.9f);
    tFast.SetAcceleration(0.1f, 0.0f);
    tFast.Update(tBox);
    tFast.GetSpeed(tX, tY);
    EXPECT_FLOAT_EQ(tX, 8.5f);
    tFast.SetSpeedCap(-3.0f, 1.0f);
    tFast.Update(tBox);
    tFast.GetSpeed(tX, tY);
    EXPECT_FLOAT_EQ(tX, 0.0f);

    // A delay of 3 holds it for exactly three updates; it moves on the fourth.
    AIAirMovement tLate;
    tLate.SetDestinationPosition(200.0f, 50.0f);
    tLate.SetSpeed(2.0f, 0.0f);
    tLate.SetDelayBeforeMoving(3.0f);
    tBox = BoxAt(100.0f, 50.0f);
    for(int32_t i = 0; i < 3; i++)
    {
        tLate.Update(tBox);
        EXPECT_EQ(tBox.mOwnerX, 100.0f) << "update " << i + 1;
    }
    tLate.Update(tBox);
    EXPECT_EQ(tBox.mOwnerX, 102.0f);
}

TEST_F(AIMovementTest, SineMovementFollowsItsFormulaAndAMissingTargetStopsAtOnce)
{
    AIAirMovementSin tEarly;
    tEarly.SetDestinationPosition(100.0f, 0.0f);
    tEarly.SetDurationToMove(10);
    Hitbox tBox = BoxAt(0.0f, 0.0f);
    tEarly.Update(tBox);
    EXPECT_TRUE(tEarly.IsDone());
    EXPECT_EQ(tBox.mOwnerX, 0.0f);

    AIAirMovementSin tWave;
    tWave.SetDurationToMove(4);
    tWave.SetDestinationPosition(100.0f, 0.0f);
    tWave.SetSpeed(10.0f, 0.0f);
    tBox = BoxAt(0.0f, 0.0f);
    tWave.Update(tBox);
    // t = 1/4: along 40 * 0.25 = 10, the wobble 5 * sin(pi / 2) = 5 at the angle - pi/2 (up).
    EXPECT_NEAR(tBox.mOwnerX, 10.0f, 1e-4);
    EXPECT_NEAR(tBox.mOwnerY, -5.0f, 1e-4);
    tWave.Update(tBox);
    EXPECT_NEAR(tBox.mOwnerX, 20.0f, 1e-4);
    EXPECT_NEAR(tBox.mOwnerY, 0.0f, 1e-4);
    tWave.Update(tBox);
    tWave.Update(tBox);
    EXPECT_TRUE(tWave.IsDone());

    AIAirMovement tLost;
    tLost.SetDestinationTarget("Nobody");
    tLost.SetSpeed(5.0f, 5.0f);
    tBox = BoxAt(30.0f, 30.0f);
    testing::internal::CaptureStderr();
    tLost.Update(tBox);
    AIAirMovement tAimless;
    tAimless.Update(tBox);
    std::string tErr = CapturedStderr();
    EXPECT_TRUE(tLost.IsDone());
    EXPECT_EQ(tBox.mOwnerX, 30.0f);
    EXPECT_EQ(tErr, "AIMovement::Update warning, target name does not exist.\n"
                    "AIMovement::Update warning, no destination position or target name was sets.\n");
}

TEST_F(AIMovementTest, GroundMovementWalksUnderGravityUntilItStandsAtTheDestination)
{
    // The level's floor starts at y 400; a 20-unit box dropped from 300 walks right to x 160.
    Enemy *rWalker = MakeEnemy("Walker", 100.0f, 300.0f, 20.0f, 5);
    AIMovementHandler *rHandler = rWalker->GetMovementHandler();
    rHandler->AddMovement(AIMOVE_GROUND);
    AIMovement *rMove = rHandler->GetLastMovement();
    rMove->SetDestinationPosition(160.0f, 0.0f);
    rMove->SetSpeed(2.0f, 0.0f);
    rMove->SetAnimationIndex(0);
    for(int32_t i = 0; i < 200 && !rHandler->IsEmpty(); i++) Tick();
    EXPECT_TRUE(rHandler->IsEmpty());
    float tX, tY, tZ;
    rWalker->GetPosition(tX, tY, tZ);
    EXPECT_GE(tX, 160.0f);
    EXPECT_LE(tX, 162.0f);
    EXPECT_EQ(tY, 380.0f);
    // No collision flags are left behind for the next mover.
    EXPECT_FALSE(AllowBotSlopes || AllowTopSlopes || AllowAirWalk);
}

TEST_F(AIMovementTest, LoopingQueuesRestartAndTheQueueIsCapped)
{
    AIMovementHandler tHandler;
    for(int32_t i = 0; i < 3; i++)
    {
        tHandler.AddMovement(AIMOVE_AIR);
        tHandler.GetLastMovement()->SetDestinationPosition(5.0f * (float)(i + 1), 0.0f);
        tHandler.GetLastMovement()->SetSpeed(5.0f, 5.0f);
    }
    tHandler.SetLoopMovements(1);
    Hitbox tBox = BoxAt(0.0f, 0.0f);
    std::string tPath;
    for(int32_t i = 0; i < 8; i++)
    {
        tHandler.Update(tBox);
        tPath += std::to_string((int)tBox.mOwnerX) + " ";
    }
    // 5 (done on the next tick), 10, 15, then all three reset: the first flies back to 5.
    EXPECT_EQ(tPath, "5 5 10 10 15 15 10 5 ");
    EXPECT_EQ(tHandler.GetCount(), 3);

    testing::internal::CaptureStderr();
    for(int32_t i = 0; i < 20; i++) tHandler.AddMovement(AIMOVE_AIR_SIN);
    tHandler.AddMovement(9);
    std::string tErr = CapturedStderr();
    EXPECT_EQ(tHandler.GetCount(), 20);
    EXPECT_NE(tErr.find("max number of movements that can be created reached"), std::string::npos);
    tHandler.ClearAllMovements();
    EXPECT_TRUE(tHandler.IsDoneMoving());
    EXPECT_FALSE(tHandler.GetLoopMovements());
}

TEST_F(AIMovementTest, ScriptControlRunsItsScriptWithATimerAndMovesItsOwner)
{
    Enemy *rEnemy = MakeEnemy("Scripted", 200.0f, 100.0f, 20.0f, 5);
    DataLibrary::Fetch()->PushActiveEntity(rEnemy);
    std::string tCode = "Enemy_PushPropertyAsActiveObject('AIMovementHandler') AIMovementHandler_AddMovement('SCRIPT CONTROL') "
                        "AISC_DefineProperty('Speed', 'N', 4) AISC_SetScript('" +
                        Script("enemy_script_control.lua") + "') DL_PopActiveEntity()";
    Run(tCode.c_str());
    DataLibrary::Fetch()->PopActiveEntity();
    // SetScript runs the script once at once; every tick after runs it again.
    EXPECT_EQ(GlobalNumber("gTimer"), 1.0);
    Tick(3);
    EXPECT_EQ(GlobalNumber("gTimer"), 4.0);
    float tX, tY, tZ;
    rEnemy->GetPosition(tX, tY, tZ);
    EXPECT_EQ(tX, 216.0f);

    // The AISC_ globals write only into a script control.
    testing::internal::CaptureStderr();
    DataLibrary::Fetch()->PushActiveEntity(rEnemy);
    Run("AISC_SetProperty('Timer', 99) gNone = AISC_GetProperty('Timer')");
    DataLibrary::Fetch()->PopActiveEntity();
    std::string tErr = CapturedStderr();
    EXPECT_EQ(GlobalString("gNone"), "<nil>");
    EXPECT_NE(tErr.find("AISC_SetProperty: Failed, rActiveObject was wrong type"), std::string::npos);
    rEnemy->SetDestruct(1);
    Tick();
}
