#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/RootObject.h"
#include "core/data/LibraryHolder.h"

class Bitmap;
class CorvelAnimation;
class CorvelPuppet;
class Enemy;

#define APPEARANCE_MAX_OVERLAYS 256
#define APPEARANCE_MAX_ANIMATIONS 256

struct AppearanceOverlay
{
    int32_t mAnimationIndex;
    int32_t mTick;
};

// The look of one enemy: frame animations (one showing at a time, with overlays, a palette
// variant and a white damage flash), or a skeletal puppet. The enemy picks the animation and
// facing each tick; Update counts the animation time; Render draws. Every index is checked
// where it is used, since the slot count may shrink after an index was stored.
class EnemyAppearance : public RootObject
{
public:
    EnemyAppearance();
    ~EnemyAppearance() override;

    void SetOwner(Enemy *pOwner) { rOwner = pOwner; }
    void SetAnimationsTotal(int32_t pCount);
    void SetAnimation(int32_t pIndex, CorvelAnimation *pAnimation);
    void SetAnimationOffsets(float pX, float pY) { mOffsetX = pX; mOffsetY = pY; }
    void SetAnimationIndex(int32_t pIndex);
    void SetFrame(int32_t pTick);
    void SetFacing(int32_t pFacing);
    void SetHorizontalFlip(uint8_t pFlag) { mHorizontalFlip = pFlag; }
    void SetPaletteData(const char *pPath, const char *pVariant);
    void AllocateOverlays(int32_t pCount);
    void SetOverlay(int32_t pSlot, int32_t pAnimationIndex, int32_t pTick);
    void SetPanicAnimation(int32_t pIndex) { mPanicAnimation = pIndex; }
    bool HasPanicAnimation() const { return mPanicAnimation >= 0; }
    void SetDamageFlash(uint8_t pFlag) { mDamageFlash = pFlag; }

    int32_t GetAnimationsTotal() const { return mAnimationsTotal; }
    int32_t GetAnimationIndex() const { return mAnimationIndex; }
    int32_t GetTick() const { return mTick; }
    int32_t GetFrameIndex() const;
    int32_t GetFacing() const { return mFacing; }
    uint8_t GetHorizontalFlip() const { return mHorizontalFlip; }
    uint8_t GetDamageFlash() const { return mDamageFlash; }
    int32_t GetFlashCounter() const { return mFlashCounter; }
    void GetDrawOffset(float &sX, float &sY) const { sX = mOffsetX; sY = mOffsetY; }
    CorvelAnimation *GetAnimation(int32_t pIndex) const;
    void GetAnimationSize(int32_t pIndex, int32_t &sWidth, int32_t &sHeight) const;
    int32_t GetOverlayCount() const { return mOverlayCount; }
    const AppearanceOverlay *GetOverlay(int32_t pSlot) const;

    // "Left" 0, "Right" 1, anything else -1 with a message.
    static int32_t TranslateStringDirectionFacing(const char *pText);

    // Puppet mode: one of two presets; the puppet is kept even when its files fail to load.
    void BootPuppet(const char *pType);
    uint8_t GetPuppetMode() const { return mPuppetMode; }
    CorvelPuppet *GetPuppet() const { return mPuppet; }
    int32_t GetPuppetSlotCount() const;
    int32_t GetPuppetRenderCount() const;
    float GetPuppetAnimPercent() const { return mPuppetAnimPercent; }
    void SetPuppetSkin(const char *pName);
    void SetPuppetAnimation(const char *pName);
    void SetPuppetAnimationTime(float pTime);
    void SetSlotBlocksBuster(int32_t pSlot, uint8_t pFlag);
    bool GetSlotCenter(int32_t pSlot, float &sX, float &sY) const;
    float GetSlotRotation(int32_t pSlot) const;

    void Update(const Hitbox &pOwnerBox);
    void Render();
    void RenderPanic();

private:
    Bitmap *FrameOf(int32_t pIndex, int32_t pTick) const;
    float DepthOffset() const;
    void DrawNormal(Bitmap *pFrame);
    void DrawFlash(Bitmap *pFrame);
    void RenderPuppetMode();
    void DrawPuppet();

    Enemy *rOwner;
    uint8_t mFrameHeld;
    int32_t mTick;
    int32_t mAnimationsTotal;
    int32_t mAnimationIndex;
    int32_t mPreviousIndex;
    CorvelAnimation **mAnimations;
    float mOffsetX, mOffsetY;
    Hitbox mOwnerBox;
    int32_t mFacing;
    uint8_t mHorizontalFlip;
    int32_t mPanicAnimation;
    uint8_t mDamageFlash;
    int32_t mFlashCounter;
    char *mPalettePath;
    char *mPaletteVariant;
    int32_t mOverlayCount;
    AppearanceOverlay *mOverlays;
    uint8_t mPuppetMode;
    CorvelPuppet *mPuppet;
    float mPuppetAnimPercent;

    // The animations are library entries; a script may purge one while the enemy lives.
    static void ReleaseAnimation(void *pAppearance, void *pObject);
    LibraryHolder mHolder;
};
