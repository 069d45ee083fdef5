#include "support/EnemyWorld.h"

using EnemyDamageTest = EnemyWorld;

// The enemy stands in the open at (200, 300), clear of the player at x 100.
static const float cEX = 200.0f;
static const float cEY = 300.0f;

TEST_F(EnemyDamageTest, EveryDamageValueTakesItsTableEntry)
{
    Enemy *rProbe = MakeEnemy("Probe", 400.0f, 50.0f, 20.0f, 1);
    const int32_t cExpected[32] = {1, 2, 3, 3, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for(int32_t d = 0; d < 32; d++) EXPECT_EQ(rProbe->GetDamageTakenFrom(d), cExpected[d]) << d;

    // Through the whole tick: each damage value lowers a 100-health enemy by its entry.
    for(int32_t d = -1; d < 34; d++)
    {
        Enemy *rEnemy = MakeEnemy("Target", cEX, cEY, 40.0f, 100);
        rEnemy->SetDamageTakenFrom(7, 9);
        MakeShot(cEX + 10.0f, cEY + 10.0f, d);
        Tick();
        int32_t tTaken = d < 0 ? 0 : (d == 7 ? 9 : (d < 32 ? cExpected[d] : d));
        EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 100 - tTaken) << d;
        rEnemy->SetDestruct(1);
        DestroyAllProjectiles();
        Tick();
    }

    // A table value beyond a signed byte is clamped, not wrapped; indices outside are ignored.
    rProbe->SetDamageTakenFrom(3, 200);
    rProbe->SetDamageTakenFrom(4, -300);
    rProbe->SetDamageTakenFrom(32, 5);
    EXPECT_EQ(rProbe->GetDamageTakenFrom(3), 127);
    EXPECT_EQ(rProbe->GetDamageTakenFrom(4), -128);
    EXPECT_EQ(rProbe->GetDamageFromProjectile(nullptr), 0);
}

TEST_F(EnemyDamageTest, HitsOfOneTickDoNotAddUpAndShotsAreUsedUpByTheRules)
{
    Enemy *rEnemy = MakeEnemy("Target", cEX, cEY, 40.0f, 10);
    RootProjectile *rWeak = MakeShot(cEX + 2.0f, cEY + 2.0f, 0);
    RootProjectile *rStrong = MakeShot(cEX + 20.0f, cEY + 20.0f, 2);
    const int32_t tWeak = rWeak->GetID();
    const int32_t tStrong = rStrong->GetID();
    Tick();
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 7);
    EXPECT_FALSE(Alive(tWeak));
    EXPECT_FALSE(Alive(tStrong));

    // A piercing rank-3 shot (3 damage) that kills a 3-health enemy flies on...
    Enemy *rThree = MakeEnemy("Three", 300.0f, cEY, 40.0f, 3);
    RootProjectile *rPierce = MakeShot(310.0f, cEY + 10.0f, 2, true);
    const int32_t tPierce = rPierce->GetID();
    const int32_t tThree = rThree->GetID();
    Tick();
    EXPECT_FALSE(Alive(tThree));
    EXPECT_TRUE(Alive(tPierce));
    EXPECT_EQ(rPierce->GetDamageCounter(), 3);

    // ...and is used up by a 4-health one.
    Enemy *rFour = MakeEnemy("Four", 400.0f, cEY, 40.0f, 4);
    rPierce->SetPosition(410.0f, cEY + 10.0f);
    Tick();
    EXPECT_EQ(rFour->GetHealth()->GetHealth(), 1);
    Tick();
    EXPECT_FALSE(Alive(tPierce));

    // Weapon flag A is never used up, so it strikes again every tick.
    Enemy *rOnce = MakeEnemy("Once", 420.0f, 100.0f, 40.0f, 50);
    RootProjectile *rKeep = MakeShot(430.0f, 110.0f, 2);
    rKeep->SetWeaponFlagA(1);
    Tick(3);
    EXPECT_TRUE(Alive(rKeep->GetID()));
    EXPECT_EQ(rOnce->GetHealth()->GetHealth(), 41);
}

// Which shots a vulnerable enemy uses up, through its bounding box and through its damage
// boxes alike; the enemy's damage table is made plain so that a shot of n takes n.
TEST_F(EnemyDamageTest, ShotsThatKillWithTwoOrMoreFlyOnTheRestAreUsedUp)
{
    struct
    {
        int32_t mDamage;
        int32_t mHealth;
        bool mPiercing;
        bool mUsedUp;
    } const cCases[] = {
        {2, 2, false, false}, // kills exactly
        {3, 2, false, false}, // kills with some to spare
        {2, 3, false, true},  // leaves it alive
        {1, 1, false, true},  // kills, but with less than 2
        {2, 2, true, false},  {3, 2, true, false}, {2, 3, true, true},
        {1, 1, true, false}, // a piercing shot that kills always flies on
    };
    for(bool tBoxes : {false, true})
    {
        for(const auto &rCase : cCases)
        {
            SCOPED_TRACE(testing::Message() << (tBoxes ? "boxes" : "bounding box") << ", damage " << rCase.mDamage
                                            << ", health " << rCase.mHealth << (rCase.mPiercing ? ", piercing" : ""));
            Enemy *rEnemy = MakeEnemy("Target", cEX, cEY, 40.0f, rCase.mHealth);
            for(int32_t d = 0; d < 4; d++) rEnemy->SetDamageTakenFrom(d, d);
            if(tBoxes)
            {
                EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
                rHitbox->SetNumberOfHitboxes(1);
                rHitbox->SetNumberOfAnimations(1);
                rHitbox->SetNumberOfFramesForAnimation(0, 1);
                rHitbox->CalculateHitboxes();
                rHitbox->SetHitboxData(0, 0, 1, 0, 0.0f, 0.0f, 40.0f, 40.0f);
                rEnemy->SetUseBoundingBoxAsHitbox(0);
                rEnemy->GetAppearance()->SetAnimationsTotal(1);
                rEnemy->GetAppearance()->SetAnimationIndex(0);
                rEnemy->GetAppearance()->SetFacing(1);
            }
            const int32_t tEnemy = rEnemy->GetID();
            const int32_t tShot = MakeShot(cEX + 10.0f, cEY + 10.0f, rCase.mDamage, rCase.mPiercing)->GetID();
            Tick();
            EXPECT_EQ(Alive(tEnemy), rCase.mDamage < rCase.mHealth);
            EXPECT_EQ(Alive(tShot), !rCase.mUsedUp);
            EntityManager::Fetch()->ClearEntities();
        }
    }
}

TEST_F(EnemyDamageTest, InvulnerabilityRejectsHitsWithTheSoundAndFlashesInThreeTickPhases)
{
    AudioPackage *nHurt = new AudioPackage(mLayer);
    nHurt->LoadSample("EnemyHurt");
    AudioManager::Get()->AddSound("EnemyHurt", nHurt);
    AudioPackage *nClink = new AudioPackage(mLayer);
    nClink->LoadSample("EnemyClink");
    AudioManager::Get()->AddSound("EnemyClink", nClink);

    Enemy *rEnemy = MakeEnemy("Target", cEX, cEY, 40.0f, 10);
    rEnemy->SetInvincibleMaxTime(30);
    rEnemy->SetDamageSoundEffect("EnemyHurt");
    rEnemy->SetInvincibleSoundEffect("EnemyClink");

    MakeShot(cEX + 5.0f, cEY + 5.0f, 0);
    Tick();
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 9);
    EXPECT_EQ(rEnemy->GetInvulnerability(), 30);
    EXPECT_EQ(Plays("EnemyHurt"), 1);
    EXPECT_TRUE(rEnemy->GetAppearance()->GetDamageFlash());

    // Ticks T+1 .. T+29: every hit is refused with the clink; the flash runs 3 on, 3 off.
    std::string tPhases;
    for(int32_t t = 1; t <= 29; t++)
    {
        MakeShot(cEX + 5.0f, cEY + 5.0f, 0);
        Tick();
        tPhases += rEnemy->GetAppearance()->GetDamageFlash() ? '1' : '0';
    }
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 9);
    EXPECT_EQ(Plays("EnemyClink"), 29);
    EXPECT_EQ(tPhases.substr(0, 12), "110001110001");

    MakeShot(cEX + 5.0f, cEY + 5.0f, 0);
    Tick();
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 8);
    EXPECT_EQ(Plays("EnemyHurt"), 2);
}

TEST_F(EnemyDamageTest, DeathRunsTheDestructionScriptAndArmsTheSpawnPointsTimer)
{
    SpawnManager *rSpawns = SpawnManager::Get();
    EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
    nPoint->SetName("Point");
    ASSERT_TRUE(rSpawns->ConfigureFromPreset("Bat", nPoint, "Victim", cEX, cEY));
    rSpawns->AddSpawnPoint(nPoint);

    Enemy *rEnemy = MakeEnemy("Victim", cEX, cEY, 40.0f, 1);
    rEnemy->SetSpawnPointId(nPoint->GetID());
    rEnemy->SetDestructionScript(Script("enemy_mark_death.lua").c_str());
    RootProjectile *rContact = rEnemy->GetContactProjectile();
    const int32_t tContact = rContact->GetID();
    const int32_t tEnemy = rEnemy->GetID();
    MakeShot(cEX + 5.0f, cEY + 5.0f, 0);
    Tick();
    EXPECT_EQ(GlobalNumber("gDeaths"), 1.0);
    EXPECT_EQ(GlobalString("gDeadName"), "Victim");
    float tTimer = 0.0f;
    ASSERT_TRUE(ReadDataNumber(nPoint->GetData(), "RespawnTimer", tTimer));
    EXPECT_EQ(tTimer, 240.0f);
    EXPECT_FALSE(Alive(tEnemy));
    Tick();
    EXPECT_FALSE(Alive(tContact));

    // Without AllowDeath the health goes below 1 and the enemy lives on.
    Enemy *rStubborn = MakeEnemy("Stubborn", cEX, cEY, 40.0f, 1);
    rStubborn->SetAllowDeath(0);
    MakeShot(cEX + 5.0f, cEY + 5.0f, 2);
    Tick();
    EXPECT_EQ(rStubborn->GetHealth()->GetHealth(), -2);
    Tick();
    EXPECT_EQ(rStubborn->GetHealth()->GetHealth(), -5);
    EXPECT_TRUE(Alive(rStubborn->GetID()));
}

TEST_F(EnemyDamageTest, OffScreenEnemiesTakeNoDamageAndDespawnBeyondTheMargin)
{
    Enemy *rNear = MakeEnemy("Near", 500.0f, cEY, 40.0f, 5);
    Enemy *rFar = MakeEnemy("Far", 620.0f, cEY, 10.0f, 5);
    Enemy *rKept = MakeEnemy("Kept", 620.0f, 10.0f, 10.0f, 5);
    rKept->SetDoNotDespawnOffScreen();
    const int32_t tFar = rFar->GetID();
    MakeShot(505.0f, cEY + 5.0f, 2);
    Tick();
    EXPECT_EQ(rNear->GetHealth()->GetHealth(), 5);
    EXPECT_TRUE(rNear->IsOffScreen());
    EXPECT_FALSE(Alive(tFar));
    EXPECT_TRUE(Alive(rKept->GetID()));
    EXPECT_TRUE(Alive(rNear->GetID()));
}

TEST_F(EnemyDamageTest, WaitTimeAndMissingLogicKeepAnEnemyInert)
{
    Enemy *rWaiting = MakeEnemy("Waiting", cEX, cEY, 40.0f, 5);
    rWaiting->SetWaitTimeBeforeEnabled(3);
    Enemy *rInert = MakeEnemy("Inert", 300.0f, cEY, 40.0f, 5);
    rInert->SetLogicScript(nullptr);
    for(int32_t t = 0; t < 2; t++)
    {
        MakeShot(cEX + 5.0f, cEY + 5.0f, 2);
        MakeShot(305.0f, cEY + 5.0f, 2);
        Tick();
        DestroyAllProjectiles();
    }
    EXPECT_EQ(rWaiting->GetHealth()->GetHealth(), 5);
    MakeShot(cEX + 5.0f, cEY + 5.0f, 2);
    MakeShot(305.0f, cEY + 5.0f, 2);
    Tick();
    EXPECT_EQ(rWaiting->GetHealth()->GetHealth(), 2);
    EXPECT_EQ(rInert->GetHealth()->GetHealth(), 5);
}

TEST_F(EnemyDamageTest, ContactHurtsThePlayerAndHitPlayerLastsOneTick)
{
    float tPX = X();
    float tPY = Y();
    Enemy *rEnemy = MakeEnemy("Biter", tPX, tPY, 20.0f, 5, Script("enemy_read_hitplayer.lua").c_str());
    rEnemy->SetContactDamage(3);
    EXPECT_EQ(rEnemy->GetContactDamage(), 3);
    int32_t tHealth = mPlayer->GetHealth();
    for(int32_t t = 0; t < 3; t++)
    {
        Tick();
        EntityManager::Fetch()->RunTickAlways();
    }
    EXPECT_EQ(mPlayer->GetHealth(), tHealth - 3);
    // The player finds the contact first in the tick, so the enemy's logic sees it that tick;
    // the always-run pass clears it at the end.
    EXPECT_EQ(GlobalString("gHitLog").substr(0, 2), "10");
    EXPECT_FALSE(rEnemy->GetHitPlayer());
    EXPECT_TRUE(Alive(rEnemy->GetContactProjectile()->GetID()));
}

TEST_F(EnemyDamageTest, HealthSecondWindAndInvincibleFlag)
{
    EnemyHealth tHealth;
    tHealth.SetHealth(3);
    tHealth.SetSecondWindFlag(1);
    tHealth.TakeDamage(5);
    EXPECT_EQ(tHealth.GetHealth(), 1);
    EXPECT_FALSE(tHealth.GetSecondWindFlag());
    tHealth.TakeDamage(1);
    EXPECT_EQ(tHealth.GetHealth(), 0);
    EXPECT_TRUE(tHealth.WasHitThisTick());
    tHealth.SetInvincibleFlag(1);
    tHealth.TakeDamage(4);
    EXPECT_EQ(tHealth.GetHealth(), 0);
    EXPECT_FALSE(tHealth.WasHitThisTick());
}
