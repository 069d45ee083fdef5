#pragma once

#include <cstdint>

struct Bone;

// Attachment kinds, as stored in the header's type.
enum AttachmentType : int32_t
{
    ATTACHMENT_REGION = 0,
    ATTACHMENT_REGION_SEQUENCE = 1,
    ATTACHMENT_BOUNDING_BOX = 2,
};

struct Attachment;

struct AttachmentFunctions
{
    void (*mDispose)(Attachment *pAttachment);
};

// Header shared by every attachment kind; each kind's record starts with it.
struct Attachment
{
    char *mName;
    int32_t mType;
    const AttachmentFunctions *rFunctions;
};

// Releases any kind through its function table; nothing for null.
void Attachment_dispose(Attachment *pAttachment);

// Corner order of offset[] and uvs[]: bottom-left, upper-left, upper-right, bottom-right.
enum RegionCorner
{
    REGION_BLX = 0,
    REGION_BLY,
    REGION_ULX,
    REGION_ULY,
    REGION_URX,
    REGION_URY,
    REGION_BRX,
    REGION_BRY,
};

struct RegionAttachment
{
    Attachment mSuper;
    float mX, mY, mScaleX, mScaleY, mRotation, mWidth, mHeight;
    // The atlas region it shows (not owned).
    void *rRendererObject;
    float mRegionOffsetX, mRegionOffsetY;
    float mRegionWidth, mRegionHeight;
    float mRegionOriginalWidth, mRegionOriginalHeight;
    float mOffset[8];
    float mUvs[8];
};

struct BoundingBoxAttachment
{
    Attachment mSuper;
    int32_t mVerticesCount;
    float *mVertices;
};

RegionAttachment *RegionAttachment_create(const char *pName);
void RegionAttachment_setUVs(RegionAttachment *pAttachment, float pU, float pV, float pUMax, float pVMax, int32_t pRotate);
// Corners in the bone's space from the size, scale, rotation and the region's trim. An
// untrimmed size of 0 gives a region scale of 0 (a degenerate quad), never a division by 0.
void RegionAttachment_updateOffset(RegionAttachment *pAttachment);
void RegionAttachment_computeWorldVertices(const RegionAttachment *pAttachment, float pX, float pY, const Bone *pBone,
                                           float sVertices[8]);

BoundingBoxAttachment *BoundingBoxAttachment_create(const char *pName);
// sVertices holds mVerticesCount floats.
void BoundingBoxAttachment_computeWorldVertices(const BoundingBoxAttachment *pAttachment, float pX, float pY,
                                                const Bone *pBone, float *sVertices);

// Degrees to radians with pi as the double 3.141592653589793.
#define SKELETON_DEG_RAD (3.141592653589793 / 180.0)
