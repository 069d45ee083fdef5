#include "EnemyWorld.h"

#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"

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
    GetApplication()->rEntityManager->WipeProjectiles();
    Tick();
    NamedLinkedList *nEnemies = GetApplication()->rEntityManager->ListByType(TYPE_ENEMY);
    EXPECT_EQ(nEnemies->GetCount(), 4);
    delete nEnemies;
    GetApplication()->rEntityManager->ClearEntities();
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
    GetApplication()->rDataLibrary->PushActiveEntity(rEnemy);
    Run("Enemy_PushPropertyAsActiveObject('Projectile') Proj_SetProperty('SelfDestruct', true) DL_PopActiveEntity()"
        "Enemy_PushPropertyAsActiveObject('Hitbox') Hitbox_PushProjectile(1) Proj_SetProperty('SelfDestruct', true) DL_PopActiveEntity()"
        "DL_PopActiveEntity()");
    GetApplication()->rDataLibrary->PopActiveEntity();
    EXPECT_EQ(GetApplication()->rDataLibrary->GetActiveStackSize(), 0);
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
    EXPECT_FALSE(GetApplication()->rEntityManager->GetEntityList()->ContainsData(rContact));
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetBoxCount(), 0);
    Tick();
    MakeEnemy("Other", 300.0f, 100.0f, 20.0f, 3);
    Enemy::KillAllEnemies();
    Tick();
    EXPECT_EQ(GetApplication()->rEntityManager->GetLastEnemyCount(), 0);
}

TEST_F(EnemyLifecycleTest, TheBossBarLosesItsTargetWhenTheEnemyGoes)
{
    Enemy *rBoss = MakeEnemy("Boss", 200.0f, 100.0f, 20.0f, 3);
    GetApplication()->rDataLibrary->PushActiveEntity(rBoss);
    Run("Enemy_BecomeHealthBarTarget()");
    GetApplication()->rDataLibrary->PopActiveEntity();
    EXPECT_EQ(Enemy::GetBossBarTarget(), rBoss);
    rBoss->SetDestruct(1);
    Tick();
    EXPECT_EQ(Enemy::GetBossBarTarget(), nullptr);
    Enemy *rNext = MakeEnemy("Boss", 200.0f, 100.0f, 20.0f, 3);
    Enemy::BecomeBossBarTarget(rNext);
    Run("Enemy_PurgeHealthBarTarget()");
    EXPECT_EQ(Enemy::GetBossBarTarget(), nullptr);
}
