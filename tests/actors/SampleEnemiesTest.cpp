#include "PuppetEnemyWorld.h"

#include "world/Camera.h"

// The sample game's enemies, built by their own scripts from game/Data/Scripts/Enemies, meet
// Kestra in the headless world (floor at y 400, she stands at x 100..119, y 348..400). What is
// checked is what a player meets: what a touch costs, whether an enemy settles on her, how long
// the Warden lasts and whether its volleys can be jumped.
namespace
{
    // A hit and what follows it: 24 ticks of injury, then 120 of invulnerability.
    const int32_t cHitAndInvulnerability = 24 + 120;

    class SampleEnemiesTest : public PuppetEnemyWorld
    {
    protected:
        void SetUp() override
        {
            PuppetEnemyWorld::SetUp();
            testing::internal::CaptureStderr();
            Run("gsDataRoot = 'Data/'\n"
                "gsScriptRoot = gsDataRoot .. 'Scripts/'\n"
                "LM_ExecuteScript(gsScriptRoot .. 'SetupFuncs.lua')\n"
                "LM_ExecuteScript(gsScriptRoot .. 'Frames.lua')\n"
                "LM_ExecuteScript(gsScriptRoot .. 'Enemies/Setup.lua')\n");
            CapturedStderr();
        }

        // The kind made by its own constructor, its home at (x, y).
        Enemy *Create(const char *pKind, float pX, float pY)
        {
            char tChunk[256];
            snprintf(tChunk, sizeof(tChunk),
                     "Enemy_Create('%s', gsEnemyScripts .. '%s/CConstructor.lua', '%g', '%g')\nDL_PopActiveEntity()\n", pKind,
                     pKind, pX, pY);
            testing::internal::CaptureStderr();
            Run(tChunk);
            CapturedStderr();
            return (Enemy *)EntityManager::Fetch()->GetEntity(pKind);
        }

        // One tick; a puppet is drawn after it, as the game's render would, so its parts can
        // hurt and be hit. The enemy is looked up by its number: it may be gone.
        void Play(int32_t pEnemyID)
        {
            Tick();
            Enemy *rEnemy = (Enemy *)EntityManager::Fetch()->FindByID(pEnemyID);
            if(!rEnemy) return;
            CorvelPuppet *rPuppet = rEnemy->GetAppearance()->GetPuppet();
            if(!rPuppet) return;
            rPuppet->Render();
            rEnemy->SetPuppetDrawn();
        }

        // Ticks until her health drops; the tick it did, or -1 within the limit.
        int32_t PlayUntilHit(int32_t pEnemyID, int32_t pLimit)
        {
            int32_t tHealth = mPlayer->GetHealth();
            for(int32_t t = 0; t < pLimit; t++)
            {
                Play(pEnemyID);
                if(mPlayer->GetHealth() < tHealth) return t;
            }
            return -1;
        }

        // Horizontal gap between her box and the enemy's (0 when they overlap in x).
        float Gap(Enemy *pEnemy)
        {
            Hitbox tBox;
            pEnemy->GetHitbox(tBox);
            const Hitbox *rHer = mPlayer->GetHitboxPtr();
            if(tBox.mLft >= rHer->mRgt) return tBox.mLft - rHer->mRgt;
            if(rHer->mLft >= tBox.mRgt) return rHer->mLft - tBox.mRgt;
            return 0.0f;
        }
    };

    struct Placement
    {
        const char *mKind;
        float mX, mY;
    };

    class SampleEnemyTouch : public SampleEnemiesTest, public testing::WithParamInterface<Placement>
    {
    };
}

// Each kind starts over her. Its touch costs her its contact damage once; through the injury and
// the invulnerability after it nothing it does hurts her again: its contact box carries no
// invincible timer of its own, so it cannot strike through her late invulnerability.
TEST_P(SampleEnemyTouch, ATouchCostsOneHitAndHerInvulnerabilityHolds)
{
    const Placement &rPlace = GetParam();
    Enemy *rEnemy = Create(rPlace.mKind, rPlace.mX, rPlace.mY);
    ASSERT_NE(rEnemy, nullptr);
    const int32_t tContact = rEnemy->GetContactDamage();
    ASSERT_GT(tContact, 0);

    const int32_t tID = rEnemy->GetID();
    ASSERT_GE(PlayUntilHit(tID, 60), 0) << rPlace.mKind << " never touched her";
    EXPECT_EQ(mPlayer->GetHealth(), mPlayer->GetMaxHealth() - tContact);
    // Up to a few ticks before her invulnerability runs out.
    for(int32_t t = 1; t < cHitAndInvulnerability - 4; t++) Play(tID);
    EXPECT_EQ(mPlayer->GetHealth(), mPlayer->GetMaxHealth() - tContact) << rPlace.mKind << " hurt her while invulnerable";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SampleEnemyTouch,
                         testing::Values(Placement{"Bat", 100, 360}, Placement{"Jellyfish", 100, 360},
                                         Placement{"Tick", 95, 384}, Placement{"Sentinel", 100, 370},
                                         Placement{"Wasp", 92, 350}, Placement{"GreatBlight", 80, 340},
                                         Placement{"Goblin", 90, 336}, Placement{"DragonTank", 80, 352}),
                         [](const testing::TestParamInfo<Placement> &pInfo) { return std::string(pInfo.param.mKind); });

// A Gloomwing flies at her; once it has struck it breaks off and keeps clear of her for the rest
// of her injury, where her buster can reach it, instead of settling on her.
TEST_F(SampleEnemiesTest, AGloomwingThatStruckHerMovesOff)
{
    Enemy *rBat = Create("Bat", 200, 340);
    ASSERT_NE(rBat, nullptr);
    const int32_t tID = rBat->GetID();
    ASSERT_GE(PlayUntilHit(tID, 200), 0);
    for(int32_t t = 0; t < 30; t++) Play(tID);
    for(int32_t t = 30; t < 60; t++)
    {
        Play(tID);
        ASSERT_TRUE(Alive(tID));
        EXPECT_GE(Gap(rBat), 32.0f) << "tick " << t << " after the hit";
    }
}

// Normal shots, one every 10 ticks (a player tapping Shoot six times a second), each landing on
// the Warden: about 20 bring it down.
TEST_F(SampleEnemiesTest, TheWardenFallsToAboutTwentyNormalShots)
{
    mGodMode = 1;
    Enemy *rWarden = Create("GreatBlight", 300, 340);
    ASSERT_NE(rWarden, nullptr);
    const int32_t tID = rWarden->GetID();
    int32_t tShots = 0;
    testing::internal::CaptureStderr();
    for(int32_t t = 0; t < 3000 && Alive(tID); t++)
    {
        if(t % 10 == 0)
        {
            Hitbox tBox;
            rWarden->GetHitbox(tBox);
            MakeShot((tBox.mLft + tBox.mRgt) / 2.0f, (tBox.mTop + tBox.mBot) / 2.0f, 0);
            tShots++;
        }
        Play(tID);
    }
    CapturedStderr();
    EXPECT_FALSE(Alive(tID));
    EXPECT_GE(tShots, 18);
    EXPECT_LE(tShots, 25);
}

// The Warden falls while its volley rolls toward her: the shots it fired go with it, and none
// reaches her afterwards.
TEST_F(SampleEnemiesTest, TheWardensShotsEndWhenItFalls)
{
    Run("LM_ExecuteScript(gsScriptRoot .. 'Stage/Setup.lua')\n");
    Enemy *rWarden = Create("GreatBlight", 560, 340);
    ASSERT_NE(rWarden, nullptr);
    const int32_t tID = rWarden->GetID();
    EntityManager *rEntities = EntityManager::Fetch();
    testing::internal::CaptureStderr();
    for(int32_t t = 0; t < 600 && rEntities->CountProjectilesNamed("ENEMY_LEMON_PROJECTILE") < 2; t++) Play(tID);
    const int32_t tRolling = rEntities->CountProjectilesNamed("ENEMY_LEMON_PROJECTILE");
    const int32_t tHealthAtItsFall = mPlayer->GetHealth();
    rWarden->GetHealth()->SetHealth(0);
    Play(tID);
    const bool tFell = !Alive(tID);
    Play(tID);
    const int32_t tLeft = rEntities->CountProjectilesNamed("ENEMY_LEMON_PROJECTILE");
    for(int32_t t = 0; t < 300; t++) Play(tID);
    CapturedStderr();
    ASSERT_EQ(tRolling, 2);
    ASSERT_EQ(tHealthAtItsFall, mPlayer->GetMaxHealth());
    ASSERT_TRUE(tFell);
    EXPECT_EQ(tLeft, 0);
    EXPECT_EQ(mPlayer->GetHealth(), mPlayer->GetMaxHealth());
}

// The dragon tank stands on the floor facing her, and she taps Shoot from the floor: each normal
// shot lands on its body rather than glancing off the turret, and eight bring it down.
TEST_F(SampleEnemiesTest, TheDragonTankFallsToNormalShotsFromTheFloor)
{
    mGodMode = 1;
    Enemy *rTank = Create("DragonTank", 300, 0);
    ASSERT_NE(rTank, nullptr);
    const Hitbox *rBox = rTank->GetHitboxPtr();
    rTank->SetPositionAutoCenter(300.0f, cFloorY - (rBox->mBot - rBox->mTop), 0.0f);
    // The view takes in the floor, so her shots fly on along it.
    CameraManager::Fetch()->GetActiveCamera()->SetPosition(0.0f, 120.0f);
    const int32_t tID = rTank->GetID();
    testing::internal::CaptureStderr();
    int32_t tShots = 0;
    for(int32_t t = 0; t < 600 && Alive(tID); t++)
    {
        SetKey(ALLEGRO_KEY_X, t % 20 == 0);
        const int32_t tBefore = BusterShots();
        Play(tID);
        if(BusterShots() > tBefore) tShots++;
    }
    const std::string tErr = CapturedStderr();
    EXPECT_FALSE(Alive(tID)) << "health left " << rTank->GetHealth()->GetHealth() << "\n" << tErr;
    EXPECT_LE(tShots, 8);
}

// She stands where a player waits in the arena, 50 to 210 units from the pacing Warden, and
// jumps whenever one of its shots comes within 24 units of her: two volleys pass without a hit.
TEST_F(SampleEnemiesTest, TheWardensVolleysCanBeJumped)
{
    Enemy *rWarden = Create("GreatBlight", 420, 340);
    ASSERT_NE(rWarden, nullptr);
    mPlayer->SetPositionAutoCenter(200.0f, 348.0f, 0.0f);
    int32_t tJumpHeld = 0;
    int32_t tVolleyShots = 0;
    testing::internal::CaptureStderr();
    for(int32_t t = 0; t < 900; t++)
    {
        const Hitbox *rHer = mPlayer->GetHitboxPtr();
        Hitbox tAhead = *rHer;
        tAhead.mLft = rHer->mRgt;
        tAhead.mRgt = rHer->mRgt + 24.0f;
        tAhead.mTop = rHer->mTop - 90.0f;
        NamedLinkedList *tNear = EntityManager::Fetch()->FindProjectileHitA(PROJECTILE_TARGET_PLAYER, tAhead);
        const bool tComing = tNear && tNear->GetCount() > 0;
        delete tNear;
        if(tComing && tJumpHeld == 0 && mPlayer->IsOnGround()) tJumpHeld = 20;
        SetKey(ALLEGRO_KEY_Z, tJumpHeld > 0);
        if(tJumpHeld > 0) tJumpHeld--;
        const int32_t tBefore = EntityManager::Fetch()->CountProjectilesNamed("ENEMY_LEMON_PROJECTILE");
        Play(rWarden->GetID());
        if(EntityManager::Fetch()->CountProjectilesNamed("ENEMY_LEMON_PROJECTILE") > tBefore) tVolleyShots++;
    }
    CapturedStderr();
    EXPECT_GE(tVolleyShots, 6);
    EXPECT_EQ(mPlayer->GetHealth(), mPlayer->GetMaxHealth());
}
