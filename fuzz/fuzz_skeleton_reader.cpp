// The skeleton reader on mutated skeleton files: missing keys, wrong types, empty arrays, curves
// on last frames, bad draw-order offsets and huge angles must fail cleanly or read; whatever is
// read is posed and played.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/SkeletonFuzzAtlas.h"
#include "skeleton/Animation.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    static Atlas *sAtlas = MakeFuzzAtlas();
    SkeletonJson *nReader = SkeletonJson_create(sAtlas);
    SkeletonData *nData = SkeletonJson_readSkeletonDataLength(nReader, (const char *)pData, pSize);
    if(!nData && !nReader->mError) abort();
    if(nData)
    {
        Skeleton *nSkeleton = Skeleton_create(nData);
        if(!nSkeleton) abort();
        for(int32_t s = 0; s < nData->mSkinCount; s++) Skeleton_setSkin(nSkeleton, nData->mSkins[s]);
        Skeleton_setToSetupPose(nSkeleton);
        Skeleton_updateWorldTransform(nSkeleton);
        Event *tBuffer[16];
        for(int32_t a = 0; a < nData->mAnimationCount; a++)
        {
            const Animation *rAnimation = nData->mAnimations[a];
            const float cTimes[] = {-1.0f, 0.0f, 0.25f, 0.5f, 1.0f, 1.5f, 7.0f};
            float tLast = 0.0f;
            for(float tTime : cTimes)
            {
                EventList tEvents = {tBuffer, 0, 16};
                Animation_apply(rAnimation, nSkeleton, tLast, tTime, tTime > 1.0f, &tEvents);
                Skeleton_updateWorldTransform(nSkeleton);
                tLast = tTime;
            }
        }
        Skeleton_dispose(nSkeleton);
    }
    SkeletonData_dispose(nData);
    SkeletonJson_dispose(nReader);
    return 0;
}
