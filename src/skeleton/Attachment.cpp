#include "skeleton/Attachment.h"

#include <cmath>

#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonRuntime.h"

void Attachment_dispose(Attachment *pAttachment)
{
    if(!pAttachment) return;
    pAttachment->rFunctions->mDispose(pAttachment);
}

// Every kind's record starts with the header, so one zeroed block of the kind's size serves all.
static Attachment *Attachment_create(size_t pSize, const char *pName, int32_t pType,
                                     const AttachmentFunctions *pFunctions)
{
    Attachment *nAttachment = (Attachment *)Runtime_calloc(1, pSize);
    if(!nAttachment) return nullptr;
    nAttachment->mName = Runtime_copyString(pName);
    nAttachment->mType = pType;
    nAttachment->rFunctions = pFunctions;
    return nAttachment;
}

static void Attachment_free(Attachment *pAttachment)
{
    Runtime_free(pAttachment->mName);
    Runtime_free(pAttachment);
}

static const AttachmentFunctions cRegionFunctions = {Attachment_free};

RegionAttachment *RegionAttachment_create(const char *pName)
{
    RegionAttachment *nAttachment =
        (RegionAttachment *)Attachment_create(sizeof(RegionAttachment), pName, ATTACHMENT_REGION, &cRegionFunctions);
    if(!nAttachment) return nullptr;
    nAttachment->mScaleX = 1.0f;
    nAttachment->mScaleY = 1.0f;
    return nAttachment;
}

void RegionAttachment_setUVs(RegionAttachment *pAttachment, float pU, float pV, float pUMax, float pVMax, int32_t pRotate)
{
    float *rUvs = pAttachment->mUvs;
    if(pRotate)
    {
        rUvs[REGION_BLX] = pUMax;
        rUvs[REGION_BLY] = pVMax;
        rUvs[REGION_ULX] = pU;
        rUvs[REGION_ULY] = pVMax;
        rUvs[REGION_URX] = pU;
        rUvs[REGION_URY] = pV;
        rUvs[REGION_BRX] = pUMax;
        rUvs[REGION_BRY] = pV;
        return;
    }
    rUvs[REGION_BLX] = pU;
    rUvs[REGION_BLY] = pVMax;
    rUvs[REGION_ULX] = pU;
    rUvs[REGION_ULY] = pV;
    rUvs[REGION_URX] = pUMax;
    rUvs[REGION_URY] = pV;
    rUvs[REGION_BRX] = pUMax;
    rUvs[REGION_BRY] = pVMax;
}

void RegionAttachment_updateOffset(RegionAttachment *pAttachment)
{
    RegionAttachment *a = pAttachment;
    float tRegionScaleX = a->mRegionOriginalWidth > 0.0f ? a->mWidth / a->mRegionOriginalWidth * a->mScaleX : 0.0f;
    float tRegionScaleY = a->mRegionOriginalHeight > 0.0f ? a->mHeight / a->mRegionOriginalHeight * a->mScaleY : 0.0f;
    float tLeft = -a->mWidth / 2.0f * a->mScaleX + a->mRegionOffsetX * tRegionScaleX;
    float tBottom = -a->mHeight / 2.0f * a->mScaleY + a->mRegionOffsetY * tRegionScaleY;
    float tRight = tLeft + a->mRegionWidth * tRegionScaleX;
    float tTop = tBottom + a->mRegionHeight * tRegionScaleY;
    float tRadians = (float)(a->mRotation * SKELETON_DEG_RAD);
    float c = cosf(tRadians);
    float s = sinf(tRadians);
    a->mOffset[REGION_BLX] = tLeft * c - tBottom * s + a->mX;
    a->mOffset[REGION_BLY] = tBottom * c + tLeft * s + a->mY;
    a->mOffset[REGION_ULX] = tLeft * c - tTop * s + a->mX;
    a->mOffset[REGION_ULY] = tTop * c + tLeft * s + a->mY;
    a->mOffset[REGION_URX] = tRight * c - tTop * s + a->mX;
    a->mOffset[REGION_URY] = tTop * c + tRight * s + a->mY;
    a->mOffset[REGION_BRX] = tRight * c - tBottom * s + a->mX;
    a->mOffset[REGION_BRY] = tBottom * c + tRight * s + a->mY;
}

// One point of the bone's space into world space.
static void BoneToWorld(const Bone *pBone, float pX, float pY, float pOffsetX, float pOffsetY, float *sOut)
{
    float tX = pX + pBone->mWorldX;
    float tY = pY + pBone->mWorldY;
    sOut[0] = pOffsetX * pBone->mM00 + pOffsetY * pBone->mM01 + tX;
    sOut[1] = pOffsetX * pBone->mM10 + pOffsetY * pBone->mM11 + tY;
}

void RegionAttachment_computeWorldVertices(const RegionAttachment *pAttachment, float pX, float pY, const Bone *pBone,
                                           float sVertices[8])
{
    for(int32_t i = 0; i < 8; i += 2)
        BoneToWorld(pBone, pX, pY, pAttachment->mOffset[i], pAttachment->mOffset[i + 1], sVertices + i);
}

static void BoundingBoxAttachment_dispose(Attachment *pAttachment)
{
    BoundingBoxAttachment *rBox = (BoundingBoxAttachment *)pAttachment;
    Runtime_free(rBox->mVertices);
    Attachment_free(pAttachment);
}

static const AttachmentFunctions cBoundingBoxFunctions = {BoundingBoxAttachment_dispose};

BoundingBoxAttachment *BoundingBoxAttachment_create(const char *pName)
{
    return (BoundingBoxAttachment *)Attachment_create(sizeof(BoundingBoxAttachment), pName, ATTACHMENT_BOUNDING_BOX,
                                                      &cBoundingBoxFunctions);
}

void BoundingBoxAttachment_computeWorldVertices(const BoundingBoxAttachment *pAttachment, float pX, float pY,
                                                const Bone *pBone, float *sVertices)
{
    for(int32_t i = 0; i + 1 < pAttachment->mVerticesCount; i += 2)
        BoneToWorld(pBone, pX, pY, pAttachment->mVertices[i], pAttachment->mVertices[i + 1], sVertices + i);
}
