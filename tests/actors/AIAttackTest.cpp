#include "support/EnemyWorld.h"

using AIAttackTest = EnemyWorld;

namespace
{
    int32_t CountNamed(const char *pPrefix)
    {
        int32_t tCount = 0;
        NamedLinkedList *rList = EntityManager::Fetch()->GetEntityList();
        for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
        {
            if(!strncmp(rList->GetIteratorName(), pPrefix, strlen(pPrefix))) tCount++;
        }
        return tCount;
    }
}

TEST_F(AIAttackTest, DelaysPlaceTheEffectAndTheEndAndAttacksRunInTurn)
{
    Enemy *rEnemy = MakeEnemy("Shooter", 200.0f, 100.0f, 20.0f, 5);
    AIAttackHandler *rHandler = rEnemy->GetAttackHandler();
    rHandler->CreateAttack(AIATTACK_LEMON);
    rHandler->GetLastAttack()->SetDelayBeforeCreatingAttack(30);
    rHandler->GetLastAttack()->SetDelayAfterCreatingAttack(10);
    rHandler->CreateAttack(AIATTACK_LEMON);
    rHandler->GetLastAttack()->SetDelayAfterCreatingAttack(0);
    Tick(30);
    EXPECT_EQ(CountNamed("PROJ|ENEMY_LEMON_PROJECTILE|"), 0);
    Tick();
    EXPECT_EQ(CountNamed("PROJ|ENEMY_LEMON_PROJECTILE|"), 1);
    Tick(9);
    EXPECT_EQ(rHandler->GetCount(), 2);
    Tick();
    EXPECT_EQ(rHandler->GetCount(), 1);
    // The second waited its turn: it fires on the next tick and goes in the same tick.
    Tick();
    EXPECT_EQ(CountNamed("PROJ|ENEMY_LEMON_PROJECTILE|"), 2);
    EXPECT_TRUE(rHandler->IsDoneCreatingAttacks());

    // All at once: both fire in one tick, and the flag clears with the empty queue.
    rHandler->CreateAttack(AIATTACK_LEMON);
    rHandler->CreateAttack(AIATTACK_LEMON);
    rHandler->SetCreateAllAttacksAtOnce(1);
    Tick();
    EXPECT_EQ(CountNamed("PROJ|ENEMY_LEMON_PROJECTILE|"), 4);
    EXPECT_FALSE(rHandler->GetCreateAllAttacksAtOnce());
}

TEST_F(AIAttackTest, LemonShotsMirrorAboutTheBoxRightAndSpawnsAboutThePosition)
{
    Run(("gEmptyLogic = '" + Script("enemy_empty.lua") + "'").c_str());
    Enemy *rEnemy = MakeEnemy("Shooter", 200.0f, 100.0f, 20.0f, 5);
    AIAttackHandler *rHandler = rEnemy->GetAttackHandler();
    rHandler->CreateAttack(AIATTACK_LEMON);
    AILemonAttack *rLemon = static_cast<AILemonAttack *>(rHandler->GetLastAttack());
    rLemon->SetOffsetPosition(4.0f, 6.0f);
    rLemon->SetAnimationDirectionFacing(1);
    rLemon->SetDamage(3);
    RootProjectile *rShot = rLemon->GetProjectile();
    Tick();
    float tX, tY, tZ;
    rShot->GetPosition(tX, tY, tZ);
    EXPECT_EQ(tX, 216.0f);
    EXPECT_EQ(tY, 106.0f);
    EXPECT_EQ(rShot->GetDamage(), 3);
    EXPECT_EQ(rShot->GetTargetFlags(), PROJECTILE_TARGET_PLAYER);

    rHandler->CreateAttack(AIATTACK_SPAWN_ENEMY);
    AISpawnEnemyAttack *rSpawn = static_cast<AISpawnEnemyAttack *>(rHandler->GetLastAttack());
    rSpawn->SetEnemyName("Child");
    rSpawn->SetConstructorScript(Script("enemy_spawned.lua").c_str());
    rSpawn->SetOffsetPosition(4.0f, 6.0f);
    rSpawn->SetAnimationDirectionFacing(1);
    rSpawn->SetNumberOfConstructorArguments(2);
    rSpawn->AddScriptArgument("alpha");
    rSpawn->AddScriptArgument("beta");
    testing::internal::CaptureStderr();
    rSpawn->AddScriptArgument("gamma");
    EXPECT_EQ(CapturedStderr(), "AISpawnEnemyAttack::AddScriptArgument error, no more arguments can be added.\n");
    Tick();
    Enemy *rChild = (Enemy *)EntityManager::Fetch()->GetEntity("Child");
    ASSERT_NE(rChild, nullptr);
    rChild->GetPosition(tX, tY, tZ);
    EXPECT_EQ(tX, 196.0f);
    EXPECT_EQ(tY, 106.0f);
    EXPECT_EQ(GlobalString("gSpawnArgs"), "2:alpha,beta;");
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveStackSize(), 0);
}

TEST_F(AIAttackTest, ASpawnedConstructorThatClearsItsParentsAttacksFreesNothingInUse)
{
    Run(("gEmptyLogic = '" + Script("enemy_empty.lua") + "'").c_str());
    Enemy *rParent = MakeEnemy("Parent", 200.0f, 100.0f, 20.0f, 5);
    AIAttackHandler *rHandler = rParent->GetAttackHandler();
    for(int32_t i = 0; i < 3; i++)
    {
        rHandler->CreateAttack(AIATTACK_SPAWN_ENEMY);
        AISpawnEnemyAttack *rSpawn = static_cast<AISpawnEnemyAttack *>(rHandler->GetLastAttack());
        rSpawn->SetEnemyName("Child");
        rSpawn->SetConstructorScript(Script("enemy_spawned_clears_parent.lua").c_str());
        rSpawn->SetDelayAfterCreatingAttack(5);
    }
    rHandler->SetCreateAllAttacksAtOnce(1);
    Tick();
    EXPECT_EQ(GlobalNumber("gCleared"), 1.0);
    EXPECT_TRUE(rHandler->IsDoneCreatingAttacks());
    Tick(2);
}

TEST_F(AIAttackTest, BindingsBuildAttacksAndKeepTheActiveStackBalanced)
{
    Enemy *rEnemy = MakeEnemy("Shooter", 200.0f, 100.0f, 20.0f, 5);
    std::string tErr = RunWithActive(rEnemy,
        "Enemy_PushPropertyAsActiveObject('AIAttackHandler')"
        "for i = 1, 11 do AIAttackHandler_CreateAttack('LEMON_PROJECTILE') AIAttack_SetProperty('DelayBeforeCreatingAttack', i) "
        "DL_PopActiveEntity() end "
        "AIAttackHandler_CreateAttack('BANANA') DL_PopActiveEntity() "
        "AIAttackHandler_CreateAttack('SPAWN_ENEMY') DL_PopActiveEntity() "
        "AIAttackHandler_CreateAttack() DL_PopActiveEntity() "
        "gDone = tostring(AIAttackHandler_IsDoneCreatingAttacks()) "
        "DL_PopActiveEntity()");
    EXPECT_EQ(rEnemy->GetAttackHandler()->GetCount(), 10);
    // The eleventh was refused, so its delay went to the tenth.
    EXPECT_EQ(rEnemy->GetAttackHandler()->GetLastAttack()->IsDone(), 0);
    EXPECT_NE(tErr.find("AIAttackHandler::CreateAttack warning, max number of attacks that can be created reached. Check your scripts.\n"),
              std::string::npos);
    EXPECT_NE(tErr.find("AIAttackHandler_CreateAttack: Failed, cannot resolve BANANA with 1 args.\n"), std::string::npos);
    EXPECT_NE(tErr.find("AIAttackHandler_CreateAttack: No attack type specified.\n"), std::string::npos);
    EXPECT_EQ(GlobalString("gDone"), "false");
}

TEST_F(AIAttackTest, AttackKeysAnswerOnlyTheirCountsAndKinds)
{
    Enemy *rEnemy = MakeEnemy("Keyed", 200.0f, 100.0f, 20.0f, 5);
    std::string tErr = RunWithActive(rEnemy,
        "Enemy_PushPropertyAsActiveObject('AIAttackHandler')"
        "AIAttackHandler_SetProperty('CreateAllAttacksAtOnce') AIAttackHandler_SetProperty('Bogus', true)"
        "AIAttackHandler_SetProperty('CreateAllAttacksAtOnce', true)"
        "AIAttackHandler_CreateAttack('LEMON_PROJECTILE')"
        "AIAttack_SetProperty('Damage', 3) AIAttack_SetProperty('Damage') AIAttack_SetProperty('AnimationIndex', 2)"
        "AIAttack_SetProperty('Bogus', 1) AISpawnEnemyAttack_SetProperty('EnemyName', 'X')"
        "AILemonAttack_PushPropertyAsActiveObject('Projectile') gProjType = DL_GetActiveObjectType() DL_PopActiveEntity()"
        "AILemonAttack_PushPropertyAsActiveObject('Lemon') DL_PopActiveEntity()"
        "DL_PopActiveEntity()"
        "AIAttackHandler_CreateAttack('SPAWN_ENEMY')"
        "AISpawnEnemyAttack_SetProperty('NumberOfConstructorArguments', 2) AISpawnEnemyAttack_SetProperty('ConstructorArgument', 'a')"
        "AISpawnEnemyAttack_SetProperty('ConstructorArgument') AISpawnEnemyAttack_SetProperty('Bogus', 1)"
        "AILemonAttack_PushPropertyAsActiveObject('Projectile') DL_PopActiveEntity()"
        "DL_PopActiveEntity() DL_PopActiveEntity()");
    AIAttackHandler *rHandler = rEnemy->GetAttackHandler();
    EXPECT_EQ(rHandler->GetCreateAllAttacksAtOnce(), 1);
    ASSERT_EQ(rHandler->GetCount(), 2);
    EXPECT_EQ(rHandler->GetFirstAttack()->GetDamage(), 3);
    EXPECT_EQ(rHandler->GetFirstAttack()->GetAnimationIndex(), 2);
    EXPECT_EQ(static_cast<AISpawnEnemyAttack *>(rHandler->GetLastAttack())->GetArgumentsFilled(), 1);
    EXPECT_EQ(GlobalNumber("gProjType"), (double)TYPE_ROOTPROJECTILE);
    ExpectLines(tErr, {
        "AIAttackHandler_SetProperty: Failed, cannot resolve CreateAllAttacksAtOnce with 1 args.\n",
        "AIAttackHandler_SetProperty: Failed, cannot resolve Bogus with 2 args.\n",
        "AIAttack_SetProperty: Failed, cannot resolve Damage with 1 args.\n",
        "AIAttack_SetProperty: Failed, cannot resolve Bogus with 2 args.\n",
        "AILemonAttack_PushPropertyAsActiveObject: Failed, Lemon does not match any property.\n",
        "AISpawnEnemyAttack_SetProperty: Failed, cannot resolve ConstructorArgument with 1 args.\n",
        "AISpawnEnemyAttack_SetProperty: Failed, cannot resolve Bogus with 2 args.\n",
        "Warning, current AIAttack is not a LEMON_PROJECTILE type.\n",
        "Warning, current AIAttack is not a SPAWN_ENEMY type.\n",
    });
}
