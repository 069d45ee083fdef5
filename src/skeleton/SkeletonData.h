#pragma once

#include <cstdint>

struct Attachment;
struct Animation;

// Setup records of a skeleton, read once from a skeleton file and shared by its instances.

struct BoneData
{
    char *mName;
    BoneData *rParent;
    float mLength, mX, mY, mRotation, mScaleX, mScaleY;
    int32_t mInheritScale;
    int32_t mInheritRotation;
};

struct SlotData
{
    char *mName;
    BoneData *rBoneData;
    char *mAttachmentName;
    float mR, mG, mB, mA;
    // Stored only: nothing draws additively.
    int32_t mAdditiveBlending;
};

struct EventData
{
    char *mName;
    int32_t mIntValue;
    float mFloatValue;
    char *mStringValue;
};

// One keyed occurrence of an event.
struct Event
{
    EventData *rData;
    int32_t mIntValue;
    float mFloatValue;
    char *mStringValue;
};

struct SkinEntry
{
    int32_t mSlotIndex;
    char *mName;
    Attachment *mAttachment;
    SkinEntry *mNext;
};

// Entries are added at the head, so the list holds them in reverse order of adding.
struct Skin
{
    char *mName;
    SkinEntry *mEntries;
};

struct SkeletonData
{
    int32_t mBoneCount;
    BoneData **mBones;
    int32_t mSlotCount;
    SlotData **mSlots;
    int32_t mSkinCount;
    Skin **mSkins;
    Skin *rDefaultSkin;
    int32_t mEventCount;
    EventData **mEvents;
    int32_t mAnimationCount;
    Animation **mAnimations;
};

BoneData *BoneData_create(const char *pName, BoneData *pParent);
void BoneData_dispose(BoneData *pData);

SlotData *SlotData_create(const char *pName, BoneData *pBoneData);
void SlotData_dispose(SlotData *pData);
void SlotData_setAttachmentName(SlotData *pData, const char *pName);

EventData *EventData_create(const char *pName);
void EventData_dispose(EventData *pData);

Event *Event_create(EventData *pData);
void Event_dispose(Event *pEvent);

Skin *Skin_create(const char *pName);
// Disposes every entry's attachment.
void Skin_dispose(Skin *pSkin);
// Takes ownership of the attachment.
void Skin_addAttachment(Skin *pSkin, int32_t pSlotIndex, const char *pName, Attachment *pAttachment);
Attachment *Skin_getAttachment(const Skin *pSkin, int32_t pSlotIndex, const char *pName);
// Name of the i-th entry of that slot in list order, or null.
const char *Skin_getAttachmentName(const Skin *pSkin, int32_t pSlotIndex, int32_t pIndex);

SkeletonData *SkeletonData_create();
void SkeletonData_dispose(SkeletonData *pData);

// Linear, case-sensitive, first match wins; null (or -1) for a null name or no match.
BoneData *SkeletonData_findBone(const SkeletonData *pData, const char *pName);
int32_t SkeletonData_findBoneIndex(const SkeletonData *pData, const char *pName);
SlotData *SkeletonData_findSlot(const SkeletonData *pData, const char *pName);
int32_t SkeletonData_findSlotIndex(const SkeletonData *pData, const char *pName);
Skin *SkeletonData_findSkin(const SkeletonData *pData, const char *pName);
EventData *SkeletonData_findEvent(const SkeletonData *pData, const char *pName);
Animation *SkeletonData_findAnimation(const SkeletonData *pData, const char *pName);
