#include "core/render/CorvelAnimation.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/DebugPrint.h"

namespace
{
    // Script-given counts and rates can make products far outside an i32; clamp instead of
    // letting the conversion overflow.
    int32_t TruncateToInt(double pValue)
    {
        if(!(pValue == pValue)) return 0;
        if(pValue >= 2147483647.0) return INT32_MAX;
        if(pValue <= -2147483648.0) return INT32_MIN;
        return (int32_t)pValue;
    }
}

CorvelAnimation::CorvelAnimation()
    : mFrameCount(0), mFrames(nullptr), mTotalTicks(1), mTicksPerFrame(1.0f), mManualTiming(0),
      mFrameTicks(nullptr), mFrameTicksCount(0), mHolder(this, ReleaseFrame)
{
    mType = TYPE_CORVELANIMATION;
}

CorvelAnimation::~CorvelAnimation()
{
    free(mFrames);
    free(mFrameTicks);
}

void CorvelAnimation::DeleteThis(void *pAnimation)
{
    delete (CorvelAnimation *)pAnimation;
}

void CorvelAnimation::ReleaseFrame(void *pAnimation, void *pObject)
{
    CorvelAnimation *rAnimation = (CorvelAnimation *)pAnimation;
    for(int32_t i = 0; i < rAnimation->mFrameCount; i++)
    {
        if(rAnimation->mFrames[i] == pObject) rAnimation->mFrames[i] = nullptr;
    }
}

void CorvelAnimation::RecomputeTotalFromRate()
{
    mTotalTicks = TruncateToInt((float)mFrameCount * mTicksPerFrame);
}

void CorvelAnimation::ResizeTickTable(int32_t pCount)
{
    if(pCount < 1)
    {
        free(mFrameTicks);
        mFrameTicks = nullptr;
        mFrameTicksCount = 0;
        return;
    }
    int32_t *tTable = (int32_t *)realloc(mFrameTicks, sizeof(int32_t) * (size_t)pCount);
    if(!tTable)
    {
        free(mFrameTicks);
        mFrameTicks = nullptr;
        mFrameTicksCount = 0;
        return;
    }
    for(int32_t i = mFrameTicksCount; i < pCount; i ++) tTable[i] = 1;
    mFrameTicks = tTable;
    mFrameTicksCount = pCount;
}

void CorvelAnimation::SetTotalFrames(int32_t pCount)
{
    if(pCount > ANIMATION_MAX_FRAMES)
    {
        fprintf(stderr, "Anim_SetProperty:  TotalFrames %i is more than %i, using %i.\n", pCount,
                ANIMATION_MAX_FRAMES, ANIMATION_MAX_FRAMES);
        pCount = ANIMATION_MAX_FRAMES;
    }
    free(mFrames);
    mFrames = nullptr;
    mFrameCount = 0;
    if(pCount > 0)
    {
        mFrames = (Bitmap **)calloc((size_t)pCount, sizeof(Bitmap *));
        if(mFrames)
        {
            mFrameCount = pCount;
            RecomputeTotalFromRate();
        }
    }
    if(mManualTiming) ResizeTickTable(mFrameCount);
}

void CorvelAnimation::SetManualTiming(uint8_t pOn)
{
    free(mFrameTicks);
    mFrameTicks = nullptr;
    mFrameTicksCount = 0;
    mManualTiming = pOn;
    if(pOn == 1 && mFrameCount > 0) ResizeTickTable(mFrameCount);
}

void CorvelAnimation::SetFrame(int32_t pIndex, Bitmap *pBitmap)
{
    if(pIndex < 0 || pIndex >= mFrameCount) return;
    mFrames[pIndex] = mHolder.Hold(pBitmap);
    Debug::Print("  Was %p\n", (void *)pBitmap);
}

void CorvelAnimation::SetFrameWithTicks(int32_t pIndex, Bitmap *pBitmap, int32_t pTicks)
{
    if(pIndex < 0 || pIndex >= mFrameCount || !mFrameTicks || pIndex >= mFrameTicksCount) return;
    mFrames[pIndex] = mHolder.Hold(pBitmap);
    mFrameTicks[pIndex] = pTicks;
    int64_t tSum = 0;
    for(int32_t i = 0; i < mFrameTicksCount; i ++) tSum += mFrameTicks[i];
    mTotalTicks = TruncateToInt((double)tSum);
}

void CorvelAnimation::SetTicksPerFrame(float pTicks)
{
    if(pTicks == 0.0f) pTicks = 1.0f;
    mTicksPerFrame = pTicks;
    RecomputeTotalFromRate();
}

int32_t CorvelAnimation::GetFrameTicks(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mFrameCount) return 0;
    if(!mFrameTicks || pIndex >= mFrameTicksCount) return 1;
    return mFrameTicks[pIndex];
}

int32_t CorvelAnimation::GetFrameIndexAtTick(int32_t pTick) const
{
    if(pTick < 0 || mTotalTicks <= 0) return 0;
    int32_t tTick = pTick % mTotalTicks;
    if(mManualTiming)
    {
        int64_t tLeft = tTick;
        int32_t i = 0;
        while(i < mFrameCount && GetFrameTicks(i) <= tLeft)
        {
            tLeft -= GetFrameTicks(i);
            i ++;
        }
        return i;
    }
    return TruncateToInt((float)tTick / mTicksPerFrame);
}

Bitmap *CorvelAnimation::GetFrameAtTick(int32_t pTick) const
{
    return GetFrame(GetFrameIndexAtTick(pTick));
}

Bitmap *CorvelAnimation::GetFrame(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mFrameCount) return nullptr;
    return mFrames[pIndex];
}
