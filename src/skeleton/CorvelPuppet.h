#pragma once

#include <cstdint>

class Bitmap;
struct Atlas;
struct AtlasRegion;
struct RegionAttachment;
struct Skeleton;
struct SkeletonData;
struct SkeletonJson;

// One animated skeleton: loads a texture, an atlas and a skeleton file, keeps one Skeleton
// posed by one named animation at a time, answers the slot queries enemy hitboxes are built
// from, and draws one textured quad per region attachment. It has no clock: the owner sets the
// animation time every tick. Drawing needs a GL context; everything else works without one.
//
// A puppet that is not booted (never, or its files failed) stores the animation name and time
// it is given and otherwise answers false, 0 or nothing, and draws nothing.
class CorvelPuppet
{
public:
    CorvelPuppet();
    ~CorvelPuppet();

    // Nothing unless all three paths are given. A second boot releases the first one's state.
    // A texture that fails to load still boots (queries and hitboxes work) but draws nothing.
    void Boot(const char *pTexturePath, const char *pAtlasPath, const char *pSkeletonPath, const char *pSkinName);

    // Stores the name; when booted and the animation has timelines, poses it at time 0.
    void SetAnimation(const char *pName);
    // Stores the time (not finite: ignored) and, when booted, applies the animation from the
    // previous time to this one, looping.
    void SetAnimationTime(float pTime);
    void SetSkin(const char *pName);
    void SetArtFlipped(uint8_t pFlag) { mArtFlipped = pFlag; }
    uint8_t IsArtFlipped() const { return mArtFlipped; }

    // Slot indices in setup order; others are ignored and read as 0.
    void SetSlotBlocksBuster(int32_t pSlot, uint8_t pFlag);
    uint8_t GetSlotBlocksBuster(int32_t pSlot) const;
    // The same flag for the slot drawn at a draw-order index, which is how hit polygons are
    // numbered; an animation may reorder the slots, so the two orders can differ.
    uint8_t GetDrawnSlotBlocksBuster(int32_t pDrawIndex) const;

    int32_t GetRenderCount() const { return mRenderCount; }
    // The skeleton's slot count; 0 while not booted.
    int32_t GetSlotCount() const;

    // World corners of the region attachment that draw-order slot i shows, in the order
    // bottom-left, upper-left, upper-right, bottom-right; false when it shows none.
    bool GetSlotQuad(int32_t pDrawIndex, float sCorners[8]) const;
    bool GetSlotQuadXY(int32_t pDrawIndex, float sX[4], float sY[4]) const;
    // Corners 0, 3, 2, 1: the same polygon wound the other way, for a mirrored owner.
    bool GetSlotQuadXYReversed(int32_t pDrawIndex, float sX[4], float sY[4]) const;
    // Setup-order slot i: the mean of its region's world corners; outputs untouched otherwise.
    void GetSlotCenter(int32_t pSlot, float *sX, float *sY) const;
    // Local rotation of slot i's bone plus that of the bone's parent; 0 out of range.
    float GetSlotBoneRotation(int32_t pSlot) const;

    // Draws in the current GL transform (y down: the skeleton's y is negated). Only when booted
    // and an animation name is set; each such call counts.
    void Render();
    void DrawRegionQuad(const float pCorners[8], const AtlasRegion *pRegion, const RegionAttachment *pAttachment) const;

    // The quad DrawRegionQuad sends: texture coordinates from the region's pixel rectangle on a
    // texture of this size (a rotated region is sampled turned back) and the corners with y
    // negated, both in corner order. False for a texture without size, or a region that does
    // not lie wholly on it.
    static bool RegionFitsTexture(const AtlasRegion *pRegion, int32_t pTextureWidth, int32_t pTextureHeight);
    static bool ComputeRegionQuad(const float pCorners[8], const AtlasRegion *pRegion, int32_t pTextureWidth,
                                  int32_t pTextureHeight, float sTexCoords[8], float sVertices[8]);

    // How Boot loads the texture; null restores Bitmap::LoadFromFile. Tests without GL set one.
    typedef Bitmap *(*TextureLoader)(const char *pPath);
    static void SetTextureLoader(TextureLoader pLoader);

    uint8_t IsBooted() const { return mBooted; }
    float GetAnimationTime() const { return mAnimationTime; }
    const char *GetAnimationName() const { return mAnimationName; }
    Skeleton *GetSkeleton() const { return mSkeleton; }

private:
    // Releases everything loaded and returns to not booted.
    void Release();
    // Names a texture that did not load and every atlas region that lies off it.
    void ReportUnusableArt(const char *pTexturePath, const char *pAtlasPath);
    bool SlotRegion(int32_t pDrawIndex, float sCorners[8]) const;

    uint8_t mBooted;
    uint8_t mArtFlipped;
    int32_t mRenderCount;
    float mAnimationTime;
    Bitmap *mTexture;
    // Two bytes per slot: blocks-buster flag, and a byte kept 0.
    uint8_t *mSlotRecords;
    Atlas *mAtlas;
    Skeleton *mSkeleton;
    SkeletonJson *mReader;
    SkeletonData *mSkeletonData;
    char *mAnimationName;

    CorvelPuppet(const CorvelPuppet &) = delete;
    CorvelPuppet &operator=(const CorvelPuppet &) = delete;
};
