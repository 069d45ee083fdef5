#include "actors/PlayerWeapon.h"
#include "actors/WeaponProjectiles.h"

#include "support/EnemyWorld.h"
#include "world/Door.h"
#include "world/MovingContainer.h"

#include <cmath>

// The special weapons against real enemies: the enemy's damage intake publishes the enemy it
// strikes, and the weapons' hooks react to it.
namespace
{
    class WeaponEnemyTest : public EnemyWorld
    {
    protected:
        EntityManager *Entities() { return EntityManager::Fetch(); }

        template <class T> T *Register(const char *pKind, T *pProjectile, float pX, float pY)
        {
            pProjectile->SetPosition(pX, pY);
            pProjectile->SetBlockAutoOffscreenDestruction(1);
            Entities()->RegisterProjectile(pKind, pProjectile, DeleteRootObject);
            return pProjectile;
        }

        // A weak enemy that may be thrown, to her right, fetched by a fresh grabber.
        RockWreckerProjectile *GrabRock(Enemy *&sRock)
        {
            sRock = MakeEnemy("Rock", 180.0f, 370.0f, 20.0f, 2);
            sRock->GetData()->SetStrictFlag(0);
            sRock->GetData()->AddNumberEntry("bCanBeThrown", 1.0f);
            sRock->SetDestructionScript(Script("enemy_mark_death.lua").c_str());
            mPlayer->SelectWeapon(6);
            mPlayer->Shoot();
            RockWreckerProjectile *rGrabber =
                dynamic_cast<RockWreckerProjectile *>(Entities()->FindByName("PROJ|" ROCK_WRECKER_KIND "|"));
            if(!rGrabber) return nullptr;
            // The fixture's camera frame does not cover the stage.
            rGrabber->SetBlockAutoOffscreenDestruction(1);
            for(int32_t i = 0; i < 120 && rGrabber->IsSeeking(); i++) Tick();
            return rGrabber;
        }

        int32_t CountSmallCutters()
        {
            return Entities()->CountProjectilesNamed(NCUTTER_SMALL_KIND);
        }
    };
}

TEST_F(WeaponEnemyTest, LightningBitStrikesTheEnemyItTouchesOnce)
{
    Enemy *rEnemy = MakeEnemy("Target", 300.0f, 300.0f, 32.0f, 10);
    LightningBitProjectile *rBit = Register(LIGHTNING_BIT_KIND, new LightningBitProjectile(), 310.0f, 310.0f);
    const int32_t tBitID = rBit->GetID();
    Tick();
    // The touch struck it down: it lives on as a column that will not hit this enemy again.
    ASSERT_TRUE(Alive(tBitID));
    EXPECT_TRUE(rBit->IsStriking());
    EXPECT_TRUE(rBit->IsInHitList(rEnemy->GetID()));
    // The touch is charged at the bit's damage before the strike, through the enemy's table.
    const int32_t tAfterTouch = 10 - rEnemy->GetDamageTakenFrom(1);
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), tAfterTouch);
    Tick(4);
    EXPECT_FALSE(Alive(tBitID));
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), tAfterTouch);
}

// The projectiles of the weapons that fire nothing: a shield-sized pane that keeps hitting,
// runs no script of its own and stays where it was put.
TEST_F(WeaponEnemyTest, InertWeaponProjectilesOutlastTheirHitsAndRunNothing)
{
    InertWeaponProjectile *(*const cMakers[])() = {
        []() -> InertWeaponProjectile * { return new ChaosBlasterProjectile(); },
        []() -> InertWeaponProjectile * { return new SonicBusterProjectile(); },
        []() -> InertWeaponProjectile * { return new CausticSprayProjectile(); },
    };
    for(auto rMake : cMakers)
    {
        Enemy *rEnemy = MakeEnemy("Target", 300.0f, 300.0f, 32.0f, 50);
        InertWeaponProjectile *rPane = Register("Pane", rMake(), 290.0f, 280.0f);
        rPane->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
        rPane->SetDamage(1);
        rPane->SetLogicScript(Script("proj_hook.lua").c_str());
        EXPECT_FLOAT_EQ(rPane->GetHitboxPtr()->mRgt - rPane->GetHitboxPtr()->mLft, 15.0f);
        EXPECT_FLOAT_EQ(rPane->GetHitboxPtr()->mBot - rPane->GetHitboxPtr()->mTop, 55.0f);
        Tick(3);
        EXPECT_TRUE(Alive(rPane->GetID()));
        EXPECT_LT(rEnemy->GetHealth()->GetHealth(), 50);
        EXPECT_FLOAT_EQ(rPane->GetHitboxPtr()->mLft, 290.0f);
        EXPECT_EQ(GlobalString("proj_hook_log"), "<nil>");
        Entities()->ClearEntities();
    }
}

TEST_F(WeaponEnemyTest, LargeCutterSplitsOnTheOnlyEnemy)
{
    Enemy *rEnemy = MakeEnemy("Lone", 300.0f, 300.0f, 32.0f, 10);
    NightmareCutterProjectile *rCutter = Register(NCUTTER_LARGE_KIND, new NightmareCutterProjectile(true, 0.0f), 316.0f, 316.0f);
    rCutter->SetSpeeds(0.0f, 0.0f);
    const int32_t tCutterID = rCutter->GetID();
    Tick();
    EXPECT_FALSE(Alive(tCutterID));
    EXPECT_EQ(CountSmallCutters(), 3);
    EXPECT_LT(rEnemy->GetHealth()->GetHealth(), 10);
    // None of the small ones hurts the enemy the large one hit.
    int32_t tHealth = rEnemy->GetHealth()->GetHealth();
    Tick();
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), tHealth);
}

TEST_F(WeaponEnemyTest, BeamSplitsOnAnEnemyAndLivesOn)
{
    Enemy *rEnemy = MakeEnemy("Target", 300.0f, 300.0f, 32.0f, 20);
    PrismaticBeamProjectile *rBeam = Register(PRISMATIC_BEAM_KIND, new PrismaticBeamProjectile(), 310.0f, 316.0f);
    rBeam->SetSpeeds(0.0f, 0.0f);
    const int32_t tBeamID = rBeam->GetID();
    Tick();
    ASSERT_TRUE(Alive(tBeamID));
    EXPECT_TRUE(rBeam->IsSplit());
    EXPECT_TRUE(rBeam->IsInHitList(rEnemy->GetID()));
}

// Deflected by an enemy's blocking contact box, each weapon spares that enemy as it spares one
// it hits: the column and the beam carry a hit record for it, and a large cutter's split
// leaves it out and aims at the other enemy. Only the weapon moves once the boxes are placed:
// what it spawns starts inside the blocker and would be deflected in turn.
TEST_F(WeaponEnemyTest, AWeaponDeflectedByAnEnemySparesThatEnemy)
{
    Enemy *rShield = nullptr;
    Enemy *rOther = nullptr;
    auto Deflect = [&](RootProjectile *pWeapon, const char *pKind) {
        Entities()->ClearEntities();
        rShield = MakeEnemy("Shield", 300.0f, 300.0f, 32.0f, 20);
        rShield->SetBusterBlocker(1);
        rOther = MakeEnemy("Other", 100.0f, 300.0f, 32.0f, 20);
        Tick();
        Register(pKind, pWeapon, 316.0f, 316.0f)->SetSpeeds(0.0f, 0.0f);
        pWeapon->Update();
        EXPECT_EQ(rShield->GetHealth()->GetHealth(), 20) << pKind;
    };

    LightningBitProjectile *rBit = new LightningBitProjectile();
    Deflect(rBit, LIGHTNING_BIT_KIND);
    ASSERT_TRUE(rBit->IsStriking());
    EXPECT_TRUE(rBit->IsInHitList(rShield->GetID()));

    PrismaticBeamProjectile *rBeam = new PrismaticBeamProjectile();
    Deflect(rBeam, PRISMATIC_BEAM_KIND);
    ASSERT_TRUE(rBeam->IsSplit());
    EXPECT_TRUE(rBeam->IsInHitList(rShield->GetID()));

    Deflect(new NightmareCutterProjectile(true, 0.0f), NCUTTER_LARGE_KIND);
    ASSERT_EQ(CountSmallCutters(), 3);
    // The other enemy lies to the left: a, a + 15 degrees and a - 15 degrees all point left.
    NamedLinkedList *nSmall = Entities()->ListByTypeRange(TYPE_ROOTPROJECTILE, TYPE_PROJECTILE_LAST);
    int32_t tSeen = 0;
    for(void *rData = nSmall->PushIterator(); rData; rData = nSmall->IterateNext())
    {
        NightmareCutterProjectile *rSmall = dynamic_cast<NightmareCutterProjectile *>((RootEntity *)rData);
        if(!rSmall || rSmall->IsLarge()) continue;
        tSeen++;
        EXPECT_TRUE(rSmall->IsInHitList(rShield->GetID()));
        EXPECT_LT(cosf(rSmall->GetAngle()), -0.9f) << rSmall->GetAngle();
    }
    delete nSmall;
    EXPECT_EQ(tSeen, 3);
}

TEST_F(WeaponEnemyTest, RockWreckerGrabsAWeakEnemyAndThrowsIt)
{
    Enemy *rEnemy = nullptr;
    RockWreckerProjectile *rGrabber = GrabRock(rEnemy);
    ASSERT_NE(rGrabber, nullptr);
    EXPECT_EQ(Entities()->CountProjectilesNamed(ROCK_WRECKER_KIND), 1);
    EXPECT_EQ(mPlayer->GetWeapon(6)->GetAmmo(), 28);
    ASSERT_EQ(rGrabber->GetHeld(), rEnemy);
    // Held: out of the entity list, with its contact box, but not destroyed.
    EXPECT_FALSE(Alive(rEnemy->GetID()));
    RootProjectile *rContact = rEnemy->GetContactProjectile();
    ASSERT_NE(rContact, nullptr);
    EXPECT_FALSE(Entities()->GetEntityList()->ContainsData(rContact));

    // It is brought to her front, then thrown away from her; a landing destroys it.
    Tick(60);
    float tX, tY, tZ;
    rGrabber->GetPosition(tX, tY, tZ);
    EXPECT_NEAR(tX, mPlayer->GetHitboxPtr()->mRgt + 16.0f, 2.0f);
    mPlayer->Shoot();
    EXPECT_TRUE(rGrabber->IsThrown());
    EXPECT_FALSE(rGrabber->Throw());
    int32_t tGrabberID = rGrabber->GetID();
    for(int32_t i = 0; i < 300 && Alive(tGrabberID); i++) Tick();
    EXPECT_FALSE(Alive(tGrabberID));
    EXPECT_EQ(GlobalNumber("gDeaths"), 1.0);
    EXPECT_EQ(GlobalString("gDeadName"), "Rock");
}

TEST_F(WeaponEnemyTest, AThrownEnemyEndsOnTheEnemyItHitsAndAGrabberGoneTakesItsCatch)
{
    Enemy *rEnemy = nullptr;
    RockWreckerProjectile *rGrabber = GrabRock(rEnemy);
    ASSERT_NE(rGrabber, nullptr);
    ASSERT_EQ(rGrabber->GetHeld(), rEnemy);
    Tick(60);
    float tX, tY, tZ;
    rGrabber->GetPosition(tX, tY, tZ);
    Enemy *rTarget = MakeEnemy("Target", tX - 20.0f, tY - 20.0f, 48.0f, 10);
    const int32_t tTargetID = rTarget->GetID();
    const int32_t tGrabberID = rGrabber->GetID();
    mPlayer->Shoot();
    for(int32_t i = 0; i < 4 && Alive(tGrabberID); i++) Tick();
    EXPECT_FALSE(Alive(tGrabberID));
    ASSERT_TRUE(Alive(tTargetID));
    EXPECT_LT(rTarget->GetHealth()->GetHealth(), 10);
    EXPECT_EQ(GlobalNumber("gDeaths"), 1.0);

    // Removed while holding, the grabber deletes the enemy it holds without its script.
    rGrabber = GrabRock(rEnemy);
    ASSERT_NE(rGrabber, nullptr);
    ASSERT_EQ(rGrabber->GetHeld(), rEnemy);
    const int32_t tSecondID = rGrabber->GetID();
    rGrabber->SetDestruct(1);
    Tick();
    EXPECT_FALSE(Alive(tSecondID));
    EXPECT_EQ(GlobalNumber("gDeaths"), 1.0);
}

// On the tick it grabs, the grabber still takes its heading toward the enemy it grabbed.
TEST_F(WeaponEnemyTest, RockWreckerHeadsForWhatItGrabsOnTheGrabTick)
{
    Enemy *rRock = MakeEnemy("Rock", 300.0f, 300.0f, 20.0f, 2);
    rRock->GetData()->SetStrictFlag(0);
    rRock->GetData()->AddNumberEntry("bCanBeThrown", 1.0f);
    // Ten units left of the rock's centre, standing still.
    RockWreckerProjectile *rGrabber = Register(ROCK_WRECKER_KIND, new RockWreckerProjectile(), 300.0f, 310.0f);
    rGrabber->SetSpeeds(0.0f, 0.0f);
    rGrabber->RunLogic();
    ASSERT_EQ(rGrabber->GetHeld(), rRock);
    float tX, tY, tZ;
    rGrabber->GetSpeeds(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 5.0f);
    EXPECT_NEAR(tY, 0.0f, 1.0e-5f);
}

TEST_F(WeaponEnemyTest, StrongEnemiesAreNotGrabbed)
{
    Enemy *rEnemy = MakeEnemy("Boulder", 180.0f, 370.0f, 20.0f, 10);
    rEnemy->GetData()->SetStrictFlag(0);
    rEnemy->GetData()->AddNumberEntry("bCanBeThrown", 1.0f);
    mPlayer->SelectWeapon(6);
    mPlayer->Shoot();
    RockWreckerProjectile *rGrabber =
        dynamic_cast<RockWreckerProjectile *>(Entities()->FindByName("PROJ|" ROCK_WRECKER_KIND "|"));
    ASSERT_NE(rGrabber, nullptr);
    // The fixture's camera frame does not cover the stage.
    rGrabber->SetBlockAutoOffscreenDestruction(1);
    const int32_t tEnemyID = rEnemy->GetID();
    Tick(40);
    EXPECT_EQ(rGrabber->GetHeld(), nullptr);
    ASSERT_TRUE(Alive(tEnemyID));
    EXPECT_GT(rEnemy->GetHealth()->GetHealth(), 2);
    // Firing again with nothing held throws nothing.
    mPlayer->Shoot();
    EXPECT_FALSE(rGrabber->IsThrown());
}

TEST_F(WeaponEnemyTest, DoorClearsEnemiesAndPlatformsCarryThem)
{
    // Both stand on the lift; only the one that heeds platforms rides it.
    Enemy *rRider = MakeEnemy("Rider", 232.0f, 284.0f, 16.0f, 5);
    Enemy *rAloof = MakeEnemy("Aloof", 262.0f, 284.0f, 16.0f, 5);
    rAloof->SetIgnorePlatformCollision(1);
    Run("MovingContainer_Create('Lift') "
        "Proj_SetProperty('Dimensions', 0, 0, 64, 16) "
        "Proj_SetProperty('Position', 220, 300) "
        "MovingContainer_PushPropertyAsActiveObject('AIMovementHandler') "
        "AIMovementHandler_AddMovement('AIR_MOVEMENT') "
        "AIMovementHandler_SetProperty('DestinationPosition', 260, 300) "
        "AIMovementHandler_SetProperty('Speed', 2, 2) "
        "AIMovementHandler_SetProperty('IgnoreEnvironmentCollision', true) "
        "DL_PopActiveEntity() "
        "DL_PopActiveEntity()");
    MovingContainer *rLift = dynamic_cast<MovingContainer *>(Entities()->GetEntity("Lift"));
    ASSERT_NE(rLift, nullptr);
    EXPECT_TRUE(rLift->IsEnemyOnPlatform());
    float tLiftLeft = rLift->GetHitboxPtr()->mLft;
    float tLeft = rRider->GetHitboxPtr()->mLft;
    float tAloofLeft = rAloof->GetHitboxPtr()->mLft;
    rLift->Update();
    float tMoved = rLift->GetHitboxPtr()->mLft - tLiftLeft;
    EXPECT_GT(tMoved, 0.0f);
    EXPECT_FLOAT_EQ(rRider->GetHitboxPtr()->mLft, tLeft + tMoved);
    EXPECT_FLOAT_EQ(rAloof->GetHitboxPtr()->mLft, tAloofLeft);

    // Enemies listed before the door go on the tick after it opens.
    Door *nDoor = new Door();
    nDoor->SetHitbox(0.0f, 0.0f, 640.0f, 480.0f);
    Entities()->RegisterEntity("Door", nDoor, DeleteRootObject);
    int32_t tRider = rRider->GetID();
    int32_t tAloof = rAloof->GetID();
    int32_t tLift = rLift->GetID();
    Tick(2);
    EXPECT_FALSE(Alive(tRider));
    EXPECT_FALSE(Alive(tAloof));
    EXPECT_TRUE(Alive(tLift));
}

TEST_F(WeaponEnemyTest, PlatformFollowsItsMovementHandler)
{
    Run("MovingContainer_Create('Lift') "
        "Proj_SetProperty('Dimensions', 0, 0, 64, 16) "
        "Proj_SetProperty('Position', 200, 300) "
        "MovingContainer_PushPropertyAsActiveObject('AIMovementHandler') "
        "AIMovementHandler_AddMovement('AIR_MOVEMENT') "
        "AIMovementHandler_SetProperty('DestinationPosition', 260, 300) "
        "AIMovementHandler_SetProperty('Speed', 2, 2) "
        "AIMovementHandler_SetProperty('IgnoreEnvironmentCollision', true) "
        "DL_PopActiveEntity() "
        "MovingContainer_PushPropertyAsActiveObject('Nothing') "
        "DL_PopActiveEntity() "
        "DL_PopActiveEntity()");
    MovingContainer *rLift = dynamic_cast<MovingContainer *>(Entities()->GetEntity("Lift"));
    ASSERT_NE(rLift, nullptr);
    mPlayer->SetPositionAutoCenter(210.0f, 248.0f, 0.0f);
    Tick(3);
    float tOffset = mPlayer->GetHitboxPtr()->mLft - rLift->GetHitboxPtr()->mLft;
    Tick(10);
    EXPECT_GT(rLift->GetHitboxPtr()->mLft, 210.0f);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mLft - rLift->GetHitboxPtr()->mLft, tOffset);
}
