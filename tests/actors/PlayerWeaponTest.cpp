#include "actors/PlayerWeapon.h"
#include "actors/WeaponProjectiles.h"

#include "support/PlayerWorld.h"
#include "core/DataList.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/Particle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
    // Just enough of an enemy for the weapons: a type-11 entity at a point.
    class PointEnemy : public RootEntity
    {
    public:
        PointEnemy(float pX, float pY) : mX(pX), mY(pY) { mType = TYPE_ENEMY; }
        void GetPosition(float &sX, float &sY, float &sZ) override
        {
            sX = mX;
            sY = mY;
            sZ = 0.0f;
        }
        float mX, mY;
    };

    class PlayerWeaponTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            for(const char *rName : {"LightningStrike", "BusterDeflect"})
            {
                AudioPackage *nPackage = new AudioPackage(mLayer);
                nPackage->LoadSample(rName);
                AudioManager::Get()->AddSound(rName, nPackage);
            }
            // Let her land so her pose (and so the spawn point) is settled.
            Tick(5);
        }

        EntityManager *Entities() { return EntityManager::Fetch(); }

        int32_t Count(const char *pKind) { return Entities()->CountProjectilesNamed(pKind); }

        template <class T> T *Find(const char *pKind)
        {
            std::string tPrefix = std::string("PROJ|") + pKind + "|";
            return dynamic_cast<T *>(Entities()->FindByName(tPrefix.c_str()));
        }

        PointEnemy *AddEnemy(const char *pName, float pX, float pY)
        {
            PointEnemy *nEnemy = new PointEnemy(pX, pY);
            Entities()->RegisterEntity(pName, nEnemy, DeleteRootObject);
            return nEnemy;
        }

        void Fire(int32_t pSlot)
        {
            mPlayer->SelectWeapon(pSlot);
            mPlayer->Shoot();
        }

        // A second shot while the first is out makes nothing and costs nothing; with no
        // ammunition left even the first is refused.
        void ExpectOneAtATime(int32_t pSlot, const char *pKind, int32_t pAmmoAfterOne)
        {
            SCOPED_TRACE(pKind);
            Fire(pSlot);
            Fire(pSlot);
            EXPECT_EQ(mPlayer->GetWeapon(pSlot)->GetAmmo(), pAmmoAfterOne);
            EXPECT_EQ(Count(pKind), 1);
            Entities()->ClearEntities();
            mPlayer->GetWeapon(pSlot)->SetAmmo(0);
            Fire(pSlot);
            EXPECT_EQ(Count(pKind), 0);
        }
    };
}

TEST_F(PlayerWeaponTest, AmmoBarHeights)
{
    PlayerWeapon *rCutter = mPlayer->GetWeapon(1);
    PlayerWeapon *rBit = mPlayer->GetWeapon(0);
    EXPECT_EQ(rCutter->GetAmmoBarHeight(), 28);
    rCutter->SetAmmo(7);
    EXPECT_EQ(rCutter->GetAmmoBarHeight(), 14);
    rBit->SetAmmo(7);
    EXPECT_EQ(rBit->GetAmmoBarHeight(), 7);
    rBit->SetAmmo(0);
    EXPECT_EQ(rBit->GetAmmoBarHeight(), 0);
    EXPECT_EQ(mPlayer->GetWeaponAmmo(0), 0);
    PlayerWeapon tUncounted;
    EXPECT_EQ(tUncounted.GetAmmoBarHeight(), -1);
    EXPECT_STREQ(tUncounted.GetName(), "Not Set");
    EXPECT_STREQ(tUncounted.GetPaletteName(), "Palette1");
    EXPECT_EQ(tUncounted.GetAmmo(), -1);
    EXPECT_FALSE(tUncounted.HasAmmo());
    EXPECT_EQ(mPlayer->GetWeaponAmmo(-1), -1);
    EXPECT_EQ(mPlayer->GetWeaponAmmo(8), -1);
    EXPECT_STREQ(mPlayer->GetWeapon(2)->GetPaletteName(), "Palette8");
    EXPECT_STREQ(mPlayer->GetWeapon(6)->GetName(), "Rock Wrecker");
}

TEST_F(PlayerWeaponTest, EachSlotSpendsAmmoPerShotAndRefusesAtZero)
{
    // Lightning Bit: a shot costs one; a second press strikes the bit out there for free.
    Fire(0);
    EXPECT_EQ(mPlayer->GetWeapon(0)->GetAmmo(), 27);
    ASSERT_EQ(Count(LIGHTNING_BIT_KIND), 1);
    EXPECT_EQ(mPlayer->GetShotTimer(), 0);
    Fire(0);
    EXPECT_EQ(mPlayer->GetWeapon(0)->GetAmmo(), 27);
    EXPECT_TRUE(Find<LightningBitProjectile>(LIGHTNING_BIT_KIND)->IsStriking());
    Tick(6);
    EXPECT_EQ(Count(LIGHTNING_BIT_KIND), 0);
    mPlayer->GetWeapon(0)->SetAmmo(0);
    Fire(0);
    EXPECT_EQ(Count(LIGHTNING_BIT_KIND), 0);

    // Nightmare Cutter: one large cutter at a time.
    ExpectOneAtATime(1, NCUTTER_LARGE_KIND, 13);

    // Permafrost Shield: one shield at a time, one ammunition each.
    ExpectOneAtATime(5, PERMAFROST_SHIELD_KIND, 27);

    // The three inert slots fire nothing and keep their ammunition.
    for(int32_t tSlot : {3, 4, 7})
    {
        int32_t tBefore = Entities()->GetEntityList()->GetCount();
        Fire(tSlot);
        EXPECT_EQ(Entities()->GetEntityList()->GetCount(), tBefore) << tSlot;
        EXPECT_EQ(mPlayer->GetWeapon(tSlot)->GetAmmo(), 28) << tSlot;
    }
    // No buster shot leaves while a weapon is selected.
    EXPECT_EQ(BusterShots(), 0);
}

TEST_F(PlayerWeaponTest, PrismaticBeamWaitsOutItsCooldown)
{
    Fire(2);
    EXPECT_EQ(Count(PRISMATIC_BEAM_KIND), 2);
    EXPECT_EQ(mPlayer->GetWeapon(2)->GetAmmo(), 13);
    Entities()->ClearEntities();
    Tick(59);
    Fire(2);
    EXPECT_EQ(Count(PRISMATIC_BEAM_KIND), 0);
    Tick();
    Fire(2);
    EXPECT_EQ(Count(PRISMATIC_BEAM_KIND), 2);
    EXPECT_EQ(mPlayer->GetWeapon(2)->GetAmmo(), 12);
}

TEST_F(PlayerWeaponTest, ShotSoundIsSilentDuringTheSharedCooldown)
{
    xShotCooldown = 5;
    Fire(5);
    EXPECT_EQ(Plays("Rank1BusterShot"), 0);
    Entities()->ClearEntities();
    xShotCooldown = 0;
    Fire(5);
    EXPECT_EQ(Plays("Rank1BusterShot"), 1);
}

TEST_F(PlayerWeaponTest, NumberHotkeysPickTheirWeaponAndShoulderKeysPickNone)
{
    auto tPress = [this](int pKey) {
        SetKey(pKey, true);
        Tick();
        SetKey(pKey, false);
        Tick();
    };
    // Bound the way the sample configuration binds them: "WeaponN" to the key N.
    char tName[16];
    char tKey[16];
    for(int32_t n = 1; n <= 9; n++)
    {
        snprintf(tName, sizeof(tName), "Weapon%i", n);
        snprintf(tKey, sizeof(tKey), "KEY%i", ALLEGRO_KEY_0 + n);
        ControlManager::Get()->SetBindingByNames(tName, tKey, nullptr);
    }

    // In play the shoulder keys are for the pause pages only.
    tPress(ALLEGRO_KEY_E);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), PLAYER_NO_WEAPON);
    tPress(ALLEGRO_KEY_Q);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), PLAYER_NO_WEAPON);

    // Keys 1 to 8 pick slots 0 to 7, whichever was picked before; 9 goes back to the buster.
    for(int32_t n : {3, 1, 8, 9})
    {
        tPress(ALLEGRO_KEY_0 + n);
        EXPECT_EQ(mPlayer->GetSelectedWeapon(), n == 9 ? PLAYER_NO_WEAPON : n - 1) << n;
    }
    tPress(ALLEGRO_KEY_2);
    tPress(ALLEGRO_KEY_E);
    EXPECT_EQ(mPlayer->GetSelectedWeapon(), 1);
}

TEST_F(PlayerWeaponTest, LightningBitBouncesOffWallsAndStrikesOnLanding)
{
    // Fired at the right wall from close by: it bounces back at three quarters of its speed.
    LightningBitProjectile *nBit = new LightningBitProjectile();
    nBit->SetPosition(621.0f, 300.0f);
    nBit->SetSpeeds(9.0f, 0.0f);
    nBit->SetBlockAutoOffscreenDestruction(1);
    Entities()->RegisterProjectile(LIGHTNING_BIT_KIND, nBit, DeleteRootObject);
    nBit->RunLogic();
    float tX, tY, tZ;
    nBit->GetSpeeds(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, -2.25f);
    // It falls to the floor (top at 400) and strikes at once, its column standing on it.
    for(int32_t i = 0; i < 80 && !nBit->IsStriking(); i++) nBit->RunLogic();
    ASSERT_TRUE(nBit->IsStriking());
    EXPECT_FLOAT_EQ(nBit->GetHitboxPtr()->mBot, 400.0f);
    EXPECT_FLOAT_EQ(nBit->GetHitboxPtr()->mRgt - nBit->GetHitboxPtr()->mLft, 10.0f);
    EXPECT_EQ(Plays("LightningStrike"), 1);
    EXPECT_EQ(nBit->GetDamage(), 2);

    // A bit struck in mid-air drops its column onto the floor below.
    LightningBitProjectile *nHigh = new LightningBitProjectile();
    nHigh->SetPosition(300.0f, 100.0f);
    Entities()->RegisterProjectile(LIGHTNING_BIT_KIND, nHigh, DeleteRootObject);
    nHigh->Strike(nullptr);
    EXPECT_FLOAT_EQ(nHigh->GetHitboxPtr()->mBot, 400.0f);
    // Two more ticks arm it to pierce; one more and it is gone.
    nHigh->RunLogic();
    EXPECT_FALSE(nHigh->IsPiercing());
    nHigh->RunLogic();
    EXPECT_TRUE(nHigh->IsPiercing());
    EXPECT_FALSE(nHigh->GetDestruct());
    nHigh->RunLogic();
    EXPECT_TRUE(nHigh->GetDestruct());
}

TEST_F(PlayerWeaponTest, CutterSplitsTowardTheOtherEnemies)
{
    // The only enemy on screen: three small cutters at 90, 210 and 330 degrees.
    PointEnemy *rLone = AddEnemy("Lone", 300.0f, 300.0f);
    NightmareCutterProjectile *nCutter = new NightmareCutterProjectile(true, 0.0f);
    nCutter->SetPosition(300.0f, 300.0f);
    Entities()->RegisterProjectile(NCUTTER_LARGE_KIND, nCutter, DeleteRootObject);
    nCutter->Shatter(rLone);
    EXPECT_TRUE(nCutter->GetDestruct());
    NamedLinkedList *nSmall = Entities()->ListByType(TYPE_ROOTPROJECTILE);
    float tAngles[3];
    int32_t tFound = 0;
    for(void *rData = nSmall->PushIterator(); rData; rData = nSmall->IterateNext())
    {
        NightmareCutterProjectile *rCutter = dynamic_cast<NightmareCutterProjectile *>((RootEntity *)rData);
        if(!rCutter || rCutter->IsLarge()) continue;
        EXPECT_TRUE(rCutter->IsInHitList(rLone->GetID()));
        if(tFound < 3) tAngles[tFound] = rCutter->GetAngle();
        tFound++;
    }
    delete nSmall;
    ASSERT_EQ(tFound, 3);
    EXPECT_NEAR(tAngles[0], 1.57077f, 1e-4);
    EXPECT_NEAR(tAngles[1], 3.66513f, 1e-4);
    EXPECT_NEAR(tAngles[2], 5.75949f, 1e-4);
}

TEST_F(PlayerWeaponTest, CutterSplitAimsAtTheThreeNearestOfFour)
{
    PointEnemy *rHit = AddEnemy("Hit", 300.0f, 300.0f);
    AddEnemy("Far", 600.0f, 300.0f);
    AddEnemy("Right", 350.0f, 300.0f);
    AddEnemy("Above", 300.0f, 240.0f);
    AddEnemy("Left", 230.0f, 300.0f);
    NightmareCutterProjectile *nCutter = new NightmareCutterProjectile(true, 0.0f);
    nCutter->SetPosition(300.0f, 300.0f);
    Entities()->RegisterProjectile(NCUTTER_LARGE_KIND, nCutter, DeleteRootObject);
    nCutter->Shatter(rHit);

    // Each small cutter flies along the enemy manager's angle from an enemy to the cutter,
    // turned a quarter: toward the right, the top and the left enemies; none toward the far one.
    std::string tAims;
    NamedLinkedList *nAll = Entities()->ListByType(TYPE_ROOTPROJECTILE);
    for(void *rData = nAll->PushIterator(); rData; rData = nAll->IterateNext())
    {
        NightmareCutterProjectile *rCutter = dynamic_cast<NightmareCutterProjectile *>((RootEntity *)rData);
        if(!rCutter || rCutter->IsLarge()) continue;
        float tDX = cosf(rCutter->GetAngle());
        float tDY = sinf(rCutter->GetAngle());
        tAims += (tDX > 0.9f) ? "R" : (tDX < -0.9f) ? "L" : (tDY < -0.9f) ? "U" : (tDY > 0.9f) ? "D" : "?";
    }
    delete nAll;
    EXPECT_EQ(tAims.size(), 3u);
    EXPECT_NE(tAims.find('R'), std::string::npos);
    EXPECT_NE(tAims.find('L'), std::string::npos);
    EXPECT_NE(tAims.find('U'), std::string::npos);
}

TEST_F(PlayerWeaponTest, ShieldTurnsEnemyShotsAndWearsOut)
{
    Fire(5);
    PermafrostShieldProjectile *rShield = Find<PermafrostShieldProjectile>(PERMAFROST_SHIELD_KIND);
    ASSERT_NE(rShield, nullptr);
    Tick();
    // It stands 10 units beyond her right side, level with her top.
    EXPECT_FLOAT_EQ(rShield->GetHitboxPtr()->mLft, mPlayer->GetHitboxPtr()->mRgt + 10.0f);
    EXPECT_FLOAT_EQ(rShield->GetHitboxPtr()->mTop, mPlayer->GetHitboxPtr()->mTop);

    RootProjectile *rShot = AddEnemyShot(0.0f, 0.0f, 2);
    rShot->SetSpeeds(-4.0f, 1.0f);
    rShot->GetData()->SetStrictFlag(0);
    rShot->GetData()->AddNumberEntry("fXSpeed", -4.0f);
    rShot->GetData()->AddNumberEntry("iFacing", 0.0f);
    rShield->InterceptProjectile(rShot);
    float tX, tY, tZ;
    rShot->GetSpeeds(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 4.0f);
    EXPECT_FLOAT_EQ(tY, -1.0f);
    EXPECT_EQ(rShot->GetTargetFlags(), PROJECTILE_TARGET_ENEMIES);
    EXPECT_FLOAT_EQ(*(float *)rShot->GetData()->GetDataEntry("fXSpeed"), 4.0f);
    EXPECT_FLOAT_EQ(*(float *)rShot->GetData()->GetDataEntry("iFacing"), 1.0f);
    // Turned once, it no longer hurts her, so a second touch leaves it alone.
    rShield->InterceptProjectile(rShot);
    rShot->GetSpeeds(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 4.0f);

    rShield->AddDamageCounter(6);
    Tick();
    EXPECT_EQ(Count(PERMAFROST_SHIELD_KIND), 1);
    rShield->AddDamageCounter(1);
    Tick();
    EXPECT_EQ(Count(PERMAFROST_SHIELD_KIND), 0);
}

TEST_F(PlayerWeaponTest, BeamsSplitTogetherAndSurviveALostPartner)
{
    CameraManager *nCameras = new CameraManager();
    GetApplication()->mCameraManager = nCameras;
    nCameras->GetActiveCamera()->SetBoundaries(0, 0, cWidth, cHeight);
    Fire(2);
    NamedLinkedList *nBeams = Entities()->ListByType(TYPE_PRISMATICBEAMPROJECTILE);
    ASSERT_EQ(nBeams->GetCount(), 2);
    PrismaticBeamProjectile *rFirst = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(0);
    PrismaticBeamProjectile *nSecond = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(1);
    delete nBeams;
    ASSERT_LT(rFirst->GetID(), nSecond->GetID());
    EXPECT_EQ(nSecond->GetPhase(), 180);
    Tick(3);
    EXPECT_FALSE(rFirst->IsSplit());

    // The second (the greater object number) splits first: its partner gets no delay.
    PointEnemy *rEnemy = AddEnemy("Target", 0.0f, 0.0f);
    nSecond->SplitBeam(rEnemy, true);
    EXPECT_TRUE(rFirst->IsSplit());
    EXPECT_EQ(rFirst->GetStartDelay(), 0);
    EXPECT_TRUE(rFirst->IsInHitList(rEnemy->GetID()));
    EXPECT_EQ(nSecond->GetDamage(), 2);
    EXPECT_NEAR(fabsf(nSecond->GetSplitAngle()), PRISMATIC_SPLIT_ANGLE, 1e-6);

    // A fresh pair split from the first beam delays the second by two ticks.
    Entities()->ClearEntities();
    Tick(60);
    Fire(2);
    nBeams = Entities()->ListByType(TYPE_PRISMATICBEAMPROJECTILE);
    rFirst = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(0);
    nSecond = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(1);
    delete nBeams;
    rFirst->RunBlockScript();
    EXPECT_EQ(nSecond->GetStartDelay(), 2);
    EXPECT_EQ(Plays("BusterDeflect"), 1);

    // A beam whose partner is gone splits alone.
    Entities()->ClearEntities();
    Tick(60);
    Fire(2);
    nBeams = Entities()->ListByType(TYPE_PRISMATICBEAMPROJECTILE);
    rFirst = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(0);
    nSecond = (PrismaticBeamProjectile *)nBeams->GetElementByIndex(1);
    delete nBeams;
    Entities()->RemoveEntity(nSecond);
    delete nSecond;
    rFirst->RunImpactScript();
    EXPECT_TRUE(rFirst->IsSplit());
    EXPECT_FALSE(rFirst->GetDestruct());

    // Beams far off the view go.
    Tick(200);
    EXPECT_EQ(Count(PRISMATIC_BEAM_KIND), 0);
    GetApplication()->mCameraManager = nullptr;
    delete nCameras;
}

namespace
{
    struct Debris
    {
        float mX, mY, mZ;
        int32_t mLifetime;
        ColorRGBA mColour;
        float mSpeed;
        float mDegrees;
    };

    // The particles after the first pSkip of the list, with their speed as length and angle in
    // degrees (0 to 360, y down).
    std::vector<Debris> ReadDebris(NamedLinkedList *pList, int32_t pSkip)
    {
        std::vector<Debris> tResult;
        int32_t tIndex = 0;
        for(void *rData = pList->PushIterator(); rData; rData = pList->IterateNext(), tIndex++)
        {
            if(tIndex < pSkip) continue;
            Particle *rParticle = static_cast<Particle *>(rData);
            const DebrisState *rState = static_cast<DebrisState *>(rParticle->GetBehaviourData());
            Debris tDebris = {};
            rParticle->GetPosition(tDebris.mX, tDebris.mY, tDebris.mZ);
            tDebris.mLifetime = rParticle->GetLifetime();
            tDebris.mColour = rParticle->GetColour();
            if(rState)
            {
                tDebris.mSpeed = std::hypot(rState->mSpeedX, rState->mSpeedY);
                tDebris.mDegrees = std::atan2(rState->mSpeedY, rState->mSpeedX) * 57.29578f;
                if(tDebris.mDegrees < 0.0f) tDebris.mDegrees += 360.0f;
            }
            tResult.push_back(tDebris);
        }
        return tResult;
    }
}

TEST_F(PlayerWeaponTest, StrikesAndBurstsThrowTheirDebris)
{
    NamedLinkedList *rParticles = Entities()->GetSpecialList(PARTICLE_LIST_NAME);
    ASSERT_NE(rParticles, nullptr);
    ASSERT_EQ(rParticles->GetCount(), 0);

    // A strike in mid-air: seven grey sparks from the foot of its column on the floor, fanned
    // about straight up, once however often it is told to strike.
    LightningBitProjectile *nBit = new LightningBitProjectile();
    nBit->SetPosition(300.0f, 100.0f);
    Entities()->RegisterProjectile(LIGHTNING_BIT_KIND, nBit, DeleteRootObject);
    nBit->Strike(nullptr);
    nBit->Strike(nullptr);
    std::vector<Debris> tSparks = ReadDebris(rParticles, 0);
    ASSERT_EQ(tSparks.size(), 7u);
    const float cFan[7] = {235.0f, 245.0f, 260.0f, 270.0f, 280.0f, 295.0f, 305.0f};
    for(size_t i = 0; i < tSparks.size(); i++)
    {
        EXPECT_FLOAT_EQ(tSparks[i].mX, 300.0f);
        EXPECT_FLOAT_EQ(tSparks[i].mY, 400.0f);
        EXPECT_FLOAT_EQ(tSparks[i].mZ, -0.515f);
        EXPECT_EQ(tSparks[i].mLifetime, 45);
        EXPECT_FLOAT_EQ(tSparks[i].mColour.r, 0.55f);
        EXPECT_FLOAT_EQ(tSparks[i].mColour.b, 0.55f);
        EXPECT_NEAR(tSparks[i].mSpeed, 10.0f, 1e-3f);
        EXPECT_NEAR(tSparks[i].mDegrees, cFan[i], 0.01f) << i;
    }

    // A large cutter bursts into seven pale shards at random angles within 0 to 5.323165
    // radians; the small cutters it splits into have not hit anything yet.
    PointEnemy *rLone = AddEnemy("Lone", 200.0f, 200.0f);
    float tLeast = 360.0f;
    float tMost = 0.0f;
    for(uint32_t tSeed : {1u, 2u, 3u})
    {
        srand(tSeed);
        NightmareCutterProjectile *nCutter = new NightmareCutterProjectile(true, 0.0f);
        nCutter->SetPosition(200.0f, 200.0f);
        Entities()->RegisterProjectile(NCUTTER_LARGE_KIND, nCutter, DeleteRootObject);
        const int32_t tBefore = rParticles->GetCount();
        nCutter->Shatter(rLone);
        std::vector<Debris> tShards = ReadDebris(rParticles, tBefore);
        ASSERT_EQ(tShards.size(), 7u);
        for(const Debris &rShard : tShards)
        {
            EXPECT_FLOAT_EQ(rShard.mX, 200.0f);
            EXPECT_FLOAT_EQ(rShard.mY, 223.0f);
            EXPECT_FLOAT_EQ(rShard.mZ, -0.515f);
            EXPECT_EQ(rShard.mLifetime, 120);
            EXPECT_FLOAT_EQ(rShard.mColour.r, 0.951f);
            EXPECT_FLOAT_EQ(rShard.mColour.g, 0.9f);
            EXPECT_NEAR(rShard.mSpeed, 5.0f, 1e-3f);
            EXPECT_LE(rShard.mDegrees, 5.323165f * 57.29578f + 0.01f);
            tLeast = std::min(tLeast, rShard.mDegrees);
            tMost = std::max(tMost, rShard.mDegrees);
        }
    }
    EXPECT_GT(tMost - tLeast, 90.0f);

    // A small cutter bursts too when it hits.
    NightmareCutterProjectile *nSmall = new NightmareCutterProjectile(false, 0.0f);
    nSmall->SetPosition(200.0f, 200.0f);
    Entities()->RegisterProjectile(NCUTTER_SMALL_KIND, nSmall, DeleteRootObject);
    const int32_t tBefore = rParticles->GetCount();
    nSmall->RunImpactScript();
    EXPECT_EQ(rParticles->GetCount(), tBefore + 7);
}
