#include "actors/MechSuit.h"

#include "support/PlayerWorld.h"
#include "support/TestText.h"

#include <cmath>

namespace
{
    // The player world with a mech standing on the floor (its box 30 by 67) at x 300.
    class MechTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            mMech = new MechSuit();
            mMech->SetPosition(300.0f, (float)cFloorY - MECH_HEIGHT);
            EntityManager::Fetch()->RegisterEntity(MECH_ENTITY_NAME, mMech, DeleteRootObject);
            Tick(40);
        }

        void Press(int pKey, int32_t pTicks = 1)
        {
            SetKey(pKey, true);
            Tick(pTicks);
            SetKey(pKey, false);
        }

        // Walks her into the mech and waits out the entry animation.
        void Board()
        {
            mPlayer->SetPositionAutoCenter(290.0f, (float)(cFloorY - 52), 0.0f);
            Tick(2);
            ASSERT_EQ(mPlayer->GetMech(), mMech);
            Tick(40);
            ASSERT_FALSE(mPlayer->IsControlLocked());
        }

        MechSuit *mMech = nullptr;
    };
}

TEST_F(MechTest, StandingMechPowersDownAndFallsUntilItStands)
{
    MechSuit *nMech = new MechSuit();
    nMech->SetPosition(200.0f, 100.0f);
    EntityManager::Fetch()->RegisterEntity("Second", nMech, DeleteRootObject);
    float tExpected = 0.0f;
    float tTop = 100.0f;
    for(int32_t i = 1; i <= 31; i++)
    {
        nMech->Update();
        ASSERT_EQ(nMech->GetAnimationIndex(), MECH_ANIM_POWER_UP);
        ASSERT_EQ(nMech->GetTick(), 32 - i);
        tExpected = fminf(tExpected + 0.5f, 5.0f);
        float tX, tY, tZ;
        nMech->GetPosition(tX, tY, tZ);
        ASSERT_NEAR(tY - tTop, tExpected, 1.0f) << "update " << i;
        tTop = tY;
    }
    nMech->Update();
    EXPECT_EQ(nMech->GetAnimationIndex(), MECH_ANIM_IDLE);
    EXPECT_FALSE(nMech->IsTimed());
    EXPECT_EQ(nMech->GetFrame(), 1);
    for(int32_t i = 0; i < 200; i++) nMech->Update();
    Hitbox tBox;
    nMech->GetHitbox(tBox);
    EXPECT_FLOAT_EQ(tBox.mBot, (float)cFloorY);
}

TEST_F(MechTest, BoardingLocksHerForTheEntryAndGrowsHerBox)
{
    mPlayer->SetPositionAutoCenter(290.0f, (float)(cFloorY - 52), 0.0f);
    testing::internal::CaptureStderr();
    Tick();
    std::string tLog = CapturedStderr();
    ASSERT_EQ(mPlayer->GetMech(), mMech);
    EXPECT_NE(tLog.find("Mech control activated!\n"), std::string::npos);
    EXPECT_TRUE(mMech->IsRidden());
    EXPECT_TRUE(mPlayer->IsControlLocked());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt - X(), 30.0f);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot - Y(), 67.0f);
    EXPECT_FLOAT_EQ(X(), 300.0f);
    // The controls come back 32 ticks after boarding; meanwhile the mech shows its power-up.
    Tick(31);
    mPlayer->Render();
    EXPECT_EQ(mMech->GetAnimationIndex(), MECH_ANIM_POWER_UP);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    Tick(2);
    EXPECT_FALSE(mPlayer->IsControlLocked());
    mPlayer->Render();
    EXPECT_EQ(mMech->GetAnimationIndex(), MECH_ANIM_IDLE);
}

TEST_F(MechTest, RidingWalksJumpsAndDashesTheMech)
{
    Board();
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(20);
    SetKey(ALLEGRO_KEY_RIGHT, false);
    float tX, tY, tZ;
    mMech->GetPosition(tX, tY, tZ);
    EXPECT_GT(tX, 330.0f);
    EXPECT_FLOAT_EQ(tX, X());
    mPlayer->Render();
    EXPECT_FALSE(mMech->IsFlipped());

    // A jump rises no faster than the fall cap allows.
    Tick(15);
    Press(ALLEGRO_KEY_Z);
    float tLowest = 0.0f;
    for(int32_t i = 0; i < 60; i++)
    {
        Tick();
        tLowest = fminf(tLowest, VY());
    }
    EXPECT_GE(tLowest, -6.975f - 1e-4f);
    EXPECT_LT(tLowest, -6.0f);
    EXPECT_TRUE(mPlayer->IsOnGround());

    // The dash: 36 ticks at full speed, then 8 slowing down.
    Tick(15);
    SetKey(ALLEGRO_KEY_LEFT, true);
    Tick(12);
    SetKey(ALLEGRO_KEY_LEFT, false);
    Tick(12);
    SetKey(ALLEGRO_KEY_C, true);
    Tick();
    int32_t tFull = 0;
    while(fabsf(VX()) > 5.4f && tFull < 100)
    {
        Tick();
        tFull++;
    }
    SetKey(ALLEGRO_KEY_C, false);
    EXPECT_GE(tFull, 30);
    EXPECT_LE(tFull, 37);
}

// On the landing tick and the nine after it the mech stands; it walks on the tenth.
TEST_F(MechTest, TheMechStandsForTenTicksAfterLanding)
{
    Board();
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Press(ALLEGRO_KEY_Z);
    ASSERT_FALSE(mPlayer->IsOnGround());
    const int32_t tLandings = Plays("Land");
    float tBefore = X();
    for(int32_t i = 0; i < 100 && Plays("Land") == tLandings; i++)
    {
        tBefore = X();
        Tick();
    }
    ASSERT_EQ(Plays("Land"), tLandings + 1);
    EXPECT_FLOAT_EQ(X(), tBefore) << "landing tick";
    for(int32_t i = 1; i <= 9; i++)
    {
        Tick();
        EXPECT_FLOAT_EQ(X(), tBefore) << "tick " << i << " after landing";
    }
    Tick();
    EXPECT_GT(X(), tBefore);
}

TEST_F(MechTest, UpWithJumpLeavesAndTheMechWaitsBeforeTakingHerAgain)
{
    Board();
    SetKey(ALLEGRO_KEY_UP, true);
    testing::internal::CaptureStderr();
    Press(ALLEGRO_KEY_Z);
    std::string tLog = CapturedStderr();
    SetKey(ALLEGRO_KEY_UP, false);
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    EXPECT_NE(tLog.find("Mech control deactivated!\n"), std::string::npos);
    EXPECT_FALSE(mMech->IsRidden());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt - X(), 19.0f);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot - Y(), 52.0f);
    // Still touching it: nothing for 180 ticks, then it takes her again.
    Tick(170);
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    Tick(20);
    EXPECT_EQ(mPlayer->GetMech(), mMech);
}

TEST_F(MechTest, LeavingInTheAirEndsTheStep)
{
    Board();
    Press(ALLEGRO_KEY_Z);
    Tick(5);
    ASSERT_FALSE(mPlayer->IsOnGround());
    SetKey(ALLEGRO_KEY_UP, true);
    Press(ALLEGRO_KEY_Z);
    SetKey(ALLEGRO_KEY_UP, false);
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    Tick(60);
    EXPECT_TRUE(mPlayer->IsOnGround());
}

TEST_F(MechTest, HurtWhileRidingStaysInTheSaddle)
{
    Board();
    int32_t tHealth = mPlayer->GetHealth();
    AddEnemyShot(X(), Y(), 3);
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), tHealth - 3);
    EXPECT_EQ(mPlayer->GetMech(), mMech);
    // The injury lasts 24 ticks, then 120 ticks of invulnerability.
    Tick(25);
    EXPECT_EQ(mPlayer->GetInjuryTimer(), -1);
    EXPECT_GT(mPlayer->GetInvulnerability(), 100);
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

TEST_F(MechTest, DestroyedOrForgottenMechSetsHerOnFoot)
{
    Board();
    mPlayer->ClearRespawnState();
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    EXPECT_FALSE(mMech->IsRidden());
    EXPECT_EQ(mMech->GetRemountDelay(), MECH_REMOUNT_DELAY);

    Tick(200);
    ASSERT_EQ(mPlayer->GetMech(), mMech);
    EntityManager::Fetch()->ClearEntities();
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt - X(), 19.0f);
    Tick(5);
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

// Whatever put it there, a mech left alone never stays inside solid cells: one sunk into the
// floor rises to stand on it.
TEST_F(MechTest, AMechLeftInsideTheFloorRisesToStandOnIt)
{
    MechSuit *nMech = new MechSuit();
    nMech->SetPosition(200.0f, (float)cFloorY - MECH_HEIGHT + 30.0f);
    EntityManager::Fetch()->RegisterEntity("Second", nMech, DeleteRootObject);
    nMech->Update();
    Hitbox tBox;
    nMech->GetHitbox(tBox);
    EXPECT_FLOAT_EQ(tBox.mBot, (float)cFloorY);
    EXPECT_FLOAT_EQ(tBox.mLft, 200.0f);
}

// Her death starts the level over, the mech included: it goes back to where the map placed
// it, and she does not find herself in it again as she lands.
TEST_F(MechTest, AfterHerDeathTheMechStandsWhereTheMapPlacedIt)
{
    MapManager::Fetch()->SetMechLocation(300, cFloorY - 67);
    mPlayer->SetStartPosition(100.0f, (float)(cFloorY - 52));
    Board();
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(30);
    SetKey(ALLEGRO_KEY_RIGHT, false);
    float tX, tY, tZ;
    mMech->GetPosition(tX, tY, tZ);
    ASSERT_GT(tX, 360.0f);

    mPlayer->SetHealth(1);
    AddEnemyShot(X(), Y(), 3);
    Tick();
    ASSERT_TRUE(mPlayer->IsDying());
    for(int32_t i = 0; i < 400 && (mPlayer->IsDying() || mPlayer->IsTeleporting()); i++) Tick();
    Tick(2);
    ASSERT_FALSE(mPlayer->IsDying());
    EXPECT_EQ(mPlayer->GetMech(), nullptr);
    EXPECT_FALSE(mMech->IsRidden());
    mMech->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 300.0f);
    EXPECT_FLOAT_EQ(tY, (float)cFloorY - 67.0f);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, (float)cFloorY);
}

// Ridden, too, it climbs out of the floor (a warp sets her down by her foot box) and she walks
// it away; a box with no free place within the rise allowed stays where it is.
TEST_F(MechTest, ARiddenMechSetDownInsideTheFloorClimbsOut)
{
    const ClipWorld tWorld = MapManager::Fetch()->GetClipWorld();
    Hitbox tDeep = HitboxFromEdges(200.0f, 410.0f, 230.0f, 477.0f);
    EXPECT_FALSE(RiseOutOfSolid(tWorld, tDeep, 67));
    EXPECT_FLOAT_EQ(tDeep.mTop, 410.0f);
    Hitbox tSunk = HitboxFromEdges(200.0f, 340.5f, 230.0f, 407.5f);
    EXPECT_TRUE(RiseOutOfSolid(tWorld, tSunk, 67));
    EXPECT_FLOAT_EQ(tSunk.mBot, (float)cFloorY + 0.5f);
    EXPECT_TRUE(BoxAllFree(tWorld, tSunk));

    Board();
    mPlayer->SetPositionAutoCenter(350.0f, (float)(cFloorY - 52), 0.0f);
    Tick(2);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, (float)cFloorY);
    SetKey(ALLEGRO_KEY_RIGHT, true);
    Tick(10);
    SetKey(ALLEGRO_KEY_RIGHT, false);
    EXPECT_GT(X(), 370.0f);
    Hitbox tBox;
    mMech->GetHitbox(tBox);
    EXPECT_FLOAT_EQ(tBox.mBot, (float)cFloorY);
}
