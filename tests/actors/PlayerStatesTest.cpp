#include "support/PlayerWorld.h"

#include "core/render/CorvelAnimation.h"

#include "world/Checkpoint.h"
#include "world/DamageZone.h"
#include "world/LadderZone.h"

using PlayerStatesTest = PlayerWorld;

TEST_F(PlayerStatesTest, TeleportInDropsToTheFloorAndLastsOneHundredEightyTicks)
{
    mPlayer->SetStartPosition(100.0f, 200.0f);
    mPlayer->SetVelocity(3.0f, -8.0f);
    mPlayer->AddControlLock("Script");
    mPlayer->BeginTeleportIn();
    float tX, tY;
    mPlayer->GetRespawnPosition(tX, tY);
    EXPECT_FLOAT_EQ(tX, 100.0f);
    EXPECT_FLOAT_EQ(tY, (float)(cFloorY - 52));
    EXPECT_FLOAT_EQ(VY(), 0.0f);

    Tick(99);
    EXPECT_EQ(Plays("TeleportIn"), 0);
    Tick();
    EXPECT_EQ(Plays("TeleportIn"), 1);
    Tick(79);
    EXPECT_TRUE(mPlayer->IsTeleporting());
    EXPECT_TRUE(mPlayer->IsControlLocked());
    Tick();
    EXPECT_FALSE(mPlayer->IsTeleporting());
    EXPECT_FALSE(mPlayer->IsControlLocked());
    EXPECT_FALSE(mPlayer->IsFacingLeft());
    EXPECT_FLOAT_EQ(Y(), (float)(cFloorY - 52));
}

// A hit on the first tick after her first teleport-in comes before she has ever read the
// controls; the injury must still end and give them back.
TEST_F(PlayerStatesTest, HitBeforeTheFirstControlReadStillEnds)
{
    mPlayer->BeginTeleportIn();
    Tick(180);
    ASSERT_FALSE(mPlayer->IsTeleporting());
    ASSERT_EQ(nullptr, mPlayer->GetControlSnapshot());
    AddEnemyShot(X(), Y(), 3);
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), 15);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    Tick(23);
    EXPECT_FALSE(mPlayer->IsControlLocked());
    EXPECT_EQ(-1, mPlayer->GetInjuryTimer());
    Tick();
    EXPECT_NE(nullptr, mPlayer->GetControlSnapshot());
}

TEST_F(PlayerStatesTest, HitKnocksBackLocksForTwentyFourTicksThenFlickers)
{
    Tick(2);
    const float tStart = X();
    AddEnemyShot(X(), Y(), 3);
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), 15);
    EXPECT_EQ(Plays("KestraInjured"), 1);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    // The hit tick is the first of the 24 injured ticks.
    Tick(22);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    Tick();
    EXPECT_FALSE(mPlayer->IsControlLocked());
    EXPECT_EQ(mPlayer->GetInvulnerability(), 119);
    EXPECT_NEAR(X() - tStart, -48.0f, 2.0f);

    int32_t tHidden = 0;
    for(int32_t i = 0; i < 8; i++)
    {
        if(mPlayer->IsFlickerHidden()) tHidden++;
        Tick();
    }
    EXPECT_EQ(tHidden, 4);
    // The shot was used up by the hit; nothing else hurts during the invulnerability.
    AddEnemyShot(X(), Y(), 3);
    Tick(10);
    EXPECT_EQ(mPlayer->GetHealth(), 15);
}

// The knock-back drives her air speed only until she lands: a later air dash, let go with no
// direction held, must stop her rather than carry her on at dash speed.
TEST_F(PlayerStatesTest, KnockBackEndsOnLandingAndDoesNotCarryIntoLaterAirMoves)
{
    Tick(2);
    AddEnemyShot(X(), Y(), 3);
    Tick(40);
    ASSERT_TRUE(mPlayer->IsOnGround());
    ASSERT_FALSE(mPlayer->IsControlLocked());

    SetKey(ALLEGRO_KEY_Z, true);
    Tick(8);
    SetKey(ALLEGRO_KEY_C, true);
    Tick(5);
    ASSERT_TRUE(mPlayer->IsDashing());
    SetKey(ALLEGRO_KEY_C, false);
    Tick(2);
    EXPECT_FALSE(mPlayer->IsDashing());
    const float tStop = X();
    Tick(5);
    EXPECT_FLOAT_EQ(VX(), 0.0f);
    EXPECT_FLOAT_EQ(X(), tStop);
}

TEST_F(PlayerStatesTest, DeathRunsOneHundredSixtyEightTicksWithItsSoundsThenRespawnsAtTheCheckpoint)
{
    Checkpoint *nCheckpoint = new Checkpoint("Gate");
    nCheckpoint->SetRect(90.0f, 300.0f, 140.0f, 400.0f);
    nCheckpoint->SetRespawnLocation(300.0f, 100.0f);
    ASSERT_TRUE(RegisterZone(CHECKPOINT_LIST_NAME, nCheckpoint));
    Tick(2);
    EXPECT_TRUE(nCheckpoint->IsActivated());
    EXPECT_EQ(mPlayer->GetActiveCheckpoint(), nCheckpoint);

    mPlayer->SetHealth(2);
    AddEnemyShot(X(), Y(), 5);
    Tick();
    EXPECT_TRUE(mPlayer->IsDying());
    Tick(31);
    EXPECT_EQ(Plays("KestraDying"), 1);
    Tick(24);
    EXPECT_EQ(Plays("TeleportOut"), 1);
    Tick(112);
    EXPECT_TRUE(mPlayer->IsDying());
    Tick();
    EXPECT_FALSE(mPlayer->IsDying());
    EXPECT_TRUE(mPlayer->IsTeleporting());
    EXPECT_FLOAT_EQ(X(), 300.0f);
    EXPECT_FLOAT_EQ(Y(), (float)(cFloorY - 52));

    // A new map's special lists take the checkpoint with them; the player lets go of it.
    EntityManager::Fetch()->ResetSpecialLists();
    EXPECT_EQ(mPlayer->GetActiveCheckpoint(), nullptr);
    float tX, tY;
    mPlayer->GetRespawnPosition(tX, tY);
    EXPECT_FLOAT_EQ(tX, -1.0f);
}

// Health 0 is death, not a last injury: she dies under the "Death" lock with no knock-back.
TEST_F(PlayerStatesTest, AHitThatLeavesExactlyNoHealthKills)
{
    Tick(2);
    mPlayer->SetHealth(3);
    AddEnemyShot(X(), Y(), 3);
    Tick();
    ASSERT_EQ(mPlayer->GetHealth(), 0);
    EXPECT_TRUE(mPlayer->IsDying());
    EXPECT_EQ(mPlayer->GetInjuryTimer(), -1);
    mPlayer->RemoveControlLock("Injury");
    EXPECT_TRUE(mPlayer->IsControlLocked());
    mPlayer->RemoveControlLock("Death");
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

TEST_F(PlayerStatesTest, DeathPitKillsThroughInvulnerabilityUnlessGodMode)
{
    DamageZone *nPit = new DamageZone();
    nPit->SetRect(0.0f, 300.0f, 640.0f, 400.0f);
    nPit->SetDeathPit(1);
    ASSERT_TRUE(RegisterZone(DAMAGE_ZONE_LIST_NAME, nPit));
    mGodMode = 1;
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), 18);
    EXPECT_FALSE(mPlayer->IsDying());
    EXPECT_NE(mPlayer->GetInjuryTimer(), -1);

    mGodMode = 0;
    Tick(30);
    EXPECT_TRUE(mPlayer->IsDying());
}

// GodMode spares her in a death pit but must not hold her there: the pit's hit plays once,
// health unchanged, and once it is over she is brought back to the start, where the teleport-in
// hands her controls (and the pause key, which waits on them) back.
TEST_F(PlayerStatesTest, GodModeDeathPitHitsOnceThenBringsHerBack)
{
    DamageZone *nPit = new DamageZone();
    nPit->SetRect(300.0f, 300.0f, 640.0f, 400.0f);
    nPit->SetDeathPit(1);
    ASSERT_TRUE(RegisterZone(DAMAGE_ZONE_LIST_NAME, nPit));
    mGodMode = 1;
    mPlayer->SetStartPosition(100.0f, 300.0f);
    mPlayer->SetPositionAutoCenter(420.0f, (float)(cFloorY - 52), 0.0f);
    Tick();
    EXPECT_EQ(mPlayer->GetInjuryTimer(), 1);
    EXPECT_EQ(Plays("KestraInjured"), 1);

    // The hit's 24 ticks play out in the pit before anything brings her back.
    Tick(22);
    EXPECT_NE(mPlayer->GetInjuryTimer(), -1);
    EXPECT_FALSE(mPlayer->IsTeleporting());
    EXPECT_GT(X(), 300.0f);

    Tick(8);
    EXPECT_EQ(Plays("KestraInjured"), 1);
    EXPECT_EQ(mPlayer->GetHealth(), 18);
    EXPECT_FALSE(mPlayer->IsDying());
    EXPECT_TRUE(mPlayer->IsTeleporting());
    EXPECT_FLOAT_EQ(X(), 100.0f);

    Tick(180);
    EXPECT_FALSE(mPlayer->IsTeleporting());
    EXPECT_FALSE(mPlayer->IsControlLocked());
    EXPECT_EQ(Plays("KestraInjured"), 1);
}

TEST_F(PlayerStatesTest, LateHitsCountOnlyForTimedProjectilesAtHalfDamage)
{
    Tick(2);
    AddEnemyShot(X(), Y(), 2);
    Tick(25);
    ASSERT_EQ(mPlayer->GetHealth(), 16);
    ASSERT_GT(mPlayer->GetInvulnerability(), 100);
    Tick(20);
    AddEnemyShot(X(), Y(), 3);
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), 16);
    RootProjectile *rTimed = AddEnemyShot(X(), Y(), 4);
    rTimed->SetInvincibleTimer(1, 60);
    Tick();
    EXPECT_EQ(mPlayer->GetHealth(), 14);
}

TEST_F(PlayerStatesTest, HealingProjectileSetsThePendingHeal)
{
    Tick(2);
    AddEnemyShot(X(), Y(), -6);
    Tick();
    EXPECT_EQ(mPlayer->GetPendingHeal(), 6);
    EXPECT_EQ(mPlayer->GetHealth(), 18);
}

TEST_F(PlayerStatesTest, ControlLocksStackByName)
{
    mPlayer->AddControlLock("Door");
    mPlayer->AddControlLock("Door");
    mPlayer->RemoveControlLock("Door");
    EXPECT_FALSE(mPlayer->IsControlLocked());
    mPlayer->RemoveControlLock("Nothing");
    mPlayer->RemoveControlLock(nullptr);

    mPlayer->AddControlLock("A");
    mPlayer->AddControlLock("B");
    mPlayer->RemoveControlLock("A");
    EXPECT_TRUE(mPlayer->IsControlLocked());
    mPlayer->RemoveControlLock("B");
    EXPECT_FALSE(mPlayer->IsControlLocked());

    mPlayer->AddControlLock("Cut1");
    mPlayer->AddControlLock("Cut2");
    mPlayer->AddControlLock("Other");
    mPlayer->RemoveControlLocksByPrefix("Cut");
    EXPECT_TRUE(mPlayer->IsControlLocked());
    mPlayer->RemoveControlLock("Other");
    EXPECT_FALSE(mPlayer->IsControlLocked());

    // A locked player sees no controls.
    Tick(2);
    mPlayer->AddControlLock("Script");
    SetKey(ALLEGRO_KEY_RIGHT, true);
    const float tStart = X();
    Tick(5);
    EXPECT_FLOAT_EQ(X(), tStart);
    EXPECT_FALSE(mPlayer->IsControlDown("Right"));
    mPlayer->RemoveControlLock("Script");
    Tick();
    EXPECT_TRUE(mPlayer->IsControlDown("Right"));
    SetKey(ALLEGRO_KEY_LEFT, true);
    Tick();
    EXPECT_FALSE(mPlayer->IsControlDown("Right"));
}

TEST_F(PlayerStatesTest, WeaponSelectionClampsAndClearingRespawnStateDropsTheLadder)
{
    mPlayer->SelectWeapon(3);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), 3);
    mPlayer->SelectWeapon(9);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), -1);
    mPlayer->SelectWeapon(-4);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), -1);

    LadderZone *nLadder = new LadderZone();
    nLadder->SetRect(90.0f, 250.0f, 130.0f, (float)cFloorY);
    ASSERT_TRUE(RegisterZone(LADDER_LIST_NAME, nLadder));
    Tick(2);
    SetKey(ALLEGRO_KEY_UP, true);
    Tick();
    ASSERT_TRUE(mPlayer->IsOnLadder());
    EntityManager::Fetch()->ResetSpecialLists();
    EXPECT_FALSE(mPlayer->IsOnLadder());
    Tick(3);
}

TEST_F(PlayerStatesTest, CameraFocusModes)
{
    float tX, tY;
    mPlayer->ComputeCameraFocus(tX, tY);
    EXPECT_FLOAT_EQ(tX, 109.5f);
    EXPECT_FLOAT_EQ(tY, (float)(cFloorY - 26 - 20));

    mPlayer->SetCameraVars(2, 0.0f, 3.0f, 0, 0.0f, 0.0f);
    mPlayer->SetVelocity(1.0f, 0.0f);
    for(int32_t i = 0; i < 5; i++) mPlayer->ComputeCameraFocus(tX, tY);
    EXPECT_FLOAT_EQ(tX, 112.5f);
    mPlayer->SetCameraVars(-2, 0.0f, 3.0f, 0, 0.0f, 0.0f);
    mPlayer->SetVelocity(0.0f, 0.0f);
    mPlayer->ComputeCameraFocus(tX, tY);
    EXPECT_FLOAT_EQ(tX, 112.5f);

    // Without a camera the window is centred on 0: beyond +100 the focus follows by whole units.
    mPlayer->SetCameraVars(1, -100.0f, 100.0f, 0, 0.0f, 0.0f);
    mPlayer->ComputeCameraFocus(tX, tY);
    EXPECT_FLOAT_EQ(tX, 9.0f);
}

TEST_F(PlayerStatesTest, IdlePoseBreathesHardBelowAQuarterOfMaxHealth)
{
    CorvelAnimation *nIdle = new CorvelAnimation();
    mPlayer->SetAnimationSlot(PLAYER_ANIM_IDLE, nIdle);
    Tick(10);
    ASSERT_TRUE(mPlayer->IsOnGround());

    // 5 of 18 is above a quarter: the plain standing frame.
    mPlayer->SetHealth(5);
    mPlayer->ChooseAnimationFrame();
    EXPECT_EQ(mPlayer->GetCurrentAnimation(), nIdle);
    EXPECT_EQ(mPlayer->GetShownFrame(), 5);

    // 4 of 18 is below a quarter (4.5): the breathing cycle, frames 0 to 4.
    mPlayer->SetHealth(4);
    mPlayer->ChooseAnimationFrame();
    EXPECT_LT(mPlayer->GetShownFrame(), 5);

    mPlayer->SetAnimationSlot(PLAYER_ANIM_IDLE, nullptr);
    delete nIdle;
}
