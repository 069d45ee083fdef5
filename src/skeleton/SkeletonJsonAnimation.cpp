#include <cstring>

#include "skeleton/Animation.h"
#include "skeleton/Json.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/SkeletonRuntime.h"

namespace
{
    // What one animation's timelines are filled into, and how far.
    struct AnimationBuild
    {
        SkeletonJson *rReader;
        SkeletonData *rData;
        Animation *rAnimation;
        float mDuration;
    };

    void AddTimeline(AnimationBuild &sBuild, Timeline *pTimeline, float pLastTime)
    {
        Animation *rAnimation = sBuild.rAnimation;
        rAnimation->mTimelines[rAnimation->mTimelineCount++] = pTimeline;
        if(pLastTime > sBuild.mDuration) sBuild.mDuration = pLastTime;
    }

    bool Fail(AnimationBuild &sBuild, const char *pFirst, const char *pSecond)
    {
        Runtime_setError(&sBuild.rReader->mError, pFirst, pSecond);
        return false;
    }

    void ReadCurve(CurveTimeline *pTimeline, int32_t pFrameIndex, JsonNode *pFrame)
    {
        JsonNode *rCurve = Json_getItem(pFrame, "curve");
        if(!rCurve) return;
        if(rCurve->mType == JSON_STRING && strcmp(rCurve->mValueString, "stepped") == 0)
        {
            CurveTimeline_setStepped(pTimeline, pFrameIndex);
            return;
        }
        if(rCurve->mType != JSON_ARRAY || rCurve->mSize != 4) return;
        float tValues[4];
        JsonNode *rValue = rCurve->mChild;
        for(int32_t i = 0; i < 4; i++, rValue = rValue->mNext)
        {
            if(rValue->mType != JSON_NUMBER) return;
            tValues[i] = rValue->mValueFloat;
        }
        CurveTimeline_setCurve(pTimeline, pFrameIndex, tValues[0], tValues[1], tValues[2], tValues[3]);
    }

    bool ReadBoneTimeline(AnimationBuild &sBuild, JsonNode *pTimeline, int32_t pBoneIndex)
    {
        const float tScale = sBuild.rReader->mScale;
        const int32_t tFrames = pTimeline->mSize;
        const char *rName = pTimeline->mName;
        CurveTimeline *nTimeline = nullptr;
        bool tRotate = strcmp(rName, "rotate") == 0;
        bool tTranslate = strcmp(rName, "translate") == 0;
        if(tRotate) nTimeline = RotateTimeline_create(tFrames);
        else if(tTranslate) nTimeline = TranslateTimeline_create(tFrames);
        else if(strcmp(rName, "scale") == 0) nTimeline = ScaleTimeline_create(tFrames);
        else return Fail(sBuild, "Invalid timeline type for a bone: ", rName);
        // A timeline without key frames would do nothing.
        if(tFrames <= 0) return true;
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        nTimeline->mIndex = pBoneIndex;

        int32_t tIndex = 0;
        for(JsonNode *rFrame = pTimeline->mChild; rFrame; rFrame = rFrame->mNext, tIndex++)
        {
            float tTime = Json_getFloat(rFrame, "time", 0.0f);
            if(tRotate) RotateTimeline_setFrame(nTimeline, tIndex, tTime, Json_getFloat(rFrame, "angle", 0.0f));
            else
            {
                float tFactor = tTranslate ? tScale : 1.0f;
                TranslateTimeline_setFrame(nTimeline, tIndex, tTime, Json_getFloat(rFrame, "x", 0.0f) * tFactor,
                                           Json_getFloat(rFrame, "y", 0.0f) * tFactor);
            }
            ReadCurve(nTimeline, tIndex, rFrame);
        }
        AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[nTimeline->mFramesLength - (tRotate ? 2 : 3)]);
        return true;
    }

    bool ReadSlotTimeline(AnimationBuild &sBuild, JsonNode *pTimeline, int32_t pSlotIndex)
    {
        const int32_t tFrames = pTimeline->mSize;
        const char *rName = pTimeline->mName;
        if(strcmp(rName, "color") == 0)
        {
            if(tFrames <= 0) return true;
            CurveTimeline *nTimeline = ColorTimeline_create(tFrames);
            if(!nTimeline) return Fail(sBuild, "Out of memory", "");
            nTimeline->mIndex = pSlotIndex;
            int32_t tIndex = 0;
            for(JsonNode *rFrame = pTimeline->mChild; rFrame; rFrame = rFrame->mNext, tIndex++)
            {
                const char *rColour = Json_getString(rFrame, "color", nullptr);
                ColorTimeline_setFrame(nTimeline, tIndex, Json_getFloat(rFrame, "time", 0.0f),
                                       SkeletonJson_colorComponent(rColour, 0), SkeletonJson_colorComponent(rColour, 1),
                                       SkeletonJson_colorComponent(rColour, 2), SkeletonJson_colorComponent(rColour, 3));
                ReadCurve(nTimeline, tIndex, rFrame);
            }
            AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[nTimeline->mFramesLength - 5]);
            return true;
        }
        if(strcmp(rName, "attachment") == 0)
        {
            if(tFrames <= 0) return true;
            AttachmentTimeline *nTimeline = AttachmentTimeline_create(tFrames);
            if(!nTimeline) return Fail(sBuild, "Out of memory", "");
            nTimeline->mSlotIndex = pSlotIndex;
            int32_t tIndex = 0;
            // A frame without a name text shows no attachment.
            for(JsonNode *rFrame = pTimeline->mChild; rFrame; rFrame = rFrame->mNext, tIndex++)
                AttachmentTimeline_setFrame(nTimeline, tIndex, Json_getFloat(rFrame, "time", 0.0f),
                                            Json_getString(rFrame, "name", nullptr));
            AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[tFrames - 1]);
            return true;
        }
        return Fail(sBuild, "Invalid timeline type for a slot: ", rName);
    }

    bool ReadEvents(AnimationBuild &sBuild, JsonNode *pEvents)
    {
        if(pEvents->mSize <= 0) return true;
        EventTimeline *nTimeline = EventTimeline_create(pEvents->mSize);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        // Added first, so a failure below releases it with the animation.
        AddTimeline(sBuild, &nTimeline->mSuper, 0.0f);
        int32_t tIndex = 0;
        for(JsonNode *rFrame = pEvents->mChild; rFrame; rFrame = rFrame->mNext, tIndex++)
        {
            const char *rName = Json_getString(rFrame, "name", nullptr);
            EventData *rData = SkeletonData_findEvent(sBuild.rData, rName);
            if(!rData) return Fail(sBuild, "Event not found: ", rName);
            Event *nEvent = Event_create(rData);
            if(!nEvent) return Fail(sBuild, "Out of memory", "");
            nEvent->mIntValue = Json_getInt(rFrame, "int", rData->mIntValue);
            nEvent->mFloatValue = Json_getFloat(rFrame, "float", rData->mFloatValue);
            nEvent->mStringValue = Runtime_copyString(Json_getString(rFrame, "string", rData->mStringValue));
            EventTimeline_setFrame(nTimeline, tIndex, Json_getFloat(rFrame, "time", 0.0f), nEvent);
        }
        float tLast = nTimeline->mFrames[nTimeline->mFrameCount - 1];
        if(tLast > sBuild.mDuration) sBuild.mDuration = tLast;
        return true;
    }

    // The order of one draw-order frame: every listed slot moves by its offset, the others keep
    // their relative order in the places left. Offsets that put two slots in one place or a slot
    // outside the order, and slots listed out of order, fail the animation.
    bool BuildDrawOrder(AnimationBuild &sBuild, JsonNode *pOffsets, int32_t *sOrder, int32_t *pUnchanged)
    {
        const int32_t tSlotCount = sBuild.rData->mSlotCount;
        for(int32_t i = 0; i < tSlotCount; i++) sOrder[i] = -1;
        int32_t tOriginal = 0;
        int32_t tUnchanged = 0;
        for(JsonNode *rOffset = pOffsets->mChild; rOffset; rOffset = rOffset->mNext)
        {
            const char *rSlotName = Json_getString(rOffset, "slot", nullptr);
            int32_t tSlot = SkeletonData_findSlotIndex(sBuild.rData, rSlotName);
            if(tSlot < 0) return Fail(sBuild, "Slot not found: ", rSlotName);
            if(tSlot < tOriginal) return Fail(sBuild, "Invalid draw order offset for slot: ", rSlotName);
            while(tOriginal != tSlot) pUnchanged[tUnchanged++] = tOriginal++;
            int64_t tTarget = (int64_t)tOriginal + Json_getInt(rOffset, "offset", 0);
            if(tTarget < 0 || tTarget >= tSlotCount || sOrder[tTarget] != -1)
                return Fail(sBuild, "Invalid draw order offset for slot: ", rSlotName);
            sOrder[tTarget] = tOriginal++;
        }
        while(tOriginal < tSlotCount) pUnchanged[tUnchanged++] = tOriginal++;
        for(int32_t i = tSlotCount - 1; i >= 0; i--)
        {
            if(sOrder[i] == -1) sOrder[i] = pUnchanged[--tUnchanged];
        }
        return true;
    }

    bool ReadDrawOrder(AnimationBuild &sBuild, JsonNode *pDrawOrder)
    {
        if(pDrawOrder->mSize <= 0) return true;
        const int32_t tSlotCount = sBuild.rData->mSlotCount;
        DrawOrderTimeline *nTimeline = DrawOrderTimeline_create(pDrawOrder->mSize, tSlotCount);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        AddTimeline(sBuild, &nTimeline->mSuper, 0.0f);
        int32_t *nOrder = (int32_t *)Runtime_calloc((size_t)tSlotCount, sizeof(int32_t));
        int32_t *nUnchanged = (int32_t *)Runtime_calloc((size_t)tSlotCount, sizeof(int32_t));
        bool tGood = nOrder && nUnchanged;
        if(!tGood) Fail(sBuild, "Out of memory", "");
        int32_t tIndex = 0;
        for(JsonNode *rFrame = pDrawOrder->mChild; tGood && rFrame; rFrame = rFrame->mNext, tIndex++)
        {
            JsonNode *rOffsets = Json_getItem(rFrame, "offsets");
            if(rOffsets) tGood = BuildDrawOrder(sBuild, rOffsets, nOrder, nUnchanged);
            if(tGood) DrawOrderTimeline_setFrame(nTimeline, tIndex, Json_getFloat(rFrame, "time", 0.0f), rOffsets ? nOrder : nullptr);
        }
        Runtime_free(nOrder);
        Runtime_free(nUnchanged);
        float tLast = nTimeline->mFrames[nTimeline->mFrameCount - 1];
        if(tLast > sBuild.mDuration) sBuild.mDuration = tLast;
        return tGood;
    }

    // Timelines the animation can have at most.
    int32_t CountTimelines(JsonNode *pBones, JsonNode *pSlots, JsonNode *pEvents, JsonNode *pDrawOrder)
    {
        int64_t tCount = (pEvents ? 1 : 0) + (pDrawOrder ? 1 : 0);
        for(JsonNode *rNode = pBones ? pBones->mChild : nullptr; rNode; rNode = rNode->mNext) tCount += rNode->mSize;
        for(JsonNode *rNode = pSlots ? pSlots->mChild : nullptr; rNode; rNode = rNode->mNext) tCount += rNode->mSize;
        return tCount > INT32_MAX ? INT32_MAX : (int32_t)tCount;
    }

    bool ReadTimelines(AnimationBuild &sBuild, JsonNode *pBones, JsonNode *pSlots, JsonNode *pEvents, JsonNode *pDrawOrder)
    {
        for(JsonNode *rBone = pBones ? pBones->mChild : nullptr; rBone; rBone = rBone->mNext)
        {
            int32_t tBone = SkeletonData_findBoneIndex(sBuild.rData, rBone->mName);
            if(tBone < 0) return Fail(sBuild, "Bone not found: ", rBone->mName);
            for(JsonNode *rTimeline = rBone->mChild; rTimeline; rTimeline = rTimeline->mNext)
            {
                if(!rTimeline->mName) return Fail(sBuild, "Invalid timeline type for a bone: ", "");
                if(!ReadBoneTimeline(sBuild, rTimeline, tBone)) return false;
            }
        }
        for(JsonNode *rSlot = pSlots ? pSlots->mChild : nullptr; rSlot; rSlot = rSlot->mNext)
        {
            int32_t tSlot = SkeletonData_findSlotIndex(sBuild.rData, rSlot->mName);
            if(tSlot < 0) return Fail(sBuild, "Slot not found: ", rSlot->mName);
            for(JsonNode *rTimeline = rSlot->mChild; rTimeline; rTimeline = rTimeline->mNext)
            {
                if(!rTimeline->mName) return Fail(sBuild, "Invalid timeline type for a slot: ", "");
                if(!ReadSlotTimeline(sBuild, rTimeline, tSlot)) return false;
            }
        }
        if(pEvents && !ReadEvents(sBuild, pEvents)) return false;
        if(pDrawOrder && !ReadDrawOrder(sBuild, pDrawOrder)) return false;
        return true;
    }
}

Animation *SkeletonJson_readAnimation(SkeletonJson *pReader, JsonNode *pAnimation, SkeletonData *pData)
{
    JsonNode *rBones = Json_getItem(pAnimation, "bones");
    JsonNode *rSlots = Json_getItem(pAnimation, "slots");
    JsonNode *rEvents = Json_getItem(pAnimation, "events");
    JsonNode *rDrawOrder = Json_getItem(pAnimation, "draworder");

    Animation *nAnimation = Animation_create(pAnimation->mName, CountTimelines(rBones, rSlots, rEvents, rDrawOrder));
    if(!nAnimation)
    {
        Runtime_setError(&pReader->mError, "Out of memory", "");
        return nullptr;
    }
    // The array is sized for every timeline the file names; the count grows as they are made.
    const int32_t tCapacity = nAnimation->mTimelineCount;
    nAnimation->mTimelineCount = 0;
    AnimationBuild tBuild = {pReader, pData, nAnimation, 0.0f};
    bool tGood = tCapacity == 0 || ReadTimelines(tBuild, rBones, rSlots, rEvents, rDrawOrder);
    if(!tGood)
    {
        Animation_dispose(nAnimation);
        return nullptr;
    }
    nAnimation->mDuration = tBuild.mDuration;
    return nAnimation;
}
