#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/ClipQueries.h"
#include "world/RootEntity.h"

class PlayerPony;

#define MECH_ANIMATION_COUNT 13
#define MECH_WIDTH 30.0f
#define MECH_HEIGHT 67.0f
#define MECH_REMOUNT_DELAY 180
#define MECH_ENTITY_NAME "MechSuit"

enum MechAnimation : int32_t
{
    MECH_ANIM_IDLE = 0,
    MECH_ANIM_POWER_UP = 1,
    MECH_ANIM_WALK = 2,
    MECH_ANIM_WALK_START = 3,
    MECH_ANIM_SLAM = 4,
    MECH_ANIM_PUNCH = 5,
    MECH_ANIM_CHARGE = 6,
    MECH_ANIM_RUN_JUMP = 7,
    MECH_ANIM_JUMP = 8,
    MECH_ANIM_RAM = 9,
    MECH_ANIM_CRACK = 10,
    MECH_ANIM_TURN = 11,
    MECH_ANIM_DASH_STOP = 12,
};

// Lifts a box caught in solid cells to the nearest place, at most pMostRise units higher,
// where it is free; true when it moved. A free box, or one with no room above, stays.
bool RiseOutOfSolid(const ClipWorld &pWorld, Hitbox &sBox, int32_t pMostRise);

// The walking machine a map places and the player rides. Alone it powers down, falls until it
// stands and waits; touched by the player (once its remount delay has run out) it takes her as
// its rider, and from then on her mech movement places it and picks its animation.
//
// Its animations are looked up in the data library each time it draws, so it keeps no
// pointers into the library. A mech destroyed while ridden sets its rider back on foot.
class MechSuit : public RootEntity
{
public:
    MechSuit();
    virtual ~MechSuit();

    void GetPosition(float &sX, float &sY, float &sZ) override;
    bool HasHitbox() override { return true; }
    void GetHitbox(Hitbox &sHitbox) override { sHitbox = mHitbox; }
    void Update() override;
    void Render() override;

    void SetPosition(float pX, float pY);
    void UpdateHitbox();
    void SetRider(PlayerPony *pRider, bool pRidden);
    void ReleaseRider();
    void SetAnimation(int32_t pIndex, bool pTimed, int32_t pValue);
    void SetFlip(bool pFlip) { mFlip = pFlip ? 1 : 0; }
    void ReturnToPlace();

    bool IsRidden() const { return mRidden != 0; }
    PlayerPony *GetRider() const { return rRider; }
    int32_t GetRemountDelay() const { return mRemountDelay; }
    int32_t GetPowerDownCounter() const { return mPowerDownCounter; }
    int32_t GetAnimationIndex() const { return mAnimIndex; }
    bool IsTimed() const { return mTimed != 0; }
    int32_t GetFrame() const { return mFrame; }
    int32_t GetTick() const { return mTick; }
    bool IsFlipped() const { return mFlip != 0; }
    float GetFallSpeed() const { return mFallSpeed; }

private:
    float mFrameBox[4];
    Hitbox mHitbox;
    uint8_t mFlip;
    uint8_t mTimed;
    int32_t mAnimIndex;
    int32_t mFrame;
    int32_t mTick;
    int32_t mPowerDownCounter;
    float mFallSpeed;
    uint8_t mRidden;
    int32_t mRemountDelay;
    PlayerPony *rRider;
};
