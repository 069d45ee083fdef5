#include "skeleton/CorvelPuppet.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/DebugPrint.h"
#include "core/Utilities.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "skeleton/Animation.h"
#include "skeleton/Atlas.h"
#include "skeleton/Attachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/SkeletonRuntime.h"

// The runtime's host hooks. The puppet loads its texture itself, so a page only gets a nominal
// size; drawing uses the region's pixel rectangle over the real texture instead.
void Host_createAtlasTexture(AtlasPage *pPage, const char *pPath)
{
    pPage->rRendererObject = nullptr;
    pPage->mWidth = 123;
    pPage->mHeight = 456;
}

void Host_disposeAtlasTexture(AtlasPage *pPage)
{
}

char *Host_readFile(const char *pPath, int32_t *sLength)
{
    return Runtime_readFile(pPath, sLength);
}

static CorvelPuppet::TextureLoader xTextureLoader = Bitmap::LoadFromFile;

void CorvelPuppet::SetTextureLoader(TextureLoader pLoader)
{
    xTextureLoader = pLoader ? pLoader : Bitmap::LoadFromFile;
}

CorvelPuppet::CorvelPuppet()
    : mBooted(0), mArtFlipped(0), mRenderCount(0), mAnimationTime(0.0f), mTexture(nullptr), mSlotRecords(nullptr),
      mAtlas(nullptr), mSkeleton(nullptr), mReader(nullptr), mSkeletonData(nullptr), mAnimationName(nullptr)
{
}

CorvelPuppet::~CorvelPuppet()
{
    Release();
    free(mAnimationName);
}

void CorvelPuppet::Release()
{
    Skeleton_dispose(mSkeleton);
    SkeletonData_dispose(mSkeletonData);
    SkeletonJson_dispose(mReader);
    Atlas_dispose(mAtlas);
    delete mTexture;
    free(mSlotRecords);
    mSkeleton = nullptr;
    mSkeletonData = nullptr;
    mReader = nullptr;
    mAtlas = nullptr;
    mTexture = nullptr;
    mSlotRecords = nullptr;
    mBooted = 0;
}

void CorvelPuppet::Boot(const char *pTexturePath, const char *pAtlasPath, const char *pSkeletonPath, const char *pSkinName)
{
    if(!pTexturePath || !pAtlasPath || !pSkeletonPath) return;
    Release();
    Debug::PushPrint(1, "[CorvelPuppet] Booting with %s\n", pTexturePath);

    mAtlas = Atlas_readAtlasFile(pAtlasPath);
    if(!mAtlas)
    {
        Debug::PopPrint("[CorvelPuppet] Error occurred reading %s\n", pAtlasPath);
        return;
    }
    mReader = SkeletonJson_create(mAtlas);
    if(mReader) mSkeletonData = SkeletonJson_readSkeletonDataFile(mReader, pSkeletonPath);
    if(!mSkeletonData)
    {
        printf("Error: %s\n", mReader && mReader->mError ? mReader->mError : "Out of memory");
        fflush(stdout);
        Release();
        Debug::PopPrint("[CorvelPuppet] Finished boot\n");
        return;
    }

    // The upload must not redraw the loading screen; whatever the map loader set stays set.
    uint8_t tSuppressed = GetLoadInterruptSuppressed();
    SetLoadInterruptSuppressed(1);
    mTexture = xTextureLoader(pTexturePath);
    SetLoadInterruptSuppressed(tSuppressed);
    ReportUnusableArt(pTexturePath, pAtlasPath);

    mSkeleton = Skeleton_create(mSkeletonData);
    if(mSkeleton) mSlotRecords = (uint8_t *)calloc((size_t)mSkeleton->mSlotCount * 2 + 1, 1);
    if(!mSkeleton || !mSlotRecords)
    {
        printf("Error: %s\n", "Out of memory");
        fflush(stdout);
        Release();
        Debug::PopPrint("[CorvelPuppet] Finished boot\n");
        return;
    }
    if(pSkinName) Skeleton_setSkinByName(mSkeleton, pSkinName);
    Skeleton_setToSetupPose(mSkeleton);
    Skeleton_updateWorldTransform(mSkeleton);
    mBooted = 1;
    Debug::PopPrint("[CorvelPuppet] Finished boot\n");
}

// An empty or damaged picture loads as no texture: the puppet is still posed, so hitboxes built
// from it keep working, and draws nothing. Regions off the picture are left undrawn.
void CorvelPuppet::ReportUnusableArt(const char *pTexturePath, const char *pAtlasPath)
{
    const int32_t tWidth = mTexture ? mTexture->GetTextureWidth() : 0;
    const int32_t tHeight = mTexture ? mTexture->GetTextureHeight() : 0;
    if(tWidth < 1 || tHeight < 1)
    {
        Debug::ForcePrint("[CorvelPuppet] Error occurred loading %s\n", pTexturePath);
        return;
    }
    for(const AtlasRegion *rRegion = mAtlas->mRegions; rRegion; rRegion = rRegion->mNext)
    {
        if(RegionFitsTexture(rRegion, tWidth, tHeight)) continue;
        Debug::ForcePrint("[CorvelPuppet] Error in %s, region %s lies outside %s, dropped\n", pAtlasPath, rRegion->mName,
                          pTexturePath);
    }
}

void CorvelPuppet::SetAnimation(const char *pName)
{
    ResetString(&mAnimationName, pName);
    if(!mSkeleton) return;
    Animation *rAnimation = SkeletonData_findAnimation(mSkeletonData, mAnimationName);
    if(!rAnimation || rAnimation->mTimelineCount <= 0) return;
    Animation_apply(rAnimation, mSkeleton, 0.0f, 0.0f, 1, nullptr);
    Skeleton_updateWorldTransform(mSkeleton);
}

void CorvelPuppet::SetAnimationTime(float pTime)
{
    if(!std::isfinite(pTime)) return;
    float tPrevious = mAnimationTime;
    mAnimationTime = pTime;
    if(!mSkeleton || !mAnimationName) return;
    Animation *rAnimation = SkeletonData_findAnimation(mSkeletonData, mAnimationName);
    if(!rAnimation)
    {
        fprintf(stderr, "Error in Animation %s: %s\n", mAnimationName, mReader && mReader->mError ? mReader->mError : "");
        return;
    }
    if(rAnimation->mTimelineCount <= 0) return;
    Animation_apply(rAnimation, mSkeleton, tPrevious, pTime, 1, nullptr);
    Skeleton_updateWorldTransform(mSkeleton);
}

void CorvelPuppet::SetSkin(const char *pName)
{
    if(mSkeleton && pName) Skeleton_setSkinByName(mSkeleton, pName);
}

void CorvelPuppet::SetSlotBlocksBuster(int32_t pSlot, uint8_t pFlag)
{
    if(pSlot < 0 || pSlot >= GetSlotCount()) return;
    mSlotRecords[pSlot * 2] = pFlag;
}

uint8_t CorvelPuppet::GetSlotBlocksBuster(int32_t pSlot) const
{
    if(pSlot < 0 || pSlot >= GetSlotCount()) return 0;
    return mSlotRecords[pSlot * 2];
}

uint8_t CorvelPuppet::GetDrawnSlotBlocksBuster(int32_t pDrawIndex) const
{
    if(pDrawIndex < 0 || pDrawIndex >= GetSlotCount()) return 0;
    const Slot *rSlot = mSkeleton->mDrawOrder[pDrawIndex];
    for(int32_t i = 0; i < mSkeleton->mSlotCount; i++)
    {
        if(mSkeleton->mSlots[i] == rSlot) return mSlotRecords[i * 2];
    }
    return 0;
}

int32_t CorvelPuppet::GetSlotCount() const
{
    return mSkeleton && mSlotRecords ? mSkeleton->mSlotCount : 0;
}

bool CorvelPuppet::SlotRegion(int32_t pDrawIndex, float sCorners[8]) const
{
    if(pDrawIndex < 0 || pDrawIndex >= GetSlotCount()) return false;
    const Slot *rSlot = mSkeleton->mDrawOrder[pDrawIndex];
    if(!rSlot->rAttachment || rSlot->rAttachment->mType != ATTACHMENT_REGION) return false;
    RegionAttachment_computeWorldVertices((const RegionAttachment *)rSlot->rAttachment, mSkeleton->mX, mSkeleton->mY,
                                          rSlot->rBone, sCorners);
    return true;
}

bool CorvelPuppet::GetSlotQuad(int32_t pDrawIndex, float sCorners[8]) const
{
    return SlotRegion(pDrawIndex, sCorners);
}

bool CorvelPuppet::GetSlotQuadXY(int32_t pDrawIndex, float sX[4], float sY[4]) const
{
    float tCorners[8];
    if(!SlotRegion(pDrawIndex, tCorners)) return false;
    for(int32_t i = 0; i < 4; i++)
    {
        sX[i] = tCorners[i * 2];
        sY[i] = tCorners[i * 2 + 1];
    }
    return true;
}

bool CorvelPuppet::GetSlotQuadXYReversed(int32_t pDrawIndex, float sX[4], float sY[4]) const
{
    float tCorners[8];
    if(!SlotRegion(pDrawIndex, tCorners)) return false;
    const int32_t cOrder[4] = {0, 3, 2, 1};
    for(int32_t i = 0; i < 4; i++)
    {
        sX[i] = tCorners[cOrder[i] * 2];
        sY[i] = tCorners[cOrder[i] * 2 + 1];
    }
    return true;
}

void CorvelPuppet::GetSlotCenter(int32_t pSlot, float *sX, float *sY) const
{
    if(pSlot < 0 || pSlot >= GetSlotCount()) return;
    const Slot *rSlot = mSkeleton->mSlots[pSlot];
    if(!rSlot->rAttachment || rSlot->rAttachment->mType != ATTACHMENT_REGION) return;
    float tCorners[8];
    RegionAttachment_computeWorldVertices((const RegionAttachment *)rSlot->rAttachment, mSkeleton->mX, mSkeleton->mY,
                                          rSlot->rBone, tCorners);
    if(sX) *sX = (tCorners[0] + tCorners[2] + tCorners[4] + tCorners[6]) / 4.0f;
    if(sY) *sY = (tCorners[1] + tCorners[3] + tCorners[5] + tCorners[7]) / 4.0f;
}

float CorvelPuppet::GetSlotBoneRotation(int32_t pSlot) const
{
    if(pSlot < 0 || pSlot >= GetSlotCount()) return 0.0f;
    const Bone *rBone = mSkeleton->mSlots[pSlot]->rBone;
    return rBone->mRotation + (rBone->rParent ? rBone->rParent->mRotation : 0.0f);
}

bool CorvelPuppet::RegionFitsTexture(const AtlasRegion *pRegion, int32_t pTextureWidth, int32_t pTextureHeight)
{
    if(pTextureWidth <= 0 || pTextureHeight <= 0) return false;
    // A rotated region lies on the page turned a quarter, its width running down the page.
    const int64_t tPageW = pRegion->mRotate ? pRegion->mHeight : pRegion->mWidth;
    const int64_t tPageH = pRegion->mRotate ? pRegion->mWidth : pRegion->mHeight;
    return pRegion->mX >= 0 && pRegion->mY >= 0 && tPageW >= 0 && tPageH >= 0 && pRegion->mX + tPageW <= pTextureWidth &&
           pRegion->mY + tPageH <= pTextureHeight;
}

bool CorvelPuppet::ComputeRegionQuad(const float pCorners[8], const AtlasRegion *pRegion, int32_t pTextureWidth,
                                     int32_t pTextureHeight, float sTexCoords[8], float sVertices[8])
{
    if(!RegionFitsTexture(pRegion, pTextureWidth, pTextureHeight)) return false;
    const float tW = (float)pTextureWidth;
    const float tH = (float)pTextureHeight;
    const float tPageW = (float)(pRegion->mRotate ? pRegion->mHeight : pRegion->mWidth);
    const float tPageH = (float)(pRegion->mRotate ? pRegion->mWidth : pRegion->mHeight);
    const float tLeft = (float)pRegion->mX / tW;
    const float tTop = (float)pRegion->mY / tH;
    const float tRight = ((float)pRegion->mX + tPageW) / tW;
    const float tBottom = ((float)pRegion->mY + tPageH) / tH;
    const float cPlain[8] = {tLeft, tBottom, tLeft, tTop, tRight, tTop, tRight, tBottom};
    const float cRotated[8] = {tRight, tBottom, tLeft, tBottom, tLeft, tTop, tRight, tTop};
    const float *rCoords = pRegion->mRotate ? cRotated : cPlain;
    for(int32_t i = 0; i < 8; i += 2)
    {
        sTexCoords[i] = rCoords[i];
        sTexCoords[i + 1] = rCoords[i + 1];
        sVertices[i] = pCorners[i];
        sVertices[i + 1] = -pCorners[i + 1];
    }
    return true;
}

void CorvelPuppet::DrawRegionQuad(const float pCorners[8], const AtlasRegion *pRegion, const RegionAttachment *pAttachment) const
{
    if(!pCorners || !pRegion || !pAttachment || !mTexture) return;
    float tTexCoords[8];
    float tVertices[8];
    if(!ComputeRegionQuad(pCorners, pRegion, mTexture->GetTextureWidth(), mTexture->GetTextureHeight(), tTexCoords, tVertices))
        return;
    GLState::PushAll();
    DrawBoundTextureQuad(tVertices, tTexCoords);
    GLState::PopAll();
}

void CorvelPuppet::Render()
{
    if(!mBooted || !mAnimationName) return;
    if(mRenderCount < INT32_MAX) mRenderCount++;
    // Without a texture the puppet still counts its draws, so hitboxes that wait for them work.
    if(!mTexture || mTexture->GetTexture() == 0) return;
    mTexture->Bind();
    for(int32_t i = 0; i < mSkeleton->mSlotCount; i++)
    {
        const Slot *rSlot = mSkeleton->mDrawOrder[i];
        if(!rSlot->rAttachment || rSlot->rAttachment->mType != ATTACHMENT_REGION) continue;
        const RegionAttachment *rRegionAttachment = (const RegionAttachment *)rSlot->rAttachment;
        float tCorners[8];
        RegionAttachment_computeWorldVertices(rRegionAttachment, mSkeleton->mX, mSkeleton->mY, rSlot->rBone, tCorners);
        glColor4f(rSlot->mR, rSlot->mG, rSlot->mB, rSlot->mA);
        DrawRegionQuad(tCorners, Atlas_findRegion(mAtlas, rSlot->rAttachment->mName), rRegionAttachment);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
}
