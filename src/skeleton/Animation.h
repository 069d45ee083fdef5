#pragma once

#include <cstdint>

struct Event;
struct Skeleton;

// Events collected while applying: a buffer the caller owns. Events beyond the capacity are
// not collected.
struct EventList
{
    Event **rEvents;
    int32_t mCount;
    int32_t mCapacity;
};

struct Timeline;

struct TimelineFunctions
{
    void (*mApply)(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime, EventList *pEvents,
                   float pAlpha);
    void (*mDispose)(Timeline *pTimeline);
};

// Every timeline kind starts with this header.
struct Timeline
{
    const TimelineFunctions *rFunctions;
};

void Timeline_apply(const Timeline *pTimeline, Skeleton *pSkeleton, float pLastTime, float pTime, EventList *pEvents,
                    float pAlpha);
void Timeline_dispose(Timeline *pTimeline);

struct Animation
{
    char *mName;
    float mDuration;
    int32_t mTimelineCount;
    Timeline **mTimelines;
};

Animation *Animation_create(const char *pName, int32_t pTimelineCount);
void Animation_dispose(Animation *pAnimation);
// Applies every timeline at full weight. With loop set and a duration, both times are taken
// modulo the duration. Times that are not finite apply nothing.
void Animation_apply(const Animation *pAnimation, Skeleton *pSkeleton, float pLastTime, float pTime, int32_t pLoop,
                     EventList *pEvents);
void Animation_mix(const Animation *pAnimation, Skeleton *pSkeleton, float pLastTime, float pTime, int32_t pLoop,
                   EventList *pEvents, float pAlpha);

// Index (a multiple of pStep) of the first key frame whose time is above pTarget; the caller
// makes sure pTarget lies before the last key frame.
int32_t Animation_binarySearch(const float *pFrames, int32_t pFramesLength, float pTarget, int32_t pStep);

// Floats per curve segment, and the first float's markers.
#define CURVE_SEGMENT_SIZE 6
#define CURVE_LINEAR 0.0f
#define CURVE_STEPPED -1.0f

// Base of the rotate (stride 2: time, angle), translate and scale (stride 3: time, x, y) kinds,
// which target a bone, and the colour kind (stride 5: time, r, g, b, a), which targets a slot.
struct CurveTimeline
{
    Timeline mSuper;
    // CURVE_SEGMENT_SIZE floats per segment between key frames.
    float *mCurves;
    int32_t mSegmentCount;
    int32_t mFramesLength;
    float *mFrames;
    int32_t mIndex;
};

void CurveTimeline_setLinear(CurveTimeline *pTimeline, int32_t pFrameIndex);
void CurveTimeline_setStepped(CurveTimeline *pTimeline, int32_t pFrameIndex);
// Segments outside the timeline are ignored (a curve on the last key frame has no segment).
void CurveTimeline_setCurve(CurveTimeline *pTimeline, int32_t pFrameIndex, float pCx1, float pCy1, float pCx2, float pCy2);
// Always a finite number.
float CurveTimeline_getCurvePercent(const CurveTimeline *pTimeline, int32_t pFrameIndex, float pPercent);

CurveTimeline *RotateTimeline_create(int32_t pFrameCount);
void RotateTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pAngle);
CurveTimeline *TranslateTimeline_create(int32_t pFrameCount);
CurveTimeline *ScaleTimeline_create(int32_t pFrameCount);
// Translate and scale frames alike.
void TranslateTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pX, float pY);
CurveTimeline *ColorTimeline_create(int32_t pFrameCount);
void ColorTimeline_setFrame(CurveTimeline *pTimeline, int32_t pFrameIndex, float pTime, float pR, float pG, float pB, float pA);

struct AttachmentTimeline
{
    Timeline mSuper;
    int32_t mFrameCount;
    float *mFrames;
    int32_t mSlotIndex;
    char **mAttachmentNames;
};

AttachmentTimeline *AttachmentTimeline_create(int32_t pFrameCount);
// Copies the name; null means no attachment.
void AttachmentTimeline_setFrame(AttachmentTimeline *pTimeline, int32_t pFrameIndex, float pTime, const char *pName);

struct EventTimeline
{
    Timeline mSuper;
    int32_t mFrameCount;
    float *mFrames;
    Event **mEvents;
};

EventTimeline *EventTimeline_create(int32_t pFrameCount);
// Takes ownership of the event, disposing one already there.
void EventTimeline_setFrame(EventTimeline *pTimeline, int32_t pFrameIndex, float pTime, Event *pEvent);

struct DrawOrderTimeline
{
    Timeline mSuper;
    int32_t mFrameCount;
    float *mFrames;
    int32_t mSlotCount;
    // Per frame an array of slot-count slot indices, or null for the setup order.
    int32_t **mDrawOrders;
};

DrawOrderTimeline *DrawOrderTimeline_create(int32_t pFrameCount, int32_t pSlotCount);
// Copies slot-count indices, or stores null.
void DrawOrderTimeline_setFrame(DrawOrderTimeline *pTimeline, int32_t pFrameIndex, float pTime, const int32_t *pDrawOrder);
