#include "support/EnemyWorld.h"

#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "interface/GUISHealthBars.h"

// Orders of destruction that once reached freed boxes: run under AddressSanitizer.
using EnemyLifecycleTest = EnemyWorld;

TEST_F(EnemyLifecycleTest, ClearingEntitiesAndWipingProjectilesLeaveNoStaleBoxes)
{
    for(int32_t i = 0; i < 4; i++)
    {
        Enemy *rEnemy = MakeEnemy("Crowd", 100.0f + 50.0f * (float)i, 100.0f, 20.0f, 3);
        rEnemy->GetEnemyHitbox()->SetNumberOfHitboxes(3);
        rEnemy->SetContactDamage(1);
    }
    Tick();
    EntityManager::Fetch()->WipeProjectiles();
    Tick();
    NamedLinkedList *nEnemies = EntityManager::Fetch()->ListByType(TYPE_ENEMY);
    EXPECT_EQ(nEnemies->GetCount(), 4);
    delete nEnemies;
    EntityManager::Fetch()->ClearEntities();
    Tick();

    // Projectiles first, then the enemies that held them.
    Enemy *rEnemy = MakeEnemy("Late", 200.0f, 100.0f, 20.0f, 3);
    rEnemy->GetEnemyHitbox()->SetNumberOfHitboxes(2);
    DestroyAllProjectiles();
    Tick();
    EXPECT_EQ(rEnemy->GetContactProjectile(), nullptr);
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetBox(0), nullptr);
    EXPECT_EQ(rEnemy->GetContactDamage(), 0);
    rEnemy->SetContactDamage(4);
    rEnemy->SetUseBoundingBoxAsHitbox(0);
    rEnemy->SetBusterBlocker(1);
    rEnemy->SetDestruct(1);
    Tick();
}

TEST_F(EnemyLifecycleTest, ABoxThatDestroysItselfFromAScriptIsForgotten)
{
    Enemy *rEnemy = MakeEnemy("Selfish", 200.0f, 100.0f, 20.0f, 3);
    rEnemy->GetEnemyHitbox()->SetNumberOfHitboxes(2);
    DataLibrary::Fetch()->PushActiveEntity(rEnemy);
    Run("Enemy_PushPropertyAsActiveObject('Projectile') Proj_SetProperty('SelfDestruct', true) DL_PopActiveEntity()"
        "Enemy_PushPropertyAsActiveObject('Hitbox') Hitbox_PushProjectile(1) Proj_SetProperty('SelfDestruct', true) DL_PopActiveEntity()"
        "DL_PopActiveEntity()");
    DataLibrary::Fetch()->PopActiveEntity();
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveStackSize(), 0);
    Tick(2);
    EXPECT_EQ(rEnemy->GetContactProjectile(), nullptr);
    EXPECT_NE(rEnemy->GetEnemyHitbox()->GetBox(0), nullptr);
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetBox(1), nullptr);
    rEnemy->SetContactDamage(2);
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetBox(0)->GetDamage(), 2);
    Tick();
    rEnemy->SetDestruct(1);
    Tick(2);
}

TEST_F(EnemyLifecycleTest, DetachedCollisionIsOwnedByTheEnemyAndKillAllMarksEveryEnemy)
{
    Enemy *rEnemy = MakeEnemy("Carried", 200.0f, 100.0f, 20.0f, 3);
    rEnemy->GetEnemyHitbox()->SetNumberOfHitboxes(2);
    RootProjectile *rContact = rEnemy->GetContactProjectile();
    rEnemy->DetachCollision();
    EXPECT_FALSE(EntityManager::Fetch()->GetEntityList()->ContainsData(rContact));
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetBoxCount(), 0);
    Tick();
    MakeEnemy("Other", 300.0f, 100.0f, 20.0f, 3);
    Enemy::KillAllEnemies();
    Tick();
    EXPECT_EQ(EntityManager::Fetch()->GetLastEnemyCount(), 0);
}

TEST_F(EnemyLifecycleTest, TheBossBarLosesItsTargetWhenTheEnemyGoes)
{
    GUI *nGUI = new GUI();
    nGUI->CreateDefaultObjects();
    GetApplication()->mGUI = nGUI;
    GUISBossHealthBar::SetHealthReader(Enemy::ReadHealthOf);
    GUISBossHealthBar *rBar = GetBossHealthBar();
    ASSERT_NE(rBar, nullptr);

    Enemy *rBoss = MakeEnemy("Boss", 200.0f, 100.0f, 20.0f, 3);
    DataLibrary::Fetch()->PushActiveEntity(rBoss);
    Run("Enemy_BecomeHealthBarTarget()");
    DataLibrary::Fetch()->PopActiveEntity();
    EXPECT_EQ(Enemy::GetBossBarTarget(), rBoss);
    EXPECT_TRUE(rBar->IsVisible());
    EXPECT_EQ(rBar->GetTargetHealth(), 3);
    rBoss->SetDestruct(1);
    Tick();
    EXPECT_EQ(Enemy::GetBossBarTarget(), nullptr);
    EXPECT_FALSE(rBar->IsVisible());

    // Destroyed while still listed (deleted directly): it still lets go of the bar.
    Enemy *nLoose = new Enemy("Loose");
    Enemy::BecomeBossBarTarget(nLoose);
    EXPECT_TRUE(rBar->IsVisible());
    delete nLoose;
    EXPECT_FALSE(rBar->IsVisible());

    Enemy *rNext = MakeEnemy("Boss", 200.0f, 100.0f, 20.0f, 3);
    Enemy::BecomeBossBarTarget(rNext);
    Run("Enemy_PurgeHealthBarTarget()");
    EXPECT_EQ(Enemy::GetBossBarTarget(), nullptr);
    EXPECT_FALSE(rBar->IsVisible());

    GUISBossHealthBar::SetHealthReader(nullptr);
    GetApplication()->mGUI = nullptr;
    delete nGUI;
}

namespace
{
    // What the witness shots' hooks were told; kept outside them, since a used-up shot is
    // destroyed within the tick.
    struct Witnessed
    {
        Enemy *rImpactEnemy;
        Enemy *rBlockEnemy;
        int32_t mImpacts;
        int32_t mBlocks;
    };
    Witnessed xWitnessed;

    // A player shot that notes which enemy its hooks were told about.
    class WitnessShot : public RootProjectile
    {
    public:
        void RunImpactScript() override
        {
            xWitnessed.rImpactEnemy = xEnemyStruck;
            xWitnessed.mImpacts++;
        }
        void RunBlockScript() override
        {
            xWitnessed.rBlockEnemy = xEnemyStruck;
            xWitnessed.mBlocks++;
        }
    };
}

TEST_F(EnemyLifecycleTest, HooksLearnWhichEnemyTheyStruckAndNoneOutsideTheIntake)
{
    xWitnessed = Witnessed();
    Enemy *rEnemy = MakeEnemy("Struck", 200.0f, 100.0f, 20.0f, 5);
    WitnessShot *nShot = new WitnessShot();
    nShot->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    nShot->SetSelfMoving(1);
    nShot->SetBlockAutoOffscreenDestruction(1);
    nShot->SetImmuneToInterception(1);
    nShot->SetDimensions(0.0f, 0.0f, 8.0f, 8.0f);
    nShot->SetPosition(205.0f, 105.0f);
    EntityManager::Fetch()->RegisterProjectile("Witness", nShot, DeleteRootObject);
    Tick();
    EXPECT_EQ(xWitnessed.mImpacts, 1);
    EXPECT_EQ(xWitnessed.rImpactEnemy, rEnemy);
    EXPECT_EQ(xEnemyStruck, nullptr);

    // A buster shot stopped by the enemy's blocking contact box: its block hook sees the enemy.
    Enemy *rShield = MakeEnemy("Shield", 300.0f, 100.0f, 20.0f, 5);
    rShield->SetBusterBlocker(1);
    WitnessShot *nBuster = new WitnessShot();
    nBuster->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    nBuster->SetIsBuster(1);
    nBuster->SetSelfMoving(1);
    nBuster->SetBlockAutoOffscreenDestruction(1);
    nBuster->SetImmuneToInterception(1);
    nBuster->SetDimensions(0.0f, 0.0f, 8.0f, 8.0f);
    nBuster->SetPosition(305.0f, 105.0f);
    EntityManager::Fetch()->RegisterProjectile("Witness", nBuster, DeleteRootObject);
    Tick();
    EXPECT_GE(xWitnessed.mBlocks, 1);
    EXPECT_EQ(xWitnessed.rBlockEnemy, rShield);
    EXPECT_EQ(rShield->GetHealth()->GetHealth(), 5);
    EXPECT_EQ(xEnemyStruck, nullptr);
}

TEST_F(EnemyLifecycleTest, AScriptControlThatClearsItsOwnQueueIsNotFreedUnderItself)
{
    Enemy *rEnemy = MakeEnemy("Quitter", 200.0f, 100.0f, 20.0f, 5);
    AIMovementHandler *rHandler = rEnemy->GetMovementHandler();
    const std::string tScript = Script("enemy_script_quits.lua");

    // Outside an update the clear is immediate, even from the movement's first run.
    Run("gQuit = true");
    rHandler->AddMovement(AIMOVE_SCRIPT);
    static_cast<AIScriptControl *>(rHandler->GetLastMovement())->SetScript(tScript.c_str());
    EXPECT_TRUE(rHandler->IsEmpty());

    // Inside the enemy's update it waits until the running step has returned.
    Run("gQuit = false");
    rHandler->AddMovement(AIMOVE_SCRIPT);
    static_cast<AIScriptControl *>(rHandler->GetLastMovement())->SetScript(tScript.c_str());
    Tick();
    EXPECT_FALSE(rHandler->IsEmpty());
    Run("gQuit = true");
    Tick();
    EXPECT_TRUE(rHandler->IsEmpty());
    EXPECT_EQ(GlobalNumber("gQuitRuns"), 4.0);
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveStackSize(), 0);
}

TEST_F(EnemyLifecycleTest, APurgedAnimationLeavesTheAppearanceEmptyNotDangling)
{
    Enemy *rEnemy = MakeEnemy("Shown", 200.0f, 100.0f, 20.0f, 5);
    Run("DL_AddPath('Root/Animations/Test/Walk/') Anim_Create('Root/Animations/Test/Walk/Anim') Anim_SetProperty('TotalFrames', 1)"
        "DL_PopActiveEntity()");
    DataLibrary::Fetch()->PushActiveEntity(rEnemy);
    Run("Enemy_Appearance_SetProperty('AnimationsTotal', 1) Enemy_Appearance_SetProperty('Animation', 0, 'Root/Animations/Test/Walk/Anim')"
        "Enemy_Appearance_SetProperty('AnimationIndex', 0)");
    DataLibrary::Fetch()->PopActiveEntity();
    ASSERT_NE(rEnemy->GetAppearance()->GetAnimation(0), nullptr);
    Run("DL_Purge('Root/Animations/Test/', false)");
    EXPECT_EQ(rEnemy->GetAppearance()->GetAnimation(0), nullptr);
    Tick(2);
    EXPECT_EQ(rEnemy->GetAppearance()->GetFrameIndex(), 0);
}
