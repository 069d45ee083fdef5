#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "core/Application.h"
#include "core/data/DataLibrary.h"
#include "core/render/CorvelAnimation.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
    const int32_t cSharedAnimations = 4;
}

// Clearing n enemies: all at once, as a quit or the way to the level select does, or flagged
// and swept by the next updates, as a map change does. Every enemy is dressed as the sample
// game's are: its appearance keeps the animations all of them share, and its contact box is an
// entity of its own, so each one brings its holders and the library is told of each going.
// The time should grow in line with n. Past some thousands the enemies outgrow the processor's
// caches, and the time per enemy steps up once there, then holds.
static void BM_ClearEnemies(benchmark::State &pState, bool pSweptByUpdate)
{
    Application tSaved = *GetApplication();
    Application *rApp = GetApplication();
    rApp->mDataLibrary = new DataLibrary();
    rApp->mCameraManager = new CameraManager();
    rApp->mEntityManager = new EntityManager();
    rApp->mEntityManager->CreateSpecialLists();
    rApp->mMapManager = nullptr;
    rApp->mAudioManager = nullptr;
    rApp->mGUI = nullptr;

    char tPath[64];
    CorvelAnimation *rShared[cSharedAnimations];
    for(int32_t i = 0; i < cSharedAnimations; i++)
    {
        snprintf(tPath, sizeof(tPath), "Root/Animations/Bench/Crawler/Pose%i", i);
        rApp->mDataLibrary->AddPath(tPath);
        rShared[i] = new CorvelAnimation();
        rApp->mDataLibrary->AddEntry(tPath, rShared[i], CorvelAnimation::DeleteThis);
    }

    const int32_t tCount = (int32_t)pState.range(0);
    for(auto _ : pState)
    {
        pState.PauseTiming();
        for(int32_t i = 0; i < tCount; i++)
        {
            Enemy *nEnemy = new Enemy("BenchEnemy");
            rApp->mEntityManager->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
            EnemyAppearance *rLooks = nEnemy->GetAppearance();
            rLooks->SetAnimationsTotal(cSharedAnimations);
            for(int32_t a = 0; a < cSharedAnimations; a++) rLooks->SetAnimation(a, rShared[a]);
        }
        if(pSweptByUpdate) Enemy::KillAllEnemies();
        pState.ResumeTiming();
        if(!pSweptByUpdate) rApp->mEntityManager->ClearEntities();
        // The first sweep takes the enemies; their contact boxes, flagged as they go, the next.
        for(int32_t i = 0; i < 2 && pSweptByUpdate; i++) rApp->mEntityManager->Update();
    }
    pState.SetComplexityN(tCount);
    pState.SetItemsProcessed(pState.iterations() * tCount);

    delete rApp->mEntityManager;
    delete rApp->mCameraManager;
    delete rApp->mDataLibrary;
    *rApp = tSaved;
}
BENCHMARK_CAPTURE(BM_ClearEnemies, AtOnce, false)
    ->Arg(1000)->Arg(4000)->Arg(16000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ClearEnemies, SweptByUpdate, true)
    ->Arg(1000)->Arg(4000)->Arg(16000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
