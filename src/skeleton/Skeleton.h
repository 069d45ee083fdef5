#pragma once

#include <cstdint>

struct Attachment;
struct BoneData;
struct SkeletonData;
struct Skin;
struct SlotData;
struct Skeleton;

// One posable instance of a SkeletonData: bones with local and world transforms, slots with
// colour and attachment, and the draw order.

struct Bone
{
    BoneData *rData;
    Bone *rParent;
    float mX, mY, mRotation, mScaleX, mScaleY;
    float mM00, mM01, mWorldX;
    float mM10, mM11, mWorldY;
    float mWorldRotation, mWorldScaleX, mWorldScaleY;
};

struct Slot
{
    SlotData *rData;
    Skeleton *rSkeleton;
    Bone *rBone;
    float mR, mG, mB, mA;
    // Skins own attachments.
    Attachment *rAttachment;
    float mAttachmentTime;
};

struct Skeleton
{
    SkeletonData *rData;
    int32_t mBoneCount;
    Bone **mBones;
    Bone *rRoot;
    int32_t mSlotCount;
    Slot **mSlots;
    Slot **mDrawOrder;
    Skin *rSkin;
    float mR, mG, mB, mA;
    float mTime;
    int32_t mFlipX, mFlipY;
    float mX, mY;
};

// Process-wide: whether y grows downwards (0; nothing in the game sets it).
void Bone_setYDown(int32_t pYDown);
void Bone_setToSetupPose(Bone *pBone);
void Bone_updateWorldTransform(Bone *pBone, int32_t pFlipX, int32_t pFlipY);

void Slot_setAttachment(Slot *pSlot, Attachment *pAttachment);
void Slot_setAttachmentTime(Slot *pSlot, float pTime);
float Slot_getAttachmentTime(const Slot *pSlot);
void Slot_setToSetupPose(Slot *pSlot);

// Null when the data has no bones (a skeleton needs a root) or memory runs out.
Skeleton *Skeleton_create(SkeletonData *pData);
void Skeleton_dispose(Skeleton *pSkeleton);

void Skeleton_setToSetupPose(Skeleton *pSkeleton);
void Skeleton_setBonesToSetupPose(Skeleton *pSkeleton);
void Skeleton_setSlotsToSetupPose(Skeleton *pSkeleton);
void Skeleton_updateWorldTransform(Skeleton *pSkeleton);

Bone *Skeleton_findBone(const Skeleton *pSkeleton, const char *pName);
int32_t Skeleton_findBoneIndex(const Skeleton *pSkeleton, const char *pName);
Slot *Skeleton_findSlot(const Skeleton *pSkeleton, const char *pName);
int32_t Skeleton_findSlotIndex(const Skeleton *pSkeleton, const char *pName);

void Skeleton_setSkin(Skeleton *pSkeleton, Skin *pSkin);
// 1, or 0 when a name is given and no skin has it (the skin is then left unchanged); a null
// name sets no skin.
int32_t Skeleton_setSkinByName(Skeleton *pSkeleton, const char *pName);

Attachment *Skeleton_getAttachmentForSlotName(const Skeleton *pSkeleton, const char *pSlotName, const char *pName);
// The current skin's entry, else the default skin's; none for an index out of range.
Attachment *Skeleton_getAttachmentForSlotIndex(const Skeleton *pSkeleton, int32_t pSlotIndex, const char *pName);
int32_t Skeleton_setAttachment(Skeleton *pSkeleton, const char *pSlotName, const char *pName);
void Skeleton_update(Skeleton *pSkeleton, float pDelta);
