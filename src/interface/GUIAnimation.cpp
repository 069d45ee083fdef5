#include "interface/GUIAnimation.h"

#include <cmath>
#include <cstdlib>

#include "core/Geometry.h"
#include "interface/GUIBaseObject.h"

// The quarter-turn of the eased slide is half of this value; slides were tuned with it, so it
// stays as it is rather than the exact constant.
static const float cSlidePi = 3.14159256f;

void StepMoveAnimation(GUIAnimation *pAnimation)
{
    if(!pAnimation || !pAnimation->rTarget || !pAnimation->mData) return;
    GUIBaseObject *rTarget = pAnimation->rTarget;
    GUIMoveData *rData = static_cast<GUIMoveData *>(pAnimation->mData);
    float tX = rTarget->GetX1();
    float tY = rTarget->GetY1();
    float tDistance = PointDistance(tX, (float)rData->mTargetX, tY, (float)rData->mTargetY);
    if(rData->mSpeed > tDistance)
    {
        rTarget->SetPosition((float)rData->mTargetX, (float)rData->mTargetY);
        pAnimation->mDone = 1;
        return;
    }
    float tAngle = atan2f((float)rData->mTargetY - tY, (float)rData->mTargetX - tX);
    rTarget->SetPosition(tX + cosf(tAngle) * rData->mSpeed, tY + sinf(tAngle) * rData->mSpeed);
}

void StepSlideAnimation(GUIAnimation *pAnimation)
{
    if(!pAnimation || !pAnimation->rTarget || !pAnimation->mData) return;
    GUIBaseObject *rTarget = pAnimation->rTarget;
    GUISlideData *rData = static_cast<GUISlideData *>(pAnimation->mData);
    rData->mTick++;
    // A slide of no ticks (or fewer) arrives at once instead of dividing by its length.
    if(rData->mTick >= rData->mTicks)
    {
        rTarget->SetPosition((float)rData->mTargetX, (float)rData->mTargetY);
        pAnimation->mDone = 1;
        return;
    }
    float tSX = (float)rData->mStartX;
    float tSY = (float)rData->mStartY;
    float tTX = (float)rData->mTargetX;
    float tTY = (float)rData->mTargetY;
    float tProgress = (float)rData->mTick / (float)rData->mTicks;
    float tDistance = sinf(tProgress * cSlidePi / 2.0f) * PointDistance(tSX, tTX, tSY, tTY);
    float tAngle = atan2f(tTY - tSY, tTX - tSX);
    float tX = (float)(int32_t)(tSX + cosf(tAngle) * tDistance + 0.05f);
    float tY = (float)(int32_t)(tSY + sinf(tAngle) * tDistance + 0.05f);
    rTarget->SetPosition(tX, tY);
}

void StepFadeAnimation(GUIAnimation *pAnimation)
{
    if(!pAnimation || !pAnimation->rTarget || !pAnimation->mData) return;
    GUIFadeData *rData = static_cast<GUIFadeData *>(pAnimation->mData);
    rData->mTick++;
    if(rData->mTick != rData->mTicks && rData->mTicks != 0)
    {
        float tAlpha = rData->mStartAlpha + (rData->mEndAlpha - rData->mStartAlpha) * (float)rData->mTick / (float)rData->mTicks;
        pAnimation->rTarget->SetAlpha(tAlpha);
        return;
    }
    pAnimation->rTarget->SetAlpha(rData->mEndAlpha);
    pAnimation->mDone = 1;
}

static GUIAnimation *NewAnimation(GUIBaseObject *pTarget, void *pData, GUIAnimationStep pStep)
{
    GUIAnimation *nAnimation = static_cast<GUIAnimation *>(calloc(1, sizeof(GUIAnimation)));
    if(!nAnimation)
    {
        free(pData);
        return nullptr;
    }
    nAnimation->rTarget = pTarget;
    nAnimation->mData = pData;
    nAnimation->rStep = pStep;
    return nAnimation;
}

GUIAnimation *CreateMoveAnimation(GUIBaseObject *pTarget, int32_t pX, int32_t pY, float pSpeed)
{
    if(!pTarget) return nullptr;
    GUIMoveData *nData = static_cast<GUIMoveData *>(calloc(1, sizeof(GUIMoveData)));
    if(!nData) return nullptr;
    nData->mTargetX = pX;
    nData->mTargetY = pY;
    nData->mSpeed = fabsf(pSpeed);
    return NewAnimation(pTarget, nData, StepMoveAnimation);
}

GUIAnimation *CreateSlideAnimation(GUIBaseObject *pTarget, int32_t pX, int32_t pY, int32_t pTicks)
{
    if(!pTarget) return nullptr;
    GUISlideData *nData = static_cast<GUISlideData *>(calloc(1, sizeof(GUISlideData)));
    if(!nData) return nullptr;
    nData->mStartX = (int32_t)pTarget->GetX1();
    nData->mStartY = (int32_t)pTarget->GetY1();
    nData->mTargetX = pX;
    nData->mTargetY = pY;
    nData->mTicks = pTicks;
    return NewAnimation(pTarget, nData, StepSlideAnimation);
}

GUIAnimation *CreateFadeAnimation(GUIBaseObject *pTarget, float pEndAlpha, int32_t pTicks)
{
    if(!pTarget) return nullptr;
    GUIFadeData *nData = static_cast<GUIFadeData *>(calloc(1, sizeof(GUIFadeData)));
    if(!nData) return nullptr;
    nData->mStartAlpha = pTarget->GetEffectiveAlpha();
    nData->mEndAlpha = pEndAlpha;
    nData->mTicks = pTicks;
    return NewAnimation(pTarget, nData, StepFadeAnimation);
}

void DeleteGUIAnimation(void *pAnimation)
{
    GUIAnimation *nAnimation = static_cast<GUIAnimation *>(pAnimation);
    if(!nAnimation) return;
    free(nAnimation->mData);
    free(nAnimation);
}
