#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/Enemy.h"
#include "actors/EnemyHealth.h"
#include "core/Application.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

void RegisterLuaBindings(lua_State *L);

namespace
{
    // Each enemy flies back and forth between two points on screen and keeps one lemon
    // attack queued (30 ticks before the shot, 30 after), so every tick moves them all and
    // some fire; the shots (spits like the sample game's, which skip the interception sweep)
    // fly off and are destroyed beyond the view.
    void ArmEnemy(Enemy *pEnemy, float pX, float pY)
    {
        AIMovementHandler *rMoves = pEnemy->GetMovementHandler();
        rMoves->AddMovement(AIMOVE_AIR);
        rMoves->GetLastMovement()->SetDestinationPosition(pX + 40.0f, pY);
        rMoves->GetLastMovement()->SetSpeed(1.0f, 1.0f);
        rMoves->AddMovement(AIMOVE_AIR);
        rMoves->GetLastMovement()->SetDestinationPosition(pX, pY);
        rMoves->GetLastMovement()->SetSpeed(1.0f, 1.0f);
        rMoves->SetLoopMovements(1);
    }

    void Reload(Enemy *pEnemy)
    {
        AIAttackHandler *rAttacks = pEnemy->GetAttackHandler();
        if(!rAttacks->IsDoneCreatingAttacks()) return;
        rAttacks->CreateAttack(AIATTACK_LEMON);
        rAttacks->GetLastAttack()->SetDelayBeforeCreatingAttack(30);
        rAttacks->GetLastAttack()->SetDelayAfterCreatingAttack(30);
        rAttacks->GetLastAttack()->SetDamage(1);
        RootProjectile *rShot = static_cast<AILemonAttack *>(rAttacks->GetLastAttack())->GetProjectile();
        rShot->SetSpeeds(-4.0f, 0.0f);
        rShot->SetImmuneToInterception(1);
    }
}

// One entity-manager tick with n live enemies, each running its (empty) logic script, its
// movement queue, its attack queue and its damage intake; the second argument 0 leaves the
// attack queues empty, to show what the shots in flight cost.
static void BM_EnemyTick(benchmark::State &pState)
{
    Application tSaved = *GetApplication();
    Application *rApp = GetApplication();
    rApp->mDataLibrary = new DataLibrary();
    rApp->mLuaManager = new LuaManager();
    RegisterLuaBindings(rApp->mLuaManager->GetState());
    rApp->mEntityManager = new EntityManager();
    rApp->mEntityManager->CreateSpecialLists();
    rApp->mCameraManager = new CameraManager();
    rApp->mMapManager = nullptr;
    rApp->mAudioManager = nullptr;
    rApp->mGUI = nullptr;

    char tLogic[] = "/tmp/corvel_enemy_benchXXXXXX";
    int tFile = mkstemp(tLogic);
    if(tFile >= 0) close(tFile);

    const int32_t tCount = (int32_t)pState.range(0);
    Enemy **nEnemies = new Enemy *[tCount];
    for(int32_t i = 0; i < tCount; i++)
    {
        Enemy *nEnemy = new Enemy("BenchEnemy");
        rApp->mEntityManager->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
        nEnemy->SetLogicScript(tLogic);
        nEnemy->SetBoundingBoxSize(16.0f, 16.0f);
        nEnemy->GetHealth()->SetHealth(10);
        nEnemy->SetContactDamage(1);
        const float tX = 20.0f + (float)(i % 20) * 20.0f;
        const float tY = 20.0f + (float)((i / 20) % 15) * 20.0f;
        nEnemy->SetPositionAutoCenter(tX, tY, 0.0f);
        ArmEnemy(nEnemy, tX, tY);
        nEnemies[i] = nEnemy;
    }

    for(auto _ : pState)
    {
        for(int32_t i = 0; i < tCount && pState.range(1); i++) Reload(nEnemies[i]);
        rApp->mEntityManager->Update();
        rApp->mEntityManager->RunTickAlways();
    }
    pState.SetItemsProcessed(pState.iterations() * tCount);

    delete[] nEnemies;
    delete rApp->mEntityManager;
    delete rApp->mCameraManager;
    delete rApp->mLuaManager;
    delete rApp->mDataLibrary;
    *rApp = tSaved;
    unlink(tLogic);
}
BENCHMARK(BM_EnemyTick)->Args({100, 1})->Args({1000, 1})->Args({100, 0})->Args({1000, 0})->Unit(benchmark::kMicrosecond);
