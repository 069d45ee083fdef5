#include <cstdio>
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

    // Names a number of a key frame that cannot be used. The owner is the timeline, such as
    // "bone arm rotate"; keys count from 0 in file order.
    void ReportKeyNumber(const AnimationBuild &pBuild, const char *pOwner, int32_t pKey, const char *pWhat, const char *pFault)
    {
        fprintf(stderr, "SkeletonJson: %s: animation %s, %s key %i has %s %s, dropped\n", SkeletonJson_source(pBuild.rReader),
                pBuild.rAnimation->mName ? pBuild.rAnimation->mName : "", pOwner, (int)pKey, pWhat, pFault);
    }

    // A key frame's time; false, and named when asked, when it cannot be used: the frame is then
    // left out, as a time of its own would put the keys out of order.
    bool KeyTime(const AnimationBuild &pBuild, JsonNode *pFrame, const char *pOwner, int32_t pKey, bool pSpeak, float &sTime)
    {
        sTime = Json_getFloat(pFrame, "time", 0.0f);
        const char *rFault = SkeletonJson_numberFault(sTime);
        if(rFault && pSpeak) ReportKeyNumber(pBuild, pOwner, pKey, "time", rFault);
        return !rFault;
    }

    // Key frames of a timeline whose times can be used; each one left out is named.
    int32_t CountKeptKeys(const AnimationBuild &pBuild, JsonNode *pTimeline, const char *pOwner)
    {
        int32_t tKept = 0;
        int32_t tKey = 0;
        float tTime = 0.0f;
        for(JsonNode *rFrame = pTimeline->mChild; rFrame; rFrame = rFrame->mNext, tKey++)
        {
            if(KeyTime(pBuild, rFrame, pOwner, tKey, true, tTime)) tKept++;
        }
        return tKept;
    }

    // The key frames of a timeline whose times can be used, in file order (CountKeptKeys named the
    // others): the frame, its time, its place among the kept ones and its key in the file.
    struct KeptKeys
    {
        const AnimationBuild &rBuild;
        const char *rOwner;
        JsonNode *rFrame;
        float mTime;
        int32_t mIndex;
        int32_t mKey;

        KeptKeys(const AnimationBuild &pBuild, JsonNode *pTimeline, const char *pOwner)
            : rBuild(pBuild), rOwner(pOwner), rFrame(pTimeline->mChild), mTime(0.0f), mIndex(0), mKey(0)
        {
            Skip();
        }
        void Next()
        {
            rFrame = rFrame->mNext;
            mIndex++;
            mKey++;
            Skip();
        }

    private:
        void Skip()
        {
            while(rFrame && !KeyTime(rBuild, rFrame, rOwner, mKey, false, mTime))
            {
                rFrame = rFrame->mNext;
                mKey++;
            }
        }
    };

    // A key frame's value, scaled; one that cannot be used is named and reads as 0.
    float KeyValue(const AnimationBuild &pBuild, JsonNode *pFrame, const char *pName, float pScale, const char *pOwner, int32_t pKey)
    {
        const float tValue = Json_getFloat(pFrame, pName, 0.0f) * pScale;
        const char *rFault = SkeletonJson_numberFault(tValue);
        if(!rFault) return tValue;
        ReportKeyNumber(pBuild, pOwner, pKey, pName, rFault);
        return 0.0f;
    }

    // "Bone arm rotate", "slot head color": what the messages about a timeline call it.
    void NameTimeline(char *sOwner, size_t pSize, const char *pKind, const char *pTarget, const char *pTimeline)
    {
        snprintf(sOwner, pSize, "%s %s %s", pKind, pTarget ? pTarget : "", pTimeline ? pTimeline : "");
    }

    // A curve with a number that cannot be used is named and left out: the segment stays linear.
    void ReadCurve(const AnimationBuild &pBuild, CurveTimeline *pTimeline, int32_t pFrameIndex, JsonNode *pFrame,
                   const char *pOwner, int32_t pKey)
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
            const char *rFault = SkeletonJson_numberFault(tValues[i]);
            if(!rFault) continue;
            ReportKeyNumber(pBuild, pOwner, pKey, "curve", rFault);
            return;
        }
        CurveTimeline_setCurve(pTimeline, pFrameIndex, tValues[0], tValues[1], tValues[2], tValues[3]);
    }

    bool ReadBoneTimeline(AnimationBuild &sBuild, JsonNode *pTimeline, int32_t pBoneIndex)
    {
        const float tScale = sBuild.rReader->mScale;
        const char *rName = pTimeline->mName;
        bool tRotate = strcmp(rName, "rotate") == 0;
        bool tTranslate = strcmp(rName, "translate") == 0;
        if(!tRotate && !tTranslate && strcmp(rName, "scale") != 0) return Fail(sBuild, "Invalid timeline type for a bone: ", rName);
        char tOwner[RUNTIME_ERROR_LENGTH];
        NameTimeline(tOwner, sizeof(tOwner), "bone", sBuild.rData->mBones[pBoneIndex]->mName, rName);
        const int32_t tFrames = CountKeptKeys(sBuild, pTimeline, tOwner);
        // A timeline without key frames would do nothing.
        if(tFrames <= 0) return true;
        CurveTimeline *nTimeline = nullptr;
        if(tRotate) nTimeline = RotateTimeline_create(tFrames);
        else if(tTranslate) nTimeline = TranslateTimeline_create(tFrames);
        else nTimeline = ScaleTimeline_create(tFrames);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        nTimeline->mIndex = pBoneIndex;

        for(KeptKeys tKeys(sBuild, pTimeline, tOwner); tKeys.rFrame; tKeys.Next())
        {
            JsonNode *rFrame = tKeys.rFrame;
            if(tRotate)
                RotateTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, KeyValue(sBuild, rFrame, "angle", 1.0f, tOwner, tKeys.mKey));
            else
            {
                // Read one after the other, so their messages keep the file's order.
                const float tFactor = tTranslate ? tScale : 1.0f;
                const float tX = KeyValue(sBuild, rFrame, "x", tFactor, tOwner, tKeys.mKey);
                const float tY = KeyValue(sBuild, rFrame, "y", tFactor, tOwner, tKeys.mKey);
                TranslateTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, tX, tY);
            }
            ReadCurve(sBuild, nTimeline, tKeys.mIndex, rFrame, tOwner, tKeys.mKey);
        }
        AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[nTimeline->mFramesLength - (tRotate ? 2 : 3)]);
        return true;
    }

    bool ReadSlotTimeline(AnimationBuild &sBuild, JsonNode *pTimeline, int32_t pSlotIndex)
    {
        const char *rName = pTimeline->mName;
        const bool tColour = strcmp(rName, "color") == 0;
        if(!tColour && strcmp(rName, "attachment") != 0) return Fail(sBuild, "Invalid timeline type for a slot: ", rName);
        char tOwner[RUNTIME_ERROR_LENGTH];
        NameTimeline(tOwner, sizeof(tOwner), "slot", sBuild.rData->mSlots[pSlotIndex]->mName, rName);
        const int32_t tFrames = CountKeptKeys(sBuild, pTimeline, tOwner);
        if(tFrames <= 0) return true;
        if(tColour)
        {
            CurveTimeline *nTimeline = ColorTimeline_create(tFrames);
            if(!nTimeline) return Fail(sBuild, "Out of memory", "");
            nTimeline->mIndex = pSlotIndex;
            for(KeptKeys tKeys(sBuild, pTimeline, tOwner); tKeys.rFrame; tKeys.Next())
            {
                const char *rColour = Json_getString(tKeys.rFrame, "color", nullptr);
                ColorTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, SkeletonJson_colorComponent(rColour, 0),
                                       SkeletonJson_colorComponent(rColour, 1), SkeletonJson_colorComponent(rColour, 2),
                                       SkeletonJson_colorComponent(rColour, 3));
                ReadCurve(sBuild, nTimeline, tKeys.mIndex, tKeys.rFrame, tOwner, tKeys.mKey);
            }
            AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[nTimeline->mFramesLength - 5]);
            return true;
        }
        AttachmentTimeline *nTimeline = AttachmentTimeline_create(tFrames);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        nTimeline->mSlotIndex = pSlotIndex;
        // A frame without a name text shows no attachment.
        for(KeptKeys tKeys(sBuild, pTimeline, tOwner); tKeys.rFrame; tKeys.Next())
            AttachmentTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, Json_getString(tKeys.rFrame, "name", nullptr));
        AddTimeline(sBuild, &nTimeline->mSuper, nTimeline->mFrames[tFrames - 1]);
        return true;
    }

    bool ReadEvents(AnimationBuild &sBuild, JsonNode *pEvents)
    {
        const int32_t tFrames = CountKeptKeys(sBuild, pEvents, "events");
        if(tFrames <= 0) return true;
        EventTimeline *nTimeline = EventTimeline_create(tFrames);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        // Added first, so a failure below releases it with the animation.
        AddTimeline(sBuild, &nTimeline->mSuper, 0.0f);
        for(KeptKeys tKeys(sBuild, pEvents, "events"); tKeys.rFrame; tKeys.Next())
        {
            JsonNode *rFrame = tKeys.rFrame;
            const char *rName = Json_getString(rFrame, "name", nullptr);
            EventData *rData = SkeletonData_findEvent(sBuild.rData, rName);
            if(!rData) return Fail(sBuild, "Event not found: ", rName);
            Event *nEvent = Event_create(rData);
            if(!nEvent) return Fail(sBuild, "Out of memory", "");
            nEvent->mIntValue = Json_getInt(rFrame, "int", rData->mIntValue);
            nEvent->mFloatValue = Json_getFloat(rFrame, "float", rData->mFloatValue);
            nEvent->mStringValue = Runtime_copyString(Json_getString(rFrame, "string", rData->mStringValue));
            EventTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, nEvent);
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
        const int32_t tFrames = CountKeptKeys(sBuild, pDrawOrder, "draworder");
        if(tFrames <= 0) return true;
        const int32_t tSlotCount = sBuild.rData->mSlotCount;
        DrawOrderTimeline *nTimeline = DrawOrderTimeline_create(tFrames, tSlotCount);
        if(!nTimeline) return Fail(sBuild, "Out of memory", "");
        AddTimeline(sBuild, &nTimeline->mSuper, 0.0f);
        int32_t *nOrder = (int32_t *)Runtime_calloc((size_t)tSlotCount, sizeof(int32_t));
        int32_t *nUnchanged = (int32_t *)Runtime_calloc((size_t)tSlotCount, sizeof(int32_t));
        bool tGood = nOrder && nUnchanged;
        if(!tGood) Fail(sBuild, "Out of memory", "");
        for(KeptKeys tKeys(sBuild, pDrawOrder, "draworder"); tGood && tKeys.rFrame; tKeys.Next())
        {
            JsonNode *rOffsets = Json_getItem(tKeys.rFrame, "offsets");
            if(rOffsets) tGood = BuildDrawOrder(sBuild, rOffsets, nOrder, nUnchanged);
            if(tGood) DrawOrderTimeline_setFrame(nTimeline, tKeys.mIndex, tKeys.mTime, rOffsets ? nOrder : nullptr);
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
