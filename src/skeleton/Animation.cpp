#include "skeleton/Animation.h"

#include <cmath>
#include <cstring>

#include "skeleton/Attachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonRuntime.h"

void Timeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime, EventList *pEvents,
                    float pAlpha)
{
    pTimeline->rFunctions->mApply(pTimeline, pSkeleton, pLastTime, pTime, pEvents, pAlpha);
}

void Timeline_dispose(Timeline *pTimeline)
{
    if(pTimeline) pTimeline->rFunctions->mDispose(pTimeline);
}

Animation *Animation_create(const char *pName, int32_t pTimelineCount)
{
    Animation *nAnimation = (Animation *)Runtime_calloc(1, sizeof(Animation));
    if(!nAnimation) return nullptr;
    nAnimation->mName = Runtime_copyString(pName);
    if(pTimelineCount > 0)
    {
        nAnimation->mTimelines = (Timeline **)Runtime_calloc((size_t)pTimelineCount, sizeof(Timeline *));
        if(!nAnimation->mTimelines)
        {
            Animation_dispose(nAnimation);
            return nullptr;
        }
        nAnimation->mTimelineCount = pTimelineCount;
    }
    return nAnimation;
}

void Animation_dispose(Animation *pAnimation)
{
    if(!pAnimation) return;
    for(int32_t i = 0; i < pAnimation->mTimelineCount; i++) Timeline_dispose(pAnimation->mTimelines[i]);
    Runtime_free(pAnimation->mTimelines);
    Runtime_free(pAnimation->mName);
    Runtime_free(pAnimation);
}

void Animation_mix(const Animation *pAnimation, Skeleton *pSkeleton, float pLastTime, float pTime, int32_t pLoop,
                   EventList *pEvents, float pAlpha)
{
    if(!std::isfinite(pLastTime) || !std::isfinite(pTime)) return;
    if(pLoop && pAnimation->mDuration != 0.0f && std::isfinite(pAnimation->mDuration))
    {
        pTime = fmodf(pTime, pAnimation->mDuration);
        pLastTime = fmodf(pLastTime, pAnimation->mDuration);
    }
    for(int32_t i = 0; i < pAnimation->mTimelineCount; i++)
    {
        if(pAnimation->mTimelines[i]) Timeline_apply(pAnimation->mTimelines[i], pSkeleton, pLastTime, pTime, pEvents, pAlpha);
    }
}

void Animation_apply(const Animation *pAnimation, Skeleton *pSkeleton, float pLastTime, float pTime, int32_t pLoop,
                     EventList *pEvents)
{
    Animation_mix(pAnimation, pSkeleton, pLastTime, pTime, pLoop, pEvents, 1.0f);
}

int32_t Animation_binarySearch(const float *pFrames, int32_t pFramesLength, float pTarget, int32_t pStep)
{
    int32_t tLow = 0;
    int32_t tHigh = pFramesLength / pStep - 2;
    if(tHigh <= 0) return pStep;
    int32_t tCurrent = tHigh / 2;
    while(true)
    {
        if(pFrames[(tCurrent + 1) * pStep] <= pTarget) tLow = tCurrent + 1;
        else tHigh = tCurrent;
        if(tLow == tHigh) return (tLow + 1) * pStep;
        tCurrent = (tLow + tHigh) / 2;
    }
}

// Into -180..180; an angle that is not finite gives 0, so a bad key leaves the bone alone.
static float WrapAngle(float pAngle)
{
    if(!std::isfinite(pAngle)) return 0.0f;
    float tAngle = fmodf(pAngle, 360.0f);
    if(tAngle > 180.0f) tAngle -= 360.0f;
    else if(tAngle < -180.0f) tAngle += 360.0f;
    return tAngle;
}

// Curves.

void CurveTimeline_setLinear(CurveTimeline *pTimeline, int32_t pFrameIndex)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mSegmentCount) return;
    pTimeline->mCurves[pFrameIndex * CURVE_SEGMENT_SIZE] = CURVE_LINEAR;
}

void CurveTimeline_setStepped(CurveTimeline *pTimeline, int32_t pFrameIndex)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mSegmentCount) return;
    pTimeline->mCurves[pFrameIndex * CURVE_SEGMENT_SIZE] = CURVE_STEPPED;
}

void CurveTimeline_setCurve(CurveTimeline *pTimeline, int32_t pFrameIndex, float pCx1, float pCy1, float pCx2, float pCy2)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mSegmentCount) return;
    // Forward differences of the Bezier over ten subdivisions: 0.3 = 3 x 0.1, 0.03 = 3 x 0.01,
    // 0.06 = 6 x 0.01, 0.006 = 6 x 0.001.
    float tTmp1X = -pCx1 * 2.0f + pCx2;
    float tTmp1Y = -pCy1 * 2.0f + pCy2;
    float tTmp2X = (pCx1 - pCx2) * 3.0f + 1.0f;
    float tTmp2Y = (pCy1 - pCy2) * 3.0f + 1.0f;
    float *rCurve = pTimeline->mCurves + pFrameIndex * CURVE_SEGMENT_SIZE;
    rCurve[0] = pCx1 * 0.3f + tTmp1X * 0.03f + tTmp2X * 0.001f;
    rCurve[1] = pCy1 * 0.3f + tTmp1Y * 0.03f + tTmp2Y * 0.001f;
    rCurve[2] = tTmp1X * 0.06f + tTmp2X * 0.006f;
    rCurve[3] = tTmp1Y * 0.06f + tTmp2Y * 0.006f;
    rCurve[4] = tTmp2X * 0.006f;
    rCurve[5] = tTmp2Y * 0.006f;
}

static float FinitePercent(float pValue)
{
    return std::isfinite(pValue) ? pValue : 0.0f;
}

float CurveTimeline_getCurvePercent(const CurveTimeline *pTimeline, int32_t pFrameIndex, float pPercent)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mSegmentCount) return FinitePercent(pPercent);
    const float *rCurve = pTimeline->mCurves + pFrameIndex * CURVE_SEGMENT_SIZE;
    float tDfx = rCurve[0];
    if(tDfx == CURVE_LINEAR) return FinitePercent(pPercent);
    if(tDfx == CURVE_STEPPED) return 0.0f;
    float tDfy = rCurve[1];
    float tDdfx = rCurve[2];
    float tDdfy = rCurve[3];
    float tDddfx = rCurve[4];
    float tDddfy = rCurve[5];
    float tX = tDfx, tY = tDfy;
    int32_t tSteps = 8;
    while(true)
    {
        if(tX >= pPercent)
        {
            float tPrevX = tX - tDfx;
            float tPrevY = tY - tDfy;
            if(tX == tPrevX) return FinitePercent(tY);
            return FinitePercent(tPrevY + (tY - tPrevY) * (pPercent - tPrevX) / (tX - tPrevX));
        }
        if(tSteps == 0) break;
        tSteps--;
        tDfx += tDdfx;
        tDfy += tDdfy;
        tDdfx += tDddfx;
        tDdfy += tDddfy;
        tX += tDfx;
        tY += tDfy;
    }
    if(tX == 1.0f) return FinitePercent(tY);
    return FinitePercent(tY + (1.0f - tY) * (pPercent - tX) / (1.0f - tX));
}

// Percent of the way from the key frame before pFrameIndex to it, through that segment's curve.
static float SegmentPercent(const CurveTimeline *pTimeline, int32_t pFrameIndex, int32_t pStride, float pTime)
{
    const float *rFrames = pTimeline->mFrames;
    float tFrameTime = rFrames[pFrameIndex];
    float tPercent = 1.0f - (pTime - tFrameTime) / (rFrames[pFrameIndex - pStride] - tFrameTime);
    // Catches NaN too: unsorted or equal key times give no usable percent.
    if(!(tPercent >= 0.0f)) tPercent = 0.0f;
    else if(tPercent > 1.0f) tPercent = 1.0f;
    return CurveTimeline_getCurvePercent(pTimeline, pFrameIndex / pStride - 1, tPercent);
}

static void CurveTimeline_dispose(Timeline *pTimeline)
{
    CurveTimeline *rCurve = (CurveTimeline *)pTimeline;
    Runtime_free(rCurve->mCurves);
    Runtime_free(rCurve->mFrames);
    Runtime_free(rCurve);
}

static CurveTimeline *CurveTimeline_create(const TimelineFunctions *pFunctions, int32_t pFrameCount, int32_t pStride)
{
    if(pFrameCount < 1) return nullptr;
    CurveTimeline *nTimeline = (CurveTimeline *)Runtime_calloc(1, sizeof(CurveTimeline));
    if(!nTimeline) return nullptr;
    nTimeline->mSuper.rFunctions = pFunctions;
    nTimeline->mSegmentCount = pFrameCount - 1;
    nTimeline->mCurves = (float *)Runtime_calloc((size_t)(pFrameCount - 1) * CURVE_SEGMENT_SIZE, sizeof(float));
    nTimeline->mFrames = (float *)Runtime_calloc((size_t)pFrameCount * (size_t)pStride, sizeof(float));
    nTimeline->mFramesLength = pFrameCount * pStride;
    if(!nTimeline->mCurves || !nTimeline->mFrames)
    {
        CurveTimeline_dispose(&nTimeline->mSuper);
        return nullptr;
    }
    return nTimeline;
}

static Bone *TargetBone(const CurveTimeline *pTimeline, Skeleton *pSkeleton)
{
    if(pTimeline->mIndex < 0 || pTimeline->mIndex >= pSkeleton->mBoneCount) return nullptr;
    return pSkeleton->mBones[pTimeline->mIndex];
}

// Rotate.

#define ROTATE_STRIDE 2

static void RotateTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                 EventList *pEvents, float pAlpha)
{
    const CurveTimeline *rSelf = (const CurveTimeline *)pTimeline;
    const float *rFrames = rSelf->mFrames;
    Bone *rBone = TargetBone(rSelf, pSkeleton);
    if(!rBone || pTime < rFrames[0]) return;

    if(pTime >= rFrames[rSelf->mFramesLength - ROTATE_STRIDE])
    {
        float tAmount = WrapAngle(rBone->rData->mRotation + rFrames[rSelf->mFramesLength - 1] - rBone->mRotation);
        rBone->mRotation += tAmount * pAlpha;
        return;
    }
    int32_t tFrame = Animation_binarySearch(rFrames, rSelf->mFramesLength, pTime, ROTATE_STRIDE);
    float tLastValue = rFrames[tFrame - 1];
    float tPercent = SegmentPercent(rSelf, tFrame, ROTATE_STRIDE, pTime);
    float tTurn = WrapAngle(rFrames[tFrame + 1] - tLastValue);
    float tAmount = WrapAngle(rBone->rData->mRotation + (tLastValue + tTurn * tPercent) - rBone->mRotation);
    rBone->mRotation += tAmount * pAlpha;
}

static const TimelineFunctions cRotateFunctions = {RotateTimeline_apply, CurveTimeline_dispose};

CurveTimeline *RotateTimeline_create(int32_t pFrameCount)
{
    return CurveTimeline_create(&cRotateFunctions, pFrameCount, ROTATE_STRIDE);
}

void RotateTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pAngle)
{
    int32_t tAt = pFrameIndex * ROTATE_STRIDE;
    if(pFrameIndex < 0 || tAt >= pTimeline->mFramesLength) return;
    pTimeline->mFrames[tAt] = pTime;
    pTimeline->mFrames[tAt + 1] = pAngle;
}

// Translate and scale.

#define TRANSLATE_STRIDE 3

// The x and y the timeline gives at pTime (false before its first key frame).
static bool TranslateValue(const CurveTimeline *pTimeline, float pTime, float &sX, float &sY)
{
    const float *rFrames = pTimeline->mFrames;
    if(pTime < rFrames[0]) return false;
    if(pTime >= rFrames[pTimeline->mFramesLength - TRANSLATE_STRIDE])
    {
        sX = rFrames[pTimeline->mFramesLength - 2];
        sY = rFrames[pTimeline->mFramesLength - 1];
        return true;
    }
    int32_t tFrame = Animation_binarySearch(rFrames, pTimeline->mFramesLength, pTime, TRANSLATE_STRIDE);
    float tLastX = rFrames[tFrame - 2];
    float tLastY = rFrames[tFrame - 1];
    float tPercent = SegmentPercent(pTimeline, tFrame, TRANSLATE_STRIDE, pTime);
    sX = tLastX + (rFrames[tFrame + 1] - tLastX) * tPercent;
    sY = tLastY + (rFrames[tFrame + 2] - tLastY) * tPercent;
    return true;
}

static void TranslateTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                    EventList *pEvents, float pAlpha)
{
    const CurveTimeline *rSelf = (const CurveTimeline *)pTimeline;
    Bone *rBone = TargetBone(rSelf, pSkeleton);
    float tX, tY;
    if(!rBone || !TranslateValue(rSelf, pTime, tX, tY)) return;
    rBone->mX += (rBone->rData->mX + tX - rBone->mX) * pAlpha;
    rBone->mY += (rBone->rData->mY + tY - rBone->mY) * pAlpha;
}

static void ScaleTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                EventList *pEvents, float pAlpha)
{
    const CurveTimeline *rSelf = (const CurveTimeline *)pTimeline;
    Bone *rBone = TargetBone(rSelf, pSkeleton);
    float tX, tY;
    if(!rBone || !TranslateValue(rSelf, pTime, tX, tY)) return;
    rBone->mScaleX += (rBone->rData->mScaleX - 1.0f + tX - rBone->mScaleX) * pAlpha;
    rBone->mScaleY += (rBone->rData->mScaleY - 1.0f + tY - rBone->mScaleY) * pAlpha;
}

static const TimelineFunctions cTranslateFunctions = {TranslateTimeline_apply, CurveTimeline_dispose};
static const TimelineFunctions cScaleFunctions = {ScaleTimeline_apply, CurveTimeline_dispose};

CurveTimeline *TranslateTimeline_create(int32_t pFrameCount)
{
    return CurveTimeline_create(&cTranslateFunctions, pFrameCount, TRANSLATE_STRIDE);
}

CurveTimeline *ScaleTimeline_create(int32_t pFrameCount)
{
    return CurveTimeline_create(&cScaleFunctions, pFrameCount, TRANSLATE_STRIDE);
}

void TranslateTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pX, float pY)
{
    int32_t tAt = pFrameIndex * TRANSLATE_STRIDE;
    if(pFrameIndex < 0 || tAt >= pTimeline->mFramesLength) return;
    pTimeline->mFrames[tAt] = pTime;
    pTimeline->mFrames[tAt + 1] = pX;
    pTimeline->mFrames[tAt + 2] = pY;
}

// Colour.

#define COLOR_STRIDE 5

static void ColorTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                EventList *pEvents, float pAlpha)
{
    const CurveTimeline *rSelf = (const CurveTimeline *)pTimeline;
    const float *rFrames = rSelf->mFrames;
    if(rSelf->mIndex < 0 || rSelf->mIndex >= pSkeleton->mSlotCount || pTime < rFrames[0]) return;
    Slot *rSlot = pSkeleton->mSlots[rSelf->mIndex];

    if(pTime >= rFrames[rSelf->mFramesLength - COLOR_STRIDE])
    {
        // The last key's colour is set as it stands, whatever the weight.
        const float *rLast = rFrames + rSelf->mFramesLength - 4;
        rSlot->mR = rLast[0];
        rSlot->mG = rLast[1];
        rSlot->mB = rLast[2];
        rSlot->mA = rLast[3];
        return;
    }
    int32_t tFrame = Animation_binarySearch(rFrames, rSelf->mFramesLength, pTime, COLOR_STRIDE);
    float tPercent = SegmentPercent(rSelf, tFrame, COLOR_STRIDE, pTime);
    float tColour[4];
    for(int32_t c = 0; c < 4; c++)
    {
        float tLast = rFrames[tFrame - 4 + c];
        tColour[c] = tLast + (rFrames[tFrame + 1 + c] - tLast) * tPercent;
    }
    float *rChannels[4] = {&rSlot->mR, &rSlot->mG, &rSlot->mB, &rSlot->mA};
    for(int32_t c = 0; c < 4; c++)
    {
        if(pAlpha < 1.0f) *rChannels[c] += (tColour[c] - *rChannels[c]) * pAlpha;
        else *rChannels[c] = tColour[c];
    }
}

static const TimelineFunctions cColorFunctions = {ColorTimeline_apply, CurveTimeline_dispose};

CurveTimeline *ColorTimeline_create(int32_t pFrameCount)
{
    return CurveTimeline_create(&cColorFunctions, pFrameCount, COLOR_STRIDE);
}

void ColorTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pR, float pG, float pB, float pA)
{
    int32_t tAt = pFrameIndex * COLOR_STRIDE;
    if(pFrameIndex < 0 || tAt >= pTimeline->mFramesLength) return;
    float *rFrame = pTimeline->mFrames + tAt;
    rFrame[0] = pTime;
    rFrame[1] = pR;
    rFrame[2] = pG;
    rFrame[3] = pB;
    rFrame[4] = pA;
}

// Key frame in force at pTime for the one-float-per-frame kinds, or -1 before the first.
static int32_t FrameAtTime(const float *pFrames, int32_t pFrameCount, float pTime)
{
    if(pTime < pFrames[0]) return -1;
    if(pTime >= pFrames[pFrameCount - 1]) return pFrameCount - 1;
    return Animation_binarySearch(pFrames, pFrameCount, pTime, 1) - 1;
}

// Attachment.

static void AttachmentTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                     EventList *pEvents, float pAlpha)
{
    const AttachmentTimeline *rSelf = (const AttachmentTimeline *)pTimeline;
    if(rSelf->mSlotIndex < 0 || rSelf->mSlotIndex >= pSkeleton->mSlotCount) return;
    int32_t tFrame = FrameAtTime(rSelf->mFrames, rSelf->mFrameCount, pTime);
    if(tFrame < 0) return;
    const char *rName = rSelf->mAttachmentNames[tFrame];
    Attachment *rAttachment = rName ? Skeleton_getAttachmentForSlotIndex(pSkeleton, rSelf->mSlotIndex, rName) : nullptr;
    Slot_setAttachment(pSkeleton->mSlots[rSelf->mSlotIndex], rAttachment);
}

static void AttachmentTimeline_dispose(Timeline *pTimeline)
{
    AttachmentTimeline *rSelf = (AttachmentTimeline *)pTimeline;
    for(int32_t i = 0; i < rSelf->mFrameCount; i++) Runtime_free(rSelf->mAttachmentNames[i]);
    Runtime_free(rSelf->mAttachmentNames);
    Runtime_free(rSelf->mFrames);
    Runtime_free(rSelf);
}

static const TimelineFunctions cAttachmentFunctions = {AttachmentTimeline_apply, AttachmentTimeline_dispose};

AttachmentTimeline *AttachmentTimeline_create(int32_t pFrameCount)
{
    if(pFrameCount < 1) return nullptr;
    AttachmentTimeline *nTimeline = (AttachmentTimeline *)Runtime_calloc(1, sizeof(AttachmentTimeline));
    if(!nTimeline) return nullptr;
    nTimeline->mSuper.rFunctions = &cAttachmentFunctions;
    nTimeline->mFrames = (float *)Runtime_calloc((size_t)pFrameCount, sizeof(float));
    nTimeline->mAttachmentNames = (char **)Runtime_calloc((size_t)pFrameCount, sizeof(char *));
    if(!nTimeline->mFrames || !nTimeline->mAttachmentNames)
    {
        AttachmentTimeline_dispose(&nTimeline->mSuper);
        return nullptr;
    }
    nTimeline->mFrameCount = pFrameCount;
    return nTimeline;
}

void AttachmentTimeline_setFrame(AttachmentTimeline *pTimeline, int32_t pFrameIndex, float pTime, const char *pName)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mFrameCount) return;
    pTimeline->mFrames[pFrameIndex] = pTime;
    Runtime_resetString(&pTimeline->mAttachmentNames[pFrameIndex], pName);
}

// Events.

// Collects the events keyed at pLastTime <= time < pTime.
static void CollectEvents(const EventTimeline *pTimeline, float pLastTime, float pTime, EventList *pEvents)
{
    const float *rFrames = pTimeline->mFrames;
    int32_t tCount = pTimeline->mFrameCount;
    if(pTime < rFrames[0] || pLastTime >= rFrames[tCount - 1]) return;
    int32_t tFrame = 0;
    if(tCount > 1 && pLastTime >= rFrames[0])
    {
        tFrame = Animation_binarySearch(rFrames, tCount, pLastTime, 1);
        float tFrameTime = rFrames[tFrame];
        while(tFrame > 0 && (rFrames[tFrame - 1] == tFrameTime || rFrames[tFrame - 1] == pLastTime)) tFrame--;
    }
    for(; tFrame < tCount && rFrames[tFrame] < pTime; tFrame++)
    {
        if(pEvents->mCount < pEvents->mCapacity) pEvents->rEvents[pEvents->mCount++] = pTimeline->mEvents[tFrame];
    }
}

static void EventTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                EventList *pEvents, float pAlpha)
{
    if(!pEvents || !pEvents->rEvents) return;
    const EventTimeline *rSelf = (const EventTimeline *)pTimeline;
    if(pLastTime > pTime)
    {
        // The loop wrapped: the rest of the last pass, then the new one from its start.
        CollectEvents(rSelf, pLastTime, 2147483648.0f, pEvents);
        pLastTime = 0.0f;
    }
    CollectEvents(rSelf, pLastTime, pTime, pEvents);
}

static void EventTimeline_dispose(Timeline *pTimeline)
{
    EventTimeline *rSelf = (EventTimeline *)pTimeline;
    for(int32_t i = 0; i < rSelf->mFrameCount; i++) Event_dispose(rSelf->mEvents[i]);
    Runtime_free(rSelf->mEvents);
    Runtime_free(rSelf->mFrames);
    Runtime_free(rSelf);
}

static const TimelineFunctions cEventFunctions = {EventTimeline_apply, EventTimeline_dispose};

EventTimeline *EventTimeline_create(int32_t pFrameCount)
{
    if(pFrameCount < 1) return nullptr;
    EventTimeline *nTimeline = (EventTimeline *)Runtime_calloc(1, sizeof(EventTimeline));
    if(!nTimeline) return nullptr;
    nTimeline->mSuper.rFunctions = &cEventFunctions;
    nTimeline->mFrames = (float *)Runtime_calloc((size_t)pFrameCount, sizeof(float));
    nTimeline->mEvents = (Event **)Runtime_calloc((size_t)pFrameCount, sizeof(Event *));
    if(!nTimeline->mFrames || !nTimeline->mEvents)
    {
        EventTimeline_dispose(&nTimeline->mSuper);
        return nullptr;
    }
    nTimeline->mFrameCount = pFrameCount;
    return nTimeline;
}

void EventTimeline_setFrame(EventTimeline *pTimeline, int32_t pFrameIndex, float pTime, Event *pEvent)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mFrameCount)
    {
        Event_dispose(pEvent);
        return;
    }
    pTimeline->mFrames[pFrameIndex] = pTime;
    Event_dispose(pTimeline->mEvents[pFrameIndex]);
    pTimeline->mEvents[pFrameIndex] = pEvent;
}

// Draw order.

static void DrawOrderTimeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime,
                                    EventList *pEvents, float pAlpha)
{
    const DrawOrderTimeline *rSelf = (const DrawOrderTimeline *)pTimeline;
    int32_t tFrame = FrameAtTime(rSelf->mFrames, rSelf->mFrameCount, pTime);
    if(tFrame < 0) return;
    const int32_t *rOrder = rSelf->mDrawOrders[tFrame];
    int32_t tCount = pSkeleton->mSlotCount;
    if(!rOrder || rSelf->mSlotCount != tCount)
    {
        memcpy(pSkeleton->mDrawOrder, pSkeleton->mSlots, sizeof(Slot *) * (size_t)tCount);
        return;
    }
    for(int32_t i = 0; i < tCount; i++)
    {
        int32_t tSlot = rOrder[i];
        if(tSlot >= 0 && tSlot < tCount) pSkeleton->mDrawOrder[i] = pSkeleton->mSlots[tSlot];
    }
}

static void DrawOrderTimeline_dispose(Timeline *pTimeline)
{
    DrawOrderTimeline *rSelf = (DrawOrderTimeline *)pTimeline;
    for(int32_t i = 0; i < rSelf->mFrameCount; i++) Runtime_free(rSelf->mDrawOrders[i]);
    Runtime_free(rSelf->mDrawOrders);
    Runtime_free(rSelf->mFrames);
    Runtime_free(rSelf);
}

static const TimelineFunctions cDrawOrderFunctions = {DrawOrderTimeline_apply, DrawOrderTimeline_dispose};

DrawOrderTimeline *DrawOrderTimeline_create(int32_t pFrameCount, int32_t pSlotCount)
{
    if(pFrameCount < 1 || pSlotCount < 0) return nullptr;
    DrawOrderTimeline *nTimeline = (DrawOrderTimeline *)Runtime_calloc(1, sizeof(DrawOrderTimeline));
    if(!nTimeline) return nullptr;
    nTimeline->mSuper.rFunctions = &cDrawOrderFunctions;
    nTimeline->mSlotCount = pSlotCount;
    nTimeline->mFrames = (float *)Runtime_calloc((size_t)pFrameCount, sizeof(float));
    nTimeline->mDrawOrders = (int32_t **)Runtime_calloc((size_t)pFrameCount, sizeof(int32_t *));
    if(!nTimeline->mFrames || !nTimeline->mDrawOrders)
    {
        DrawOrderTimeline_dispose(&nTimeline->mSuper);
        return nullptr;
    }
    nTimeline->mFrameCount = pFrameCount;
    return nTimeline;
}

void DrawOrderTimeline_setFrame(DrawOrderTimeline *pTimeline, int32_t pFrameIndex, float pTime, const int32_t *pDrawOrder)
{
    if(pFrameIndex < 0 || pFrameIndex >= pTimeline->mFrameCount) return;
    pTimeline->mFrames[pFrameIndex] = pTime;
    Runtime_free(pTimeline->mDrawOrders[pFrameIndex]);
    pTimeline->mDrawOrders[pFrameIndex] = nullptr;
    if(!pDrawOrder) return;
    int32_t *nOrder = (int32_t *)Runtime_calloc((size_t)pTimeline->mSlotCount, sizeof(int32_t));
    if(!nOrder) return;
    memcpy(nOrder, pDrawOrder, sizeof(int32_t) * (size_t)pTimeline->mSlotCount);
    pTimeline->mDrawOrders[pFrameIndex] = nOrder;
}
