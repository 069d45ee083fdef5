#include "world/EntityManager.h"

#include "core/Application.h"
#include "world/RootEntity.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
    // A small amount of per-tick work, so the walk's own cost stays visible.
    class CountingEntity : public RootEntity
    {
    public:
        void Update() override { mTicks++; }
        int32_t mTicks = 0;
    };
}

// One update walk over n enabled entities, none flagged for destruction.
static void BM_EntityManagerUpdate(benchmark::State &pState)
{
    EntityManager *rPrevious = GetApplication()->mEntityManager;
    EntityManager *tManager = new EntityManager();
    tManager->CreateSpecialLists();
    GetApplication()->mEntityManager = tManager;

    char tName[32];
    for(int64_t i = 0; i < pState.range(0); i++)
    {
        snprintf(tName, sizeof(tName), "Entity|%d", (int)i);
        tManager->RegisterEntity(tName, new CountingEntity(), DeleteRootObject);
    }
    for(auto _ : pState)
    {
        tManager->Update();
    }
    pState.SetItemsProcessed(pState.iterations() * pState.range(0));

    GetApplication()->mEntityManager = rPrevious;
    delete tManager;
}
BENCHMARK(BM_EntityManagerUpdate)->Arg(100)->Arg(1000)->Arg(10000);
