#include "support/PlayerWorld.h"

#include "world/LadderZone.h"
#include "world/RootZone.h"

#include <cmath>

class PlayerPhysicsTest : public PlayerWorld
{
protected:
    // A ladder from 250 down to the floor just right of her, and Up held until she takes it.
    void ClimbOntoALadder()
    {
        LadderZone *nLadder = new LadderZone();
        nLadder->SetName("Ladder");
        nLadder->SetRect(200.0f, 250.0f, 216.0f, (float)cFloorY);
        ASSERT_TRUE(RegisterZone(LADDER_LIST_NAME, nLadder));
        mPlayer->SetPositionAutoCenter(198.0f, (float)(cFloorY - 52), 0.0f);
        Tick(2);
        SetKey(ALLEGRO_KEY_UP, true);
        Tick();
        ASSERT_TRUE(mPlayer->IsOnLadder());
    }
};

TEST_F(PlayerPhysicsTest, RunsAtRunSpeedAndTakesOneTickToTurn)
{
    Tick(2);
    ASSERT_TRUE(mPlayer->IsOnGround());
    const float tStart = X();
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(10);
    EXPECT_FLOAT_EQ(VX(), 3.1f);
    EXPECT_NEAR(X() - tStart, 31.0f, 1.0f);

    // The turning tick keeps the old speed; the next one brakes to 0, then full speed back.
    SetKey(ALLEGRO_KEY_RIGHT, false);
    SetKey(ALLEGRO_KEY_LEFT, true);
    Tick();
    EXPECT_TRUE(mPlayer->IsFacingLeft());
    EXPECT_FLOAT_EQ(VX(), 3.1f);
    Tick();
    EXPECT_FLOAT_EQ(VX(), 0.0f);
    Tick();
    EXPECT_FLOAT_EQ(VX(), -3.1f);

    SetKey(ALLEGRO_KEY_LEFT, false);
    Tick();
    EXPECT_FLOAT_EQ(VX(), 0.0f);
}

TEST_F(PlayerPhysicsTest, HeldJumpRisesAboutEightyUnitsAndLandsWithOneSound)
{
    Tick(2);
    const float tGround = Y();
    SetKey(ALLEGRO_KEY_Z, true);
    float tHighest = tGround;
    int32_t tAirTicks = 0;
    Tick();
    EXPECT_EQ(Plays("Jump"), 1);
    const int32_t tLandsBefore = Plays("Land");
    for(int32_t i = 0; i < 80 && !mPlayer->IsOnGround(); i++)
    {
        Tick();
        tAirTicks++;
        if(Y() < tHighest) tHighest = Y();
    }
    EXPECT_NEAR(tGround - tHighest, 79.8f, 1.0f);
    EXPECT_GE(tAirTicks, 40);
    EXPECT_LE(tAirTicks, 44);
    EXPECT_FLOAT_EQ(Y(), tGround);
    Tick();
    EXPECT_EQ(Plays("Land"), tLandsBefore + 1);
    // Holding Jump on the ground does not jump again.
    Tick(3);
    EXPECT_EQ(Plays("Jump"), 1);
}

TEST_F(PlayerPhysicsTest, ReleasingJumpCutsTheRise)
{
    Tick(2);
    const float tGround = Y();
    SetKey(ALLEGRO_KEY_Z, true);
    Tick();
    SetKey(ALLEGRO_KEY_Z, false);
    float tHighest = tGround;
    for(int32_t i = 0; i < 30; i++)
    {
        Tick();
        if(Y() < tHighest) tHighest = Y();
    }
    EXPECT_LE(tGround - tHighest, 9.0f);
    EXPECT_GT(tGround - tHighest, 6.0f);
    EXPECT_TRUE(mPlayer->IsOnGround());
}

TEST_F(PlayerPhysicsTest, FallAndWallSlideAreCapped)
{
    mPlayer->SetPositionAutoCenter(100.0f, 20.0f, 0.0f);
    float tFastest = 0.0f;
    for(int32_t i = 0; i < 60; i++)
    {
        Tick();
        if(VY() > tFastest) tFastest = VY();
    }
    EXPECT_FLOAT_EQ(tFastest, 6.975f);

    // Against the right wall, holding Right: the slide starts from rest and tops out lower.
    mPlayer->SetPositionAutoCenter(624.0f - 19.0f, 20.0f, 0.0f);
    SetKey(ALLEGRO_KEY_RIGHT, true);
    tFastest = 0.0f;
    for(int32_t i = 0; i < 40; i++)
    {
        Tick();
        if(mPlayer->IsWallSliding() && VY() > tFastest) tFastest = VY();
    }
    EXPECT_TRUE(mPlayer->IsWallSliding());
    EXPECT_FLOAT_EQ(tFastest, 2.7125f);
}

// In the air a sideways move that an overhang blocks at her top row only slips under it one
// unit lower and goes on; the air dash keeps her level, so that unit is all she drops.
TEST_F(PlayerPhysicsTest, InTheAirAMoveBlockedAtHerTopRowGoesOnOneUnitLower)
{
    // The overhang's lowest row is y 200, from x 150 right.
    FillSolid(150, 0, 300, 201);
    BuildLevel();
    Tick(2);
    ASSERT_TRUE(mPlayer->IsOnGround());
    // In the air with her top row at the overhang's lowest, her right edge two units short.
    mPlayer->SetPositionAutoCenter(129.0f, 200.0f, 0.0f);
    SetKey(ALLEGRO_KEY_RIGHT, true);
    SetKey(ALLEGRO_KEY_C, true);
    Tick();
    ASSERT_TRUE(mPlayer->IsDashing());
    EXPECT_FLOAT_EQ(X(), 134.0f);
    EXPECT_FLOAT_EQ(Y(), 201.0f);
}

TEST_F(PlayerPhysicsTest, WaterSlowsTheFallLowersItsCapAndRaisesTheJump)
{
    // The same drop dry and in water: the pull, the top speed and the time to the floor.
    struct Fall
    {
        // Speed gained from the 4th to the 8th tick of the fall.
        float mGain;
        float mFastest;
        int32_t mTicksToGround;
    };
    auto tDrop = [this](bool pInWater) {
        // A tick on the floor first, so each drop starts from rest.
        mPlayer->SetPositionAutoCenter(100.0f, (float)(cFloorY - 52), 0.0f);
        Tick(2);
        mPlayer->SetPositionAutoCenter(100.0f, 20.0f, 0.0f);
        mPlayer->SetInWater(pInWater);
        Fall tFall = {0.0f, 0.0f, -1};
        Tick();
        for(int32_t i = 1; i < 200 && tFall.mTicksToGround < 0; i++)
        {
            Tick();
            if(i == 4) tFall.mGain = -VY();
            if(i == 8) tFall.mGain += VY();
            if(VY() > tFall.mFastest) tFall.mFastest = VY();
            if(mPlayer->IsOnGround()) tFall.mTicksToGround = i;
        }
        return tFall;
    };
    Fall tDry = tDrop(false);
    Fall tWet = tDrop(true);
    EXPECT_FLOAT_EQ(tDry.mFastest, 6.975f);
    EXPECT_NEAR(tWet.mFastest, 6.975f * 0.55f, 1e-4f);
    EXPECT_NEAR(tWet.mGain / tDry.mGain, 0.55f, 0.02f);
    EXPECT_GT(tWet.mTicksToGround, tDry.mTicksToGround + 20);
    EXPECT_TRUE(mPlayer->IsInWater()) << "landing keeps her in the water";

    // A held jump: the same take-off under weaker gravity climbs higher and stays up longer.
    auto tJump = [this](int32_t &sAirTicks) {
        Tick(2);
        const float tGround = Y();
        float tHighest = tGround;
        SetKey(ALLEGRO_KEY_Z, true);
        Tick();
        sAirTicks = 0;
        for(int32_t i = 0; i < 200 && !mPlayer->IsOnGround(); i++)
        {
            Tick();
            sAirTicks++;
            if(Y() < tHighest) tHighest = Y();
        }
        SetKey(ALLEGRO_KEY_Z, false);
        Tick(2);
        return tGround - tHighest;
    };
    int32_t tWetTicks = 0, tDryTicks = 0;
    const float tWetRise = tJump(tWetTicks);
    mPlayer->SetInWater(false);
    const float tDryRise = tJump(tDryTicks);
    EXPECT_NEAR(tDryRise, 79.8f, 1.0f);
    EXPECT_GT(tWetRise, tDryRise * 1.5f);
    EXPECT_GT(tWetTicks, tDryTicks * 3 / 2);
}

TEST_F(PlayerPhysicsTest, WallKickHangsThenLaunchesAwayFromTheWall)
{
    mPlayer->SetPositionAutoCenter(624.0f - 19.0f, 100.0f, 0.0f);
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(10);
    ASSERT_TRUE(mPlayer->IsWallSliding());
    SetKey(ALLEGRO_KEY_Z, true);
    Tick();
    EXPECT_TRUE(mPlayer->IsWallKicking());
    const float tHangY = Y();
    Tick(5);
    EXPECT_FLOAT_EQ(Y(), tHangY);
    Tick();
    EXPECT_FLOAT_EQ(VX(), -6.2f);
    EXPECT_LT(Y(), tHangY);
    Tick(8);
    EXPECT_FALSE(mPlayer->IsWallKicking());
}

TEST_F(PlayerPhysicsTest, GroundDashRunsThirtySixTicksAndAirDashTwentyEightLevelTicks)
{
    Tick(10);
    const float tStart = X();
    SetKey(ALLEGRO_KEY_C, true);
    int32_t tDashTicks = 0;
    for(int32_t i = 0; i < 60; i++)
    {
        Tick();
        if(mPlayer->IsDashing()) tDashTicks++;
    }
    EXPECT_EQ(tDashTicks, 36);
    EXPECT_EQ(Plays("Dash"), 1);
    // The tick that ends the dash still moves at dash speed.
    EXPECT_NEAR(X() - tStart, 37 * 5.425f, 1.5f);
    SetKey(ALLEGRO_KEY_C, false);

    Tick(10);
    SetKey(ALLEGRO_KEY_Z, true);
    Tick(8);
    SetKey(ALLEGRO_KEY_C, true);
    Tick();
    ASSERT_TRUE(mPlayer->IsDashing());
    const float tLevel = Y();
    int32_t tAirDash = 1;
    while(mPlayer->IsDashing() && tAirDash < 60)
    {
        EXPECT_FLOAT_EQ(Y(), tLevel);
        Tick();
        if(mPlayer->IsDashing()) tAirDash++;
    }
    EXPECT_EQ(tAirDash, 28);
    // One air dash per stay in the air.
    SetKey(ALLEGRO_KEY_C, false);
    Tick();
    SetKey(ALLEGRO_KEY_C, true);
    Tick();
    EXPECT_FALSE(mPlayer->IsDashing());
}

TEST_F(PlayerPhysicsTest, ClimbsALadderTwoUnitsATickAndStepsOffOnTop)
{
    ClimbOntoALadder();
    if(HasFatalFailure()) return;
    EXPECT_FLOAT_EQ(X(), 208.0f - 7.5f);
    const float tGrabY = Y();
    Tick(11);
    EXPECT_FLOAT_EQ(Y(), tGrabY);
    Tick(10);
    EXPECT_FLOAT_EQ(Y(), tGrabY - 20.0f);

    for(int32_t i = 0; i < 80 && mPlayer->IsOnLadder(); i++) Tick();
    EXPECT_FALSE(mPlayer->IsOnLadder());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, 250.0f);
    SetKey(ALLEGRO_KEY_UP, false);
    Tick(5);
    EXPECT_TRUE(mPlayer->IsOnGround());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, 250.0f);

    // Jumping off a ladder drops the player at once, and the ladder pointer goes with it.
    SetKey(ALLEGRO_KEY_DOWN, true);
    Tick();
    ASSERT_TRUE(mPlayer->IsOnLadder());
    SetKey(ALLEGRO_KEY_DOWN, false);
    SetKey(ALLEGRO_KEY_Z, true);
    Tick();
    EXPECT_FALSE(mPlayer->IsOnLadder());
}

TEST_F(PlayerPhysicsTest, ALadderTakenOutOfItsListLetsGoOfTheClimber)
{
    ClimbOntoALadder();
    if(HasFatalFailure()) return;

    EntityManager::Fetch()->RemoveSpecialObject(LADDER_LIST_NAME, "Ladder");
    EXPECT_FALSE(mPlayer->IsOnLadder());
    Tick(3);
    EXPECT_FALSE(mPlayer->IsOnLadder());
}

// A ladder standing on the floor: climbing down it ends with her feet on the floor, never
// inside it, and she walks off at once.
TEST_F(PlayerPhysicsTest, ClimbingDownToALaddersFootStandsHerOnTheFloor)
{
    ClimbOntoALadder();
    if(HasFatalFailure()) return;
    Tick(19);
    SetKey(ALLEGRO_KEY_UP, false);
    ASSERT_TRUE(mPlayer->IsOnLadder());
    ASSERT_LT(mPlayer->GetHitboxPtr()->mBot, (float)cFloorY - 10.0f);
    SetKey(ALLEGRO_KEY_DOWN, true);
    Tick(40);
    EXPECT_FALSE(mPlayer->IsOnLadder());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, (float)cFloorY);
    EXPECT_TRUE(mPlayer->IsOnGround());
    SetKey(ALLEGRO_KEY_DOWN, false);

    const float tX = X();
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(10);
    SetKey(ALLEGRO_KEY_RIGHT, false);
    EXPECT_GT(X() - tX, 20.0f);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, (float)cFloorY);
}

TEST_F(PlayerPhysicsTest, PushesApplyOnceAndPushZonesExceedTheCaps)
{
    Tick(2);
    const float tStart = X();
    mPlayer->ApplyPush(5.0f, 0.0f, 0.0f);
    Tick();
    EXPECT_NEAR(X() - tStart, 5.0f, 1.0f);
    Tick();
    EXPECT_NEAR(X() - tStart, 5.0f, 1.0f);
}
