#include "core/NamedLinkedList.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
    // Entries "Entity|0" .. "Entity|n-1", the shape of the entity manager's registrations.
    void FillList(NamedLinkedList &pList, int64_t pCount, int32_t *pData)
    {
        char tName[32];
        for(int64_t i = 0; i < pCount; i++)
        {
            snprintf(tName, sizeof(tName), "Entity|%d", (int)i);
            pData[i] = (int32_t)i;
            pList.AddElementWithDeleter(tName, &pData[i], DeleteNothing);
        }
    }
}

// Looks up names spread over the list, so the average cost is about half a walk.
static void BM_NamedLookup(benchmark::State &pState)
{
    const int64_t tCount = pState.range(0);
    int32_t *tData = new int32_t[tCount];
    NamedLinkedList tList;
    FillList(tList, tCount, tData);

    char tKeys[16][32];
    for(int i = 0; i < 16; i++) snprintf(tKeys[i], sizeof(tKeys[i]), "Entity|%d", (int)(tCount * i / 16));
    int tKey = 0;
    for(auto _ : pState)
    {
        benchmark::DoNotOptimize(tList.GetElementByName(tKeys[tKey]));
        tKey = (tKey + 1) & 15;
    }
    delete[] tData;
}
BENCHMARK(BM_NamedLookup)->Arg(100)->Arg(1000)->Arg(10000);

static void BM_IterateAll(benchmark::State &pState)
{
    const int64_t tCount = pState.range(0);
    int32_t *tData = new int32_t[tCount];
    NamedLinkedList tList;
    FillList(tList, tCount, tData);

    for(auto _ : pState)
    {
        int64_t tSum = 0;
        for(void *rData = tList.PushIterator(); rData; rData = tList.IterateNext()) tSum += *(int32_t *)rData;
        benchmark::DoNotOptimize(tSum);
    }
    pState.SetItemsProcessed(pState.iterations() * tCount);
    delete[] tData;
}
BENCHMARK(BM_IterateAll)->Arg(100)->Arg(1000)->Arg(10000);
