#include "skeleton/Animation.h"
#include "skeleton/Atlas.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
    const char *const cAtlas = "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
                               "part\nrotate: false\nxy: 0, 0\nsize: 16, 16\norig: 16, 16\noffset: 0, 0\nindex: -1\n";

    // A chain of n bones, one slot with a region each, and an animation that rotates and moves
    // every bone through ten curved key frames: a busy enemy puppet.
    char *MakeSkeletonText(int32_t pBones)
    {
        size_t tCapacity = (size_t)pBones * 2048 + 1024;
        char *nText = (char *)malloc(tCapacity);
        size_t tUsed = (size_t)snprintf(nText, tCapacity, "{\"bones\":[{\"name\":\"b0\"}");
        for(int32_t i = 1; i < pBones; i++)
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, ",{\"name\":\"b%d\",\"parent\":\"b%d\",\"x\":8,\"rotation\":5}", i, i - 1);
        tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "],\"slots\":[");
        for(int32_t i = 0; i < pBones; i++)
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "%s{\"name\":\"s%d\",\"bone\":\"b%d\",\"attachment\":\"part\"}", i ? "," : "", i, i);
        tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "],\"skins\":{\"default\":{");
        for(int32_t i = 0; i < pBones; i++)
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "%s\"s%d\":{\"part\":{}}", i ? "," : "", i);
        tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "}},\"animations\":{\"move\":{\"bones\":{");
        for(int32_t i = 0; i < pBones; i++)
        {
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "%s\"b%d\":{\"rotate\":[", i ? "," : "", i);
            for(int32_t k = 0; k < 10; k++)
                tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "%s{\"time\":%d,\"angle\":%d,\"curve\":[0.25,0,0.75,1]}", k ? "," : "", k, (k * 37) % 90);
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "],\"translate\":[");
            for(int32_t k = 0; k < 10; k++)
                tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "%s{\"time\":%d,\"x\":%d,\"y\":%d}", k ? "," : "", k, k % 3, k % 4);
            tUsed += (size_t)snprintf(nText + tUsed, tCapacity - tUsed, "]}");
        }
        snprintf(nText + tUsed, tCapacity - tUsed, "}}}}");
        return nText;
    }
}

// Reading a skeleton file: parse, bones, slots, skins and one animation.
static void BM_SkeletonRead(benchmark::State &pState)
{
    char *nText = MakeSkeletonText((int32_t)pState.range(0));
    Atlas *nAtlas = Atlas_readAtlas(cAtlas, (int32_t)strlen(cAtlas), "");
    SkeletonJson *nReader = SkeletonJson_create(nAtlas);
    for(auto _ : pState)
    {
        SkeletonData *nData = SkeletonJson_readSkeletonData(nReader, nText);
        benchmark::DoNotOptimize(nData);
        SkeletonData_dispose(nData);
    }
    pState.SetBytesProcessed((int64_t)pState.iterations() * (int64_t)strlen(nText));
    SkeletonJson_dispose(nReader);
    Atlas_dispose(nAtlas);
    free(nText);
}
BENCHMARK(BM_SkeletonRead)->Arg(8)->Arg(32);

// One puppet tick: apply the animation from the last time to this one, then world transforms.
static void BM_SkeletonTick(benchmark::State &pState)
{
    char *nText = MakeSkeletonText((int32_t)pState.range(0));
    Atlas *nAtlas = Atlas_readAtlas(cAtlas, (int32_t)strlen(cAtlas), "");
    SkeletonJson *nReader = SkeletonJson_create(nAtlas);
    SkeletonData *nData = SkeletonJson_readSkeletonData(nReader, nText);
    Skeleton *nSkeleton = Skeleton_create(nData);
    Skeleton_setToSetupPose(nSkeleton);
    const Animation *rAnimation = nData->mAnimations[0];
    float tTime = 0.0f;
    for(auto _ : pState)
    {
        float tNext = tTime + 1.0f / 60.0f;
        Animation_apply(rAnimation, nSkeleton, tTime, tNext, 1, nullptr);
        Skeleton_updateWorldTransform(nSkeleton);
        tTime = tNext;
        benchmark::DoNotOptimize(nSkeleton->mBones[nSkeleton->mBoneCount - 1]->mWorldX);
    }
    Skeleton_dispose(nSkeleton);
    SkeletonData_dispose(nData);
    SkeletonJson_dispose(nReader);
    Atlas_dispose(nAtlas);
    free(nText);
}
BENCHMARK(BM_SkeletonTick)->Arg(8)->Arg(32);
