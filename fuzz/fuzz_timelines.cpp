// Timelines of every kind applied at random times, NaN, infinities and negatives included, and
// curves with random control points: the pose and every curve percent must stay finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "support/SkeletonFuzzAtlas.h"
#include "skeleton/Animation.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"

static const char *const cSkeleton = R"({
 "bones":[{"name":"root","x":10,"y":20,"rotation":90,"scaleX":2},{"name":"arm","parent":"root","x":5},
          {"name":"hand","parent":"arm","x":3,"inheritRotation":0,"inheritScale":0}],
 "slots":[{"name":"body","bone":"root","attachment":"body"},{"name":"head","bone":"arm","attachment":"head"},
          {"name":"hand","bone":"hand","color":"80808080"}],
 "skins":{"default":{"body":{"body":{}},"head":{"head":{"rotation":30}},"hand":{"head":{}}}},
 "events":{"step":{}},
 "animations":{
  "all":{"bones":{"arm":{"rotate":[{"time":0,"angle":350,"curve":[0.25,0,0.75,1]},{"time":0.5,"angle":10,"curve":"stepped"},{"time":1,"angle":-170}],
                         "translate":[{"time":0.1,"x":1,"curve":[0.5,2,1,-1]},{"time":2,"x":-4,"y":3}],
                         "scale":[{"time":0,"x":1,"y":1},{"time":1,"x":3,"y":0.5}]},
                  "hand":{"rotate":[{"time":0.5,"angle":45}]}},
         "slots":{"head":{"color":[{"time":0,"color":"ff000080"},{"time":1,"color":"00ff00ff","curve":[0,1,1,0]},{"time":1.5,"color":"0000ffff"}],
                          "attachment":[{"time":0.25,"name":null},{"time":0.75,"name":"head"}]}},
         "events":[{"time":0,"name":"step"},{"time":0.5,"name":"step"},{"time":0.5,"name":"step"},{"time":1.9,"name":"step"}],
         "draworder":[{"time":0.2,"offsets":[{"slot":"body","offset":2}]},{"time":1.2}]},
  "empty":{}}})";

static bool Finite(float pValue)
{
    return std::isfinite(pValue);
}

static void CheckPose(const Skeleton *pSkeleton)
{
    for(int32_t i = 0; i < pSkeleton->mBoneCount; i++)
    {
        const Bone *rBone = pSkeleton->mBones[i];
        const float cValues[] = {rBone->mX, rBone->mY, rBone->mRotation, rBone->mScaleX, rBone->mScaleY, rBone->mM00,
                                 rBone->mM01, rBone->mM10, rBone->mM11, rBone->mWorldX, rBone->mWorldY};
        for(float tValue : cValues)
        {
            if(!Finite(tValue)) abort();
        }
    }
    for(int32_t i = 0; i < pSkeleton->mSlotCount; i++)
    {
        const Slot *rSlot = pSkeleton->mSlots[i];
        if(!Finite(rSlot->mR) || !Finite(rSlot->mG) || !Finite(rSlot->mB) || !Finite(rSlot->mA)) abort();
        if(!pSkeleton->mDrawOrder[i]) abort();
    }
}

static float ReadFloat(const uint8_t *&sData, size_t &sSize)
{
    float tValue = 0.0f;
    if(sSize < sizeof(float)) return tValue;
    memcpy(&tValue, sData, sizeof(float));
    sData += sizeof(float);
    sSize -= sizeof(float);
    return tValue;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    static Atlas *sAtlas = MakeFuzzAtlas();
    static SkeletonJson *sReader = SkeletonJson_create(sAtlas);
    static SkeletonData *sData = SkeletonJson_readSkeletonData(sReader, cSkeleton);
    if(!sData) abort();
    Skeleton *nSkeleton = Skeleton_create(sData);
    Skeleton_setToSetupPose(nSkeleton);
    Skeleton_updateWorldTransform(nSkeleton);

    // First four floats: curve control points for a stand-alone segment.
    CurveTimeline *nCurve = RotateTimeline_create(2);
    float tPoints[4];
    for(float &rPoint : tPoints) rPoint = ReadFloat(pData, pSize);
    CurveTimeline_setCurve(nCurve, 0, tPoints[0], tPoints[1], tPoints[2], tPoints[3]);

    Event *tBuffer[8];
    while(pSize > 0)
    {
        uint8_t tControl = *pData++;
        pSize--;
        float tLast = ReadFloat(pData, pSize);
        float tTime = ReadFloat(pData, pSize);
        const Animation *rAnimation = sData->mAnimations[tControl % sData->mAnimationCount];
        EventList tEvents = {tBuffer, 0, 8};
        Animation_mix(rAnimation, nSkeleton, tLast, tTime, tControl & 2, (tControl & 4) ? &tEvents : nullptr,
                      (tControl & 8) ? 0.5f : 1.0f);
        if(tEvents.mCount > tEvents.mCapacity) abort();
        Skeleton_updateWorldTransform(nSkeleton);
        CheckPose(nSkeleton);
        if(!Finite(CurveTimeline_getCurvePercent(nCurve, 0, tTime))) abort();
        if(!Finite(CurveTimeline_getCurvePercent(nCurve, 0, tLast))) abort();
    }
    Timeline_dispose(&nCurve->mSuper);
    Skeleton_dispose(nSkeleton);
    return 0;
}
