#include "skeleton/SkeletonData.h"

#include <cstring>

#include "skeleton/Animation.h"
#include "skeleton/Attachment.h"
#include "skeleton/SkeletonRuntime.h"

BoneData *BoneData_create(const char *pName, BoneData *pParent)
{
    BoneData *nData = (BoneData *)Runtime_calloc(1, sizeof(BoneData));
    if(!nData) return nullptr;
    nData->mName = Runtime_copyString(pName);
    nData->rParent = pParent;
    nData->mScaleX = 1.0f;
    nData->mScaleY = 1.0f;
    nData->mInheritScale = 1;
    nData->mInheritRotation = 1;
    return nData;
}

void BoneData_dispose(BoneData *pData)
{
    if(!pData) return;
    Runtime_free(pData->mName);
    Runtime_free(pData);
}

SlotData *SlotData_create(const char *pName, BoneData *pBoneData)
{
    SlotData *nData = (SlotData *)Runtime_calloc(1, sizeof(SlotData));
    if(!nData) return nullptr;
    nData->mName = Runtime_copyString(pName);
    nData->rBoneData = pBoneData;
    nData->mR = nData->mG = nData->mB = nData->mA = 1.0f;
    return nData;
}

void SlotData_dispose(SlotData *pData)
{
    if(!pData) return;
    Runtime_free(pData->mName);
    Runtime_free(pData->mAttachmentName);
    Runtime_free(pData);
}

void SlotData_setAttachmentName(SlotData *pData, const char *pName)
{
    Runtime_resetString(&pData->mAttachmentName, pName);
}

EventData *EventData_create(const char *pName)
{
    EventData *nData = (EventData *)Runtime_calloc(1, sizeof(EventData));
    if(!nData) return nullptr;
    nData->mName = Runtime_copyString(pName);
    return nData;
}

void EventData_dispose(EventData *pData)
{
    if(!pData) return;
    Runtime_free(pData->mName);
    Runtime_free(pData->mStringValue);
    Runtime_free(pData);
}

Event *Event_create(EventData *pData)
{
    Event *nEvent = (Event *)Runtime_calloc(1, sizeof(Event));
    if(nEvent) nEvent->rData = pData;
    return nEvent;
}

void Event_dispose(Event *pEvent)
{
    if(!pEvent) return;
    Runtime_free(pEvent->mStringValue);
    Runtime_free(pEvent);
}

Skin *Skin_create(const char *pName)
{
    Skin *nSkin = (Skin *)Runtime_calloc(1, sizeof(Skin));
    if(nSkin) nSkin->mName = Runtime_copyString(pName);
    return nSkin;
}

void Skin_dispose(Skin *pSkin)
{
    if(!pSkin) return;
    SkinEntry *rEntry = pSkin->mEntries;
    while(rEntry)
    {
        SkinEntry *rNext = rEntry->mNext;
        Attachment_dispose(rEntry->mAttachment);
        Runtime_free(rEntry->mName);
        Runtime_free(rEntry);
        rEntry = rNext;
    }
    Runtime_free(pSkin->mName);
    Runtime_free(pSkin);
}

void Skin_addAttachment(Skin *pSkin, int32_t pSlotIndex, const char *pName, Attachment *pAttachment)
{
    SkinEntry *nEntry = (SkinEntry *)Runtime_calloc(1, sizeof(SkinEntry));
    if(!nEntry)
    {
        Attachment_dispose(pAttachment);
        return;
    }
    nEntry->mSlotIndex = pSlotIndex;
    nEntry->mName = Runtime_copyString(pName);
    nEntry->mAttachment = pAttachment;
    nEntry->mNext = pSkin->mEntries;
    pSkin->mEntries = nEntry;
}

Attachment *Skin_getAttachment(const Skin *pSkin, int32_t pSlotIndex, const char *pName)
{
    if(!pSkin || !pName) return nullptr;
    for(SkinEntry *rEntry = pSkin->mEntries; rEntry; rEntry = rEntry->mNext)
    {
        if(rEntry->mSlotIndex == pSlotIndex && rEntry->mName && strcmp(rEntry->mName, pName) == 0)
            return rEntry->mAttachment;
    }
    return nullptr;
}

const char *Skin_getAttachmentName(const Skin *pSkin, int32_t pSlotIndex, int32_t pIndex)
{
    if(!pSkin) return nullptr;
    int32_t tSeen = 0;
    for(SkinEntry *rEntry = pSkin->mEntries; rEntry; rEntry = rEntry->mNext)
    {
        if(rEntry->mSlotIndex != pSlotIndex) continue;
        if(tSeen == pIndex) return rEntry->mName;
        tSeen++;
    }
    return nullptr;
}

SkeletonData *SkeletonData_create()
{
    return (SkeletonData *)Runtime_calloc(1, sizeof(SkeletonData));
}

void SkeletonData_dispose(SkeletonData *pData)
{
    if(!pData) return;
    for(int32_t i = 0; i < pData->mBoneCount; i++) BoneData_dispose(pData->mBones[i]);
    Runtime_free(pData->mBones);
    for(int32_t i = 0; i < pData->mSlotCount; i++) SlotData_dispose(pData->mSlots[i]);
    Runtime_free(pData->mSlots);
    for(int32_t i = 0; i < pData->mSkinCount; i++) Skin_dispose(pData->mSkins[i]);
    Runtime_free(pData->mSkins);
    for(int32_t i = 0; i < pData->mEventCount; i++) EventData_dispose(pData->mEvents[i]);
    Runtime_free(pData->mEvents);
    for(int32_t i = 0; i < pData->mAnimationCount; i++) Animation_dispose(pData->mAnimations[i]);
    Runtime_free(pData->mAnimations);
    Runtime_free(pData);
}

// Index of the first record whose name equals pName, or -1; records are named by their first
// member, a char*.
template <typename Record> static int32_t FindByName(Record *const *pRecords, int32_t pCount, const char *pName)
{
    if(!pName) return -1;
    for(int32_t i = 0; i < pCount; i++)
    {
        if(pRecords[i] && pRecords[i]->mName && strcmp(pRecords[i]->mName, pName) == 0) return i;
    }
    return -1;
}

BoneData *SkeletonData_findBone(const SkeletonData *pData, const char *pName)
{
    int32_t tIndex = SkeletonData_findBoneIndex(pData, pName);
    return tIndex < 0 ? nullptr : pData->mBones[tIndex];
}

int32_t SkeletonData_findBoneIndex(const SkeletonData *pData, const char *pName)
{
    return FindByName(pData->mBones, pData->mBoneCount, pName);
}

SlotData *SkeletonData_findSlot(const SkeletonData *pData, const char *pName)
{
    int32_t tIndex = SkeletonData_findSlotIndex(pData, pName);
    return tIndex < 0 ? nullptr : pData->mSlots[tIndex];
}

int32_t SkeletonData_findSlotIndex(const SkeletonData *pData, const char *pName)
{
    return FindByName(pData->mSlots, pData->mSlotCount, pName);
}

Skin *SkeletonData_findSkin(const SkeletonData *pData, const char *pName)
{
    int32_t tIndex = FindByName(pData->mSkins, pData->mSkinCount, pName);
    return tIndex < 0 ? nullptr : pData->mSkins[tIndex];
}

EventData *SkeletonData_findEvent(const SkeletonData *pData, const char *pName)
{
    int32_t tIndex = FindByName(pData->mEvents, pData->mEventCount, pName);
    return tIndex < 0 ? nullptr : pData->mEvents[tIndex];
}

Animation *SkeletonData_findAnimation(const SkeletonData *pData, const char *pName)
{
    int32_t tIndex = FindByName(pData->mAnimations, pData->mAnimationCount, pName);
    return tIndex < 0 ? nullptr : pData->mAnimations[tIndex];
}
