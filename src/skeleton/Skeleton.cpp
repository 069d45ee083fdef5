#include "skeleton/Skeleton.h"

#include <cmath>
#include <cstring>

#include "skeleton/Attachment.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonRuntime.h"

static int32_t xYDown = 0;

void Bone_setYDown(int32_t pYDown)
{
    xYDown = pYDown;
}

void Bone_setToSetupPose(Bone *pBone)
{
    const BoneData *rData = pBone->rData;
    pBone->mX = rData->mX;
    pBone->mY = rData->mY;
    pBone->mRotation = rData->mRotation;
    pBone->mScaleX = rData->mScaleX;
    pBone->mScaleY = rData->mScaleY;
}

void Bone_updateWorldTransform(Bone *pBone, int32_t pFlipX, int32_t pFlipY)
{
    const Bone *rParent = pBone->rParent;
    if(rParent)
    {
        pBone->mWorldX = pBone->mX * rParent->mM00 + pBone->mY * rParent->mM01 + rParent->mWorldX;
        pBone->mWorldY = pBone->mX * rParent->mM10 + pBone->mY * rParent->mM11 + rParent->mWorldY;
        if(pBone->rData->mInheritScale)
        {
            pBone->mWorldScaleX = rParent->mWorldScaleX * pBone->mScaleX;
            pBone->mWorldScaleY = rParent->mWorldScaleY * pBone->mScaleY;
        }
        else
        {
            pBone->mWorldScaleX = pBone->mScaleX;
            pBone->mWorldScaleY = pBone->mScaleY;
        }
        pBone->mWorldRotation = pBone->rData->mInheritRotation ? rParent->mWorldRotation + pBone->mRotation : pBone->mRotation;
    }
    else
    {
        pBone->mWorldX = pFlipX ? -pBone->mX : pBone->mX;
        pBone->mWorldY = pFlipY ? -pBone->mY : pBone->mY;
        pBone->mWorldScaleX = pBone->mScaleX;
        pBone->mWorldScaleY = pBone->mScaleY;
        pBone->mWorldRotation = pBone->mRotation;
    }
    double tRadians = pBone->mWorldRotation * SKELETON_DEG_RAD;
    float tCos = (float)cos(tRadians);
    float tSin = (float)sin(tRadians);
    pBone->mM00 = tCos * pBone->mWorldScaleX;
    pBone->mM10 = tSin * pBone->mWorldScaleX;
    pBone->mM01 = -tSin * pBone->mWorldScaleY;
    pBone->mM11 = tCos * pBone->mWorldScaleY;
    if(pFlipX)
    {
        pBone->mM00 = -pBone->mM00;
        pBone->mM01 = -pBone->mM01;
    }
    if((pFlipY != 0) != (xYDown != 0))
    {
        pBone->mM10 = -pBone->mM10;
        pBone->mM11 = -pBone->mM11;
    }
}

void Slot_setAttachment(Slot *pSlot, Attachment *pAttachment)
{
    pSlot->rAttachment = pAttachment;
    pSlot->mAttachmentTime = pSlot->rSkeleton->mTime;
}

void Slot_setAttachmentTime(Slot *pSlot, float pTime)
{
    pSlot->mAttachmentTime = pSlot->rSkeleton->mTime - pTime;
}

float Slot_getAttachmentTime(const Slot *pSlot)
{
    return pSlot->rSkeleton->mTime - pSlot->mAttachmentTime;
}

static int32_t SlotIndexOf(const Skeleton *pSkeleton, const Slot *pSlot)
{
    for(int32_t i = 0; i < pSkeleton->mSlotCount; i++)
    {
        if(pSkeleton->mSlots[i] == pSlot) return i;
    }
    return -1;
}

void Slot_setToSetupPose(Slot *pSlot)
{
    const SlotData *rData = pSlot->rData;
    pSlot->mR = rData->mR;
    pSlot->mG = rData->mG;
    pSlot->mB = rData->mB;
    pSlot->mA = rData->mA;
    Attachment *rAttachment = nullptr;
    if(rData->mAttachmentName)
        rAttachment = Skeleton_getAttachmentForSlotIndex(pSlot->rSkeleton, SlotIndexOf(pSlot->rSkeleton, pSlot), rData->mAttachmentName);
    Slot_setAttachment(pSlot, rAttachment);
}

Skeleton *Skeleton_create(SkeletonData *pData)
{
    if(!pData || pData->mBoneCount <= 0) return nullptr;
    Skeleton *nSkeleton = (Skeleton *)Runtime_calloc(1, sizeof(Skeleton));
    if(!nSkeleton) return nullptr;
    nSkeleton->rData = pData;
    nSkeleton->mR = nSkeleton->mG = nSkeleton->mB = nSkeleton->mA = 1.0f;

    nSkeleton->mBones = (Bone **)Runtime_calloc((size_t)pData->mBoneCount, sizeof(Bone *));
    nSkeleton->mSlots = (Slot **)Runtime_calloc((size_t)pData->mSlotCount, sizeof(Slot *));
    nSkeleton->mDrawOrder = (Slot **)Runtime_calloc((size_t)pData->mSlotCount, sizeof(Slot *));
    if(!nSkeleton->mBones || !nSkeleton->mSlots || !nSkeleton->mDrawOrder)
    {
        Skeleton_dispose(nSkeleton);
        return nullptr;
    }
    for(int32_t i = 0; i < pData->mBoneCount; i++)
    {
        Bone *nBone = (Bone *)Runtime_calloc(1, sizeof(Bone));
        if(!nBone)
        {
            Skeleton_dispose(nSkeleton);
            return nullptr;
        }
        nBone->rData = pData->mBones[i];
        nBone->mScaleX = nBone->mScaleY = 1.0f;
        nBone->mWorldScaleX = nBone->mWorldScaleY = 1.0f;
        // Parents come before their children in the data, so the parent's bone exists already.
        for(int32_t p = 0; p < i; p++)
        {
            if(pData->mBones[p] == nBone->rData->rParent) nBone->rParent = nSkeleton->mBones[p];
        }
        nSkeleton->mBones[i] = nBone;
        nSkeleton->mBoneCount = i + 1;
    }
    nSkeleton->rRoot = nSkeleton->mBones[0];

    for(int32_t i = 0; i < pData->mSlotCount; i++)
    {
        Slot *nSlot = (Slot *)Runtime_calloc(1, sizeof(Slot));
        if(!nSlot)
        {
            Skeleton_dispose(nSkeleton);
            return nullptr;
        }
        nSlot->rData = pData->mSlots[i];
        nSlot->rSkeleton = nSkeleton;
        // By identity, not by name: two bones may share a name.
        nSlot->rBone = nSkeleton->rRoot;
        for(int32_t b = 0; b < pData->mBoneCount; b++)
        {
            if(pData->mBones[b] == nSlot->rData->rBoneData) nSlot->rBone = nSkeleton->mBones[b];
        }
        nSlot->mR = nSlot->mG = nSlot->mB = nSlot->mA = 1.0f;
        nSkeleton->mSlots[i] = nSlot;
        nSkeleton->mDrawOrder[i] = nSlot;
        nSkeleton->mSlotCount = i + 1;
    }
    return nSkeleton;
}

void Skeleton_dispose(Skeleton *pSkeleton)
{
    if(!pSkeleton) return;
    for(int32_t i = 0; i < pSkeleton->mBoneCount; i++) Runtime_free(pSkeleton->mBones[i]);
    Runtime_free(pSkeleton->mBones);
    for(int32_t i = 0; i < pSkeleton->mSlotCount; i++) Runtime_free(pSkeleton->mSlots[i]);
    Runtime_free(pSkeleton->mSlots);
    Runtime_free(pSkeleton->mDrawOrder);
    Runtime_free(pSkeleton);
}

void Skeleton_setToSetupPose(Skeleton *pSkeleton)
{
    Skeleton_setBonesToSetupPose(pSkeleton);
    Skeleton_setSlotsToSetupPose(pSkeleton);
}

void Skeleton_setBonesToSetupPose(Skeleton *pSkeleton)
{
    for(int32_t i = 0; i < pSkeleton->mBoneCount; i++) Bone_setToSetupPose(pSkeleton->mBones[i]);
}

void Skeleton_setSlotsToSetupPose(Skeleton *pSkeleton)
{
    memcpy(pSkeleton->mDrawOrder, pSkeleton->mSlots, sizeof(Slot *) * (size_t)pSkeleton->mSlotCount);
    for(int32_t i = 0; i < pSkeleton->mSlotCount; i++) Slot_setToSetupPose(pSkeleton->mSlots[i]);
}

void Skeleton_updateWorldTransform(Skeleton *pSkeleton)
{
    for(int32_t i = 0; i < pSkeleton->mBoneCount; i++)
        Bone_updateWorldTransform(pSkeleton->mBones[i], pSkeleton->mFlipX, pSkeleton->mFlipY);
}

// A built skeleton holds one bone and one slot per data record, in the data's order, so the
// data's indices are the skeleton's.
int32_t Skeleton_findBoneIndex(const Skeleton *pSkeleton, const char *pName)
{
    return SkeletonData_findBoneIndex(pSkeleton->rData, pName);
}

Bone *Skeleton_findBone(const Skeleton *pSkeleton, const char *pName)
{
    int32_t tIndex = Skeleton_findBoneIndex(pSkeleton, pName);
    return tIndex < 0 ? nullptr : pSkeleton->mBones[tIndex];
}

int32_t Skeleton_findSlotIndex(const Skeleton *pSkeleton, const char *pName)
{
    return SkeletonData_findSlotIndex(pSkeleton->rData, pName);
}

Slot *Skeleton_findSlot(const Skeleton *pSkeleton, const char *pName)
{
    int32_t tIndex = Skeleton_findSlotIndex(pSkeleton, pName);
    return tIndex < 0 ? nullptr : pSkeleton->mSlots[tIndex];
}

void Skeleton_setSkin(Skeleton *pSkeleton, Skin *pSkin)
{
    if(pSkeleton->rSkin && pSkin)
    {
        // Slots that show the old skin's attachment take the new skin's one of the same entry.
        for(SkinEntry *rEntry = pSkeleton->rSkin->mEntries; rEntry; rEntry = rEntry->mNext)
        {
            if(rEntry->mSlotIndex < 0 || rEntry->mSlotIndex >= pSkeleton->mSlotCount) continue;
            Slot *rSlot = pSkeleton->mSlots[rEntry->mSlotIndex];
            if(rSlot->rAttachment != rEntry->mAttachment) continue;
            Attachment *rNew = Skin_getAttachment(pSkin, rEntry->mSlotIndex, rEntry->mName);
            if(rNew) Slot_setAttachment(rSlot, rNew);
        }
    }
    pSkeleton->rSkin = pSkin;
}

int32_t Skeleton_setSkinByName(Skeleton *pSkeleton, const char *pName)
{
    if(!pName)
    {
        Skeleton_setSkin(pSkeleton, nullptr);
        return 1;
    }
    Skin *rSkin = SkeletonData_findSkin(pSkeleton->rData, pName);
    if(!rSkin) return 0;
    Skeleton_setSkin(pSkeleton, rSkin);
    return 1;
}

Attachment *Skeleton_getAttachmentForSlotName(const Skeleton *pSkeleton, const char *pSlotName, const char *pName)
{
    return Skeleton_getAttachmentForSlotIndex(pSkeleton, SkeletonData_findSlotIndex(pSkeleton->rData, pSlotName), pName);
}

Attachment *Skeleton_getAttachmentForSlotIndex(const Skeleton *pSkeleton, int32_t pSlotIndex, const char *pName)
{
    if(pSlotIndex < 0 || pSlotIndex >= pSkeleton->mSlotCount) return nullptr;
    Attachment *rAttachment = Skin_getAttachment(pSkeleton->rSkin, pSlotIndex, pName);
    if(rAttachment) return rAttachment;
    return Skin_getAttachment(pSkeleton->rData->rDefaultSkin, pSlotIndex, pName);
}

int32_t Skeleton_setAttachment(Skeleton *pSkeleton, const char *pSlotName, const char *pName)
{
    int32_t tIndex = Skeleton_findSlotIndex(pSkeleton, pSlotName);
    if(tIndex < 0) return 0;
    Attachment *rAttachment = nullptr;
    if(pName)
    {
        rAttachment = Skeleton_getAttachmentForSlotIndex(pSkeleton, tIndex, pName);
        if(!rAttachment) return 0;
    }
    Slot_setAttachment(pSkeleton->mSlots[tIndex], rAttachment);
    return 1;
}

void Skeleton_update(Skeleton *pSkeleton, float pDelta)
{
    pSkeleton->mTime += pDelta;
}
