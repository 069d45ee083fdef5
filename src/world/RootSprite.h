#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/data/LibraryHolder.h"
#include "world/ClipQueries.h"
#include "world/RootEntity.h"

class Bitmap;
class CorvelAnimation;
class RootSprite;
struct lua_State;

typedef void (*SpriteRoutine)(RootSprite *pSprite);

// Most animation slots one sprite may hold; scripts asking for more get this many.
#define SPRITE_MAX_ANIMATIONS 1024
// Frame codes of the animate hook: follow the clock, or draw nothing.
#define SPRITE_FRAME_CLOCK -1
#define SPRITE_FRAME_HIDDEN -2
// Lifetime codes: endless, or the length of the first animation.
#define SPRITE_LIFETIME_ENDLESS -1
#define SPRITE_LIFETIME_FIRST_ANIMATION -2
// Most one-unit moves HugSurface makes, down and back up together.
#define SPRITE_HUG_BUDGET 50

// The world's decorations and effects: an animated picture with a box, a lifetime, an optional
// palette swap, and update and animate hooks written in Lua or chosen from the built-in
// overrides ("FUNCOVERRIDE_SCRAPPIECE", "FUNCOVERRIDE_PLAYONCE", "FUNCOVERRIDE_WATER").
//
// Each frame the animate hook (native routine, else the mono script with 2, else the animate
// script) picks the picture by setting the current animation and frame; Render draws it.
// Each tick the native update routine runs, then the mono script with 1 or the update script.
// Scripts run with the sprite as the active object.
class RootSprite : public RootEntity
{
public:
    RootSprite();
    virtual ~RootSprite();

    void GetPosition(float &sX, float &sY, float &sZ) override;
    void Update() override;
    void Render() override;

    // The box is centred on the position.
    void SetPosition(float pX, float pY);
    void SetSize(float pW, float pH);
    Hitbox GetBox() const { return mHitbox; }
    // SPRITE_LIFETIME_FIRST_ANIMATION takes animation 0's total ticks, and does nothing while
    // that slot is empty.
    void SetLifetime(int32_t pTicks);
    int32_t GetLifetime() const { return mLifetime; }
    int32_t GetTicksAlive() const { return mTicksAlive; }
    uint8_t IsOverOverlay() const { return mOverOverlay; }

    // Hooks. An override name installs that override's update and animate routines; any
    // other text becomes the update script (and drops both routines).
    void SetUpdatePath(const char *pPath);
    void SetAnimatePath(const char *pPath);
    void SetMonoScript(const char *pPath);

    // Animation slots: the animations belong to the library.
    void SetAnimationsTotal(int32_t pCount);
    int32_t GetAnimationsTotal() const { return mAnimationsTotal; }
    void SetAnimation(int32_t pIndex, CorvelAnimation *pAnimation);
    CorvelAnimation *GetAnimation(int32_t pIndex) const;
    void SetAnimationProperties(int32_t pAnimation, int32_t pFrame, int32_t pA, int32_t pB);
    int32_t GetCurrentAnimation() const { return mCurrentAnimation; }
    int32_t GetCurrentFrame() const { return mCurrentFrame; }

    // Tiles the current picture over the rectangle at the next drawing, once.
    void UseOverRender(int32_t pOffsetX, int32_t pOffsetY, float pX1, float pY1, float pX2, float pY2);
    uint8_t IsOverRenderPending() const { return mOverRenderPending; }
    void SetPalettes(const char *pPath, const char *pVariant);
    void SetFlip(int32_t pFlip) { mFlip = pFlip; }
    void SetRotation(int32_t pRotation) { mRotation = pRotation; }

    // Steps down onto the surface below and out of anything it sank into, 50 moves at most.
    void HugSurface();
    void HugSurfaceIn(const ClipWorld &pWorld);

    // Runs the animate hook and answers the picture it chose (null: draw nothing).
    Bitmap *ChooseFrame();

    // Starts an effect script with the name, a point and a number.
    static void SpawnByScript(const char *pScript, const char *pName, float pX, float pY, float pNumber);

private:
    void RunScript(const char *pPath, int32_t pEvent);
    void ClearRoutines();
    void DrawPicture(Bitmap *pImage);
    void DrawOverRender(Bitmap *pImage);
    static void ReleaseAnimation(void *pOwner, void *pObject);

    int32_t mTicksAlive;
    int32_t mLifetime;
    uint8_t mOverOverlay;
    SpriteRoutine rNativeUpdate;
    char *mUpdateScript;
    Hitbox mHitbox;
    float mWidth;
    float mHeight;
    float mDrawZ;
    SpriteRoutine rNativeAnimate;
    char *mAnimateScript;
    int32_t mAnimationsTotal;
    CorvelAnimation **mAnimations;
    char *mPalettePath;
    char *mPaletteVariant;
    uint8_t mOverRenderPending;
    int32_t mOverRenderOffsetX;
    int32_t mOverRenderOffsetY;
    float mOverRenderRect[4];
    uint8_t mMonoFlag;
    char *mMonoScript;
    int32_t mCurrentAnimation;
    int32_t mCurrentFrame;
    int32_t mPropertyA;
    int32_t mPropertyB;
    int32_t mFlip;
    int32_t mRotation;
    LibraryHolder mHolder;
};

// Registers the "Sprite_" globals.
void RegisterRootSpriteLua(lua_State *L);
