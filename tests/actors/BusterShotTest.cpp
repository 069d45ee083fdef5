#include "support/PlayerWorld.h"

#include "actors/ChargeSpark.h"
#include "actors/PlayerWeapon.h"

#include <string>

using BusterShotTest = PlayerWorld;

namespace
{
    RootProjectile *LastShot()
    {
        RootProjectile *rFound = nullptr;
        NamedLinkedList *rList = EntityManager::Fetch()->GetEntityList();
        for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
        {
            if(!strncmp(rList->GetIteratorName(), "PROJ|KestraShot|", 16)) rFound = (RootProjectile *)rData;
        }
        return rFound;
    }
}

TEST_F(BusterShotTest, RanksFollowTheCharge)
{
    EXPECT_EQ(BusterRankForCharge(-1), 1);
    EXPECT_EQ(BusterRankForCharge(29), 1);
    EXPECT_EQ(BusterRankForCharge(30), 2);
    EXPECT_EQ(BusterRankForCharge(79), 2);
    EXPECT_EQ(BusterRankForCharge(80), 3);
}

TEST_F(BusterShotTest, PressFiresRankOneAndAChargedReleaseFiresRankTwoWithTheCooldown)
{
    Tick(2);
    SetKey(ALLEGRO_KEY_X, true);
    Tick();
    ASSERT_EQ(BusterShots(), 1);
    RootProjectile *rShot = LastShot();
    EXPECT_EQ(rShot->GetDamage(), 0);
    EXPECT_FALSE(rShot->IsPiercing());
    EXPECT_EQ(rShot->GetTargetFlags(), PROJECTILE_TARGET_ENEMIES);
    EXPECT_EQ(Plays("Rank1BusterShot"), 1);
    EXPECT_EQ(mPlayer->GetShotTimer(), 0);

    Tick(29);
    EXPECT_EQ(Plays("BusterCharging"), 0);
    Tick();
    EXPECT_EQ(Plays("BusterCharging"), 1);
    Tick(5);
    EXPECT_GT(mPlayer->CountLiveSparks(), 0);
    SetKey(ALLEGRO_KEY_X, false);
    Tick();
    ASSERT_EQ(BusterShots(), 2);
    rShot = LastShot();
    EXPECT_EQ(rShot->GetDamage(), 1);
    EXPECT_TRUE(rShot->IsPiercing());
    EXPECT_EQ(Plays("Rank2BusterShot"), 1);
    EXPECT_EQ(mPlayer->GetCharge(), -1);
    EXPECT_EQ(xShotCooldown, 15);

    // A rank 1 shot within the cool-down is silent.
    SetKey(ALLEGRO_KEY_X, true);
    Tick();
    EXPECT_EQ(BusterShots(), 3);
    EXPECT_EQ(Plays("Rank1BusterShot"), 1);
    Tick();
    EXPECT_EQ(mPlayer->CountLiveSparks(), 0);
}

TEST_F(BusterShotTest, AtMostThreeShotsLiveAndAShortChargeFiresNothingOnRelease)
{
    Tick(2);
    for(int32_t i = 0; i < 5; i++)
    {
        SetKey(ALLEGRO_KEY_X, true);
        Tick();
        SetKey(ALLEGRO_KEY_X, false);
        Tick();
    }
    EXPECT_EQ(BusterShots(), 3);

    // A fourth shot is refused without touching the shot timer.
    const int32_t tShotTimer = mPlayer->GetShotTimer();
    SetKey(ALLEGRO_KEY_X, true);
    Tick();
    EXPECT_EQ(mPlayer->GetShotTimer(), tShotTimer + 1);
}

TEST_F(BusterShotTest, FullChargeFiresRankThreeAndASelectedWeaponSilencesTheBuster)
{
    Tick(2);
    SetKey(ALLEGRO_KEY_X, true);
    Tick(81);
    SetKey(ALLEGRO_KEY_X, false);
    Tick();
    EXPECT_EQ(BusterShots(), 2);
    EXPECT_EQ(LastShot()->GetDamage(), 2);
    EXPECT_EQ(Plays("Rank3BusterShot"), 1);

    mPlayer->SelectWeapon(2);
    SetKey(ALLEGRO_KEY_X, true);
    Tick();
    EXPECT_EQ(BusterShots(), 2);
}

TEST_F(BusterShotTest, ShotOriginFollowsThePoseAndFacing)
{
    Tick(2);
    uint8_t tRight;
    float tDX, tDY;
    mPlayer->GetShotOrigin(tRight, tDX, tDY);
    EXPECT_EQ(tRight, 1);
    EXPECT_FLOAT_EQ(tDX, 10.0f);
    EXPECT_FLOAT_EQ(tDY, 5.0f);

    SetKey(ALLEGRO_KEY_Z, true);
    Tick(3);
    mPlayer->GetShotOrigin(tRight, tDX, tDY);
    EXPECT_FLOAT_EQ(tDY, -2.0f);
}

// Running left on the ground her muzzle sits 19 units ahead of her (9 + 10): the shot point is
// that far out on her left, for the buster and for every special weapon's spawn point.
TEST_F(BusterShotTest, ShotsFiredFacingLeftMirrorTheMuzzleOffset)
{
    Tick(2);
    SetKey(ALLEGRO_KEY_LEFT, true);
    Tick(10);
    uint8_t tRight;
    float tDX, tDY;
    mPlayer->GetShotOrigin(tRight, tDX, tDY);
    ASSERT_EQ(tRight, 0);
    ASSERT_FLOAT_EQ(tDX, 19.0f);
    ASSERT_FLOAT_EQ(tDY, 6.0f);
    const float tL = X();
    const float tT = Y();

    mPlayer->Shoot();
    RootProjectile *rShot = LastShot();
    ASSERT_NE(rShot, nullptr);
    EXPECT_FLOAT_EQ(rShot->GetHitboxPtr()->mOwnerX, tL - 3.0f - 19.0f);
    EXPECT_FLOAT_EQ(rShot->GetHitboxPtr()->mOwnerY, tT + 8.0f + 6.0f);

    struct
    {
        int32_t mSlot;
        const char *mKind;
        float mLeftX;
        float mDownY;
    } const cWeapons[] = {{0, "PROJ|" LIGHTNING_BIT_KIND "|", 3.0f, 8.0f},
                          {1, "PROJ|" NCUTTER_LARGE_KIND "|", 3.0f, 8.0f},
                          {2, "PROJ|" PRISMATIC_BEAM_KIND "|", 1.0f, 9.0f},
                          {5, "PROJ|" PERMAFROST_SHIELD_KIND "|", 3.0f, 8.0f},
                          {6, "PROJ|" ROCK_WRECKER_KIND "|", 3.0f, 8.0f}};
    for(const auto &rWeapon : cWeapons)
    {
        SCOPED_TRACE(rWeapon.mKind);
        mPlayer->SelectWeapon(rWeapon.mSlot);
        mPlayer->Shoot();
        RootEntity *rFired = EntityManager::Fetch()->FindByName(rWeapon.mKind);
        ASSERT_NE(rFired, nullptr);
        float tX, tY, tZ;
        rFired->GetPosition(tX, tY, tZ);
        EXPECT_FLOAT_EQ(tX, tL - rWeapon.mLeftX - 19.0f);
        EXPECT_FLOAT_EQ(tY, tT + rWeapon.mDownY + 6.0f);
    }
}

TEST(ChargeSparks, SpawnEveryFifthTickOnceChargedAndLiveThirtyThreeTicks)
{
    ChargeSpark tSparks[CHARGE_SPARK_COUNT];
    ResetChargeSparks(tSparks, CHARGE_SPARK_COUNT);
    int32_t tClock = 0;
    TickChargeSparks(tSparks, CHARGE_SPARK_COUNT, tClock, 29);
    EXPECT_EQ(tClock, 0);
    for(int32_t i = 0; i < 5; i++) TickChargeSparks(tSparks, CHARGE_SPARK_COUNT, tClock, 40);
    EXPECT_EQ(tSparks[0].mAge, 0);
    EXPECT_EQ(tSparks[0].mBig, 0);
    for(int32_t i = 0; i < 33; i++) TickChargeSparks(tSparks, CHARGE_SPARK_COUNT, tClock, 90);
    EXPECT_EQ(tSparks[0].mAge, -1);
    int32_t tLive = 0;
    for(int32_t i = 0; i < CHARGE_SPARK_COUNT; i++)
    {
        if(tSparks[i].mAge >= 0)
        {
            tLive++;
            EXPECT_EQ(tSparks[i].mBig, 1);
        }
    }
    EXPECT_EQ(tLive, 6);

    char tPath[64];
    BuildChargeSparkPath(tPath, sizeof(tPath), true, 5);
    EXPECT_STREQ(tPath, "Root/Animations/Kestra/BusterCharge/SimmerF");
    BuildChargeSparkPath(tPath, sizeof(tPath), false, 0);
    EXPECT_STREQ(tPath, "Root/Animations/Kestra/BusterCharge/ChargeA");
    TickChargeSparks(tSparks, CHARGE_SPARK_COUNT, tClock, -1);
    EXPECT_EQ(tSparks[1].mAge, -1);
}
