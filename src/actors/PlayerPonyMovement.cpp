#include "actors/PlayerPony.h"

#include "actors/BusterShot.h"
#include "actors/PlayerWeapon.h"
#include "core/ControlManager.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "interface/AudioManager.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/PushZone.h"
#include "world/SlideZone.h"

namespace
{
    // Water slows the fall; kept in double precision as the products are.
    const double cWaterFactor = 0.55;
    const int32_t cGroundDashLastTick = 35;
    const int32_t cAirDashTicks = 28;
    const int32_t cDashCooldown = 4;
    const int32_t cDoubleTapWindow = 19;
    const int32_t cIdleWrap = 299;
    const int32_t cIdleRestart = 4;
    const int32_t cWallReach = 10;
    const int32_t cWallKickHangLast = 5;
    const int32_t cWallKickLaunch = 6;
    const int32_t cWallKickLast = 13;
    const int32_t cWallKickReleaseAfter = 2;
    const int32_t cChargeSoundTick = 30;
    const int32_t cChargeShotAbove = 29;

    enum MoveMode
    {
        MODE_NONE,
        MODE_GROUND,
        MODE_AIR,
    };

    // Opposed directions cancel.
    struct Directions
    {
        bool mUp, mDown, mLeft, mRight;
    };

    Directions ReadDirections(ControlState **pControls)
    {
        ControlState *rUp = pControls[PlayerPony::CTL_UP];
        ControlState *rDown = pControls[PlayerPony::CTL_DOWN];
        ControlState *rLeft = pControls[PlayerPony::CTL_LEFT];
        ControlState *rRight = pControls[PlayerPony::CTL_RIGHT];
        Directions tDirections;
        tDirections.mUp = rUp->mHeld && !rDown->mHeld;
        tDirections.mDown = rDown->mHeld && !rUp->mHeld;
        tDirections.mLeft = rLeft->mHeld && !rRight->mHeld;
        tDirections.mRight = rRight->mHeld && !rLeft->mHeld;
        return tDirections;
    }

    bool Clipped(MapManager *pMap, float pX, float pY)
    {
        return pMap->IsClipped(TruncateCoordinate(pX), TruncateCoordinate(pY));
    }
}

// --- Movement step --------------------------------------------------------------------------

void PlayerPony::UpdateMovement()
{
    // Her timers run before the snapshot is needed: an injury taken before she first read the
    // controls holds a lock that keeps the snapshot from being made until the injury ends.
    TickInjury();
    if(xShotCooldown > 0) xShotCooldown--;
    for(int32_t i = 0; i < PLAYER_WEAPON_SLOTS; i++)
    {
        if(mWeapons[i]) mWeapons[i]->Tick();
    }
    if(!mControlSnapshot) return;
    mInSlipZone = IsInSlipZone() ? 1 : 0;

    const bool tWasOnLadder = mOnLadder != 0;
    MoveMode tMode = MODE_NONE;
    if(!mOnLadder)
    {
        ProbeContacts();
        if(mOnGround)
        {
            UpdateGroundMovement();
            tMode = MODE_GROUND;
        }
        else
        {
            UpdateAirMovement();
            tMode = MODE_AIR;
        }
    }
    else
    {
        UpdateLadder();
    }

    mVelX += mAccelX;
    mVelY += mAccelY;
    mVelZ += mAccelZ;
    if(mOnLadder || tWasOnLadder) mVelY = 0.0f;
    if(mKickEffectTimer > 0) mKickEffectTimer--;

    if(mVelX < -mCapX) mVelX = -mCapX;
    if(mVelX > mCapX) mVelX = mCapX;
    if(mVelY < mRiseCap) mVelY = mRiseCap;
    if(mVelY > mCapY) mVelY = mCapY;

    mVelX += mPushX;
    mVelY += mPushY;
    mVelZ += mPushZ;
    mPushX = mPushY = mPushZ = 0.0f;

    // Push zones act after the caps on purpose: a strong current can outrun the player.
    NamedLinkedList *rPushers = mOnLadder ? nullptr : EntityManager::FetchSpecialList("Push List");
    if(rPushers)
    {
        for(void *rData = rPushers->PushIterator(); rData; rData = rPushers->IterateNext())
        {
            PushZone *rZone = (PushZone *)rData;
            if(!HitboxOverlapsZoneRect(mHitbox, rZone->GetRect())) continue;
            float tX, tY;
            rZone->GetPush(tX, tY);
            mVelX += tX;
            mVelY += tY;
        }
    }

    MapManager *rMap = MapManager::Fetch();
    if(!mDying && rMap)
    {
        RebuildHitbox();
        // The modifier flags are one-shot globals: set them right before the move that
        // clears them, so a skipped move never leaves them set for someone else.
        if(tMode == MODE_GROUND)
        {
            AllowBotSlopes = true;
            AllowTopSlopes = false;
        }
        else if(tMode == MODE_AIR)
        {
            AllowBotSlopes = false;
            AllowTopSlopes = true;
        }
        if(tMode != MODE_NONE)
        {
            AllowAirWalk = true;
            LadderTopsSolid = true;
        }
        MoveWithCollision(rMap->GetClipWorld(), mVelX, mVelY, mVelZ, mHitbox);
        RebuildHitbox();
    }

    ProbeContacts();
    mKnockbackPending = 0;
    ApplyWeaponHotkeys();
    mInSlipZone = 0;
}

// --- Contact probe --------------------------------------------------------------------------

void PlayerPony::ProbeContacts()
{
    MapManager *rMap = MapManager::Fetch();
    if(!rMap) return;
    const float tL = mHitbox.mLft;
    const float tT = mHitbox.mTop;
    const float tR = mHitbox.mRgt;
    const float tB = mHitbox.mBot;

    mBlockedLeft = 0;
    for(float y = tT; y < tB - 1.0f && !mBlockedLeft; y += 1.0f) mBlockedLeft = Clipped(rMap, tL - 1.0f, y);
    mCeiling = 0;
    for(float x = tL; x < tR && !mCeiling; x += 1.0f) mCeiling = Clipped(rMap, x, tT - 1.0f);
    mBlockedRight = 0;
    for(float y = tT; y < tB - 1.0f && !mBlockedRight; y += 1.0f) mBlockedRight = Clipped(rMap, tR, y);

    // Ladder tops are floors to stand on, and nothing else.
    LadderTopsSolid = true;
    mOnGround = 0;
    for(float x = tL; x < tR && !mOnGround; x += 1.0f) mOnGround = Clipped(rMap, x, tB);
    LadderTopsSolid = false;

    mWallReachLeft = 0;
    for(float x = tL - cWallReach; x < tL && !mWallReachLeft; x += 1.0f)
    {
        for(float y = tT; y < tB - 2.0f && !mWallReachLeft; y += 1.0f) mWallReachLeft = Clipped(rMap, x, y);
    }
    mWallReachRight = 0;
    for(float x = tR; x < tR + cWallReach - 1 && !mWallReachRight; x += 1.0f)
    {
        for(float y = tT; y < tB - 2.0f && !mWallReachRight; y += 1.0f) mWallReachRight = Clipped(rMap, x, y);
    }

    if(mJumpRising || mVelY < 0.0f) mOnGround = 0;
    if(mInSlipZone)
    {
        mWallReachLeft = 0;
        mWallReachRight = 0;
    }
}

bool PlayerPony::IsInSlipZone()
{
    NamedLinkedList *rList = EntityManager::FetchSpecialList("Slip List");
    if(!rList) return false;
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        if(HitboxOverlapsZoneRect(mHitbox, ((RootZone *)rData)->GetRect()))
        {
            rList->PopIterator();
            return true;
        }
    }
    return false;
}

float PlayerPony::FootingFactor()
{
    float tFactor = 1.0f;
    NamedLinkedList *rList = EntityManager::FetchSpecialList("Slide List");
    if(!rList) return tFactor;
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        SlideZone *rZone = (SlideZone *)rData;
        if(!HitboxOverlapsZoneRect(mHitbox, rZone->GetRect())) continue;
        if(rZone->GetSlideAmount() < tFactor) tFactor = rZone->GetSlideAmount();
    }
    return tFactor;
}

// --- Shared pieces of the steps -------------------------------------------------------------

// A press within the window after the first one asks for a dash; the window is spent by it.
void PlayerPony::UpdateDoubleTap(bool pPressed, bool pLeft, bool &sDashRequest)
{
    if(!pPressed)
    {
        if(mDoubleTapTimer != -1) mDoubleTapTimer++;
        return;
    }
    if(mDoubleTapTimer != -1 && mDoubleTapTimer <= cDoubleTapWindow)
    {
        sDashRequest = true;
        mDoubleTapLeft = pLeft ? 1 : 0;
        mDoubleTapTimer = -1;
        return;
    }
    mDoubleTapTimer = 0;
}

// With the double-tap option a dash started by a double tap lasts while that direction is
// held, until Dash itself is released.
bool PlayerPony::IsKeepingDash(ControlState *pDash, ControlState *pLeft, ControlState *pRight)
{
    if(!mDoubleTapOption || pDash->mReleased) return false;
    return mDoubleTapLeft ? pLeft->mHeld != 0 : pRight->mHeld != 0;
}

void PlayerPony::StartDash(bool pOnGround)
{
    if(pOnGround) mSinceDashTimer = 0;
    else mAirDashAvailable = 0;
    mDashing = 1;
    mDashTimer = 0;
    mVelX = mFacingLeft ? -mDashSpeed : mDashSpeed;
    SpawnDashKickup();
    AudioManager::PlaySoundIfBooted("Dash");
}

void PlayerPony::EndAirDash()
{
    mDashEndTimer = 0;
    mDashing = 0;
    mDashTimer = -1;
    mAccelY = mGravity;
}

void PlayerPony::EndCharge(bool pFire)
{
    if(pFire) Shoot();
    if(mCharging || mCharge != -1)
    {
        AudioManager *rAudio = AudioManager::Fetch();
        if(rAudio) rAudio->StopSound("BusterCharging");
    }
    mCharging = 0;
    mCharge = -1;
}

// Press fires and starts a charge, holding builds it, releasing fires the charged shot. On the
// ground a release that happened while the controls were locked still counts, from its latch.
void PlayerPony::UpdateShootControl(ControlState *pShoot, bool pUseLatch)
{
    if(pShoot->mPressed)
    {
        Shoot();
        mCharging = 1;
        mCharge = 0;
        pShoot->mReleaseMarker = 0;
    }
    else if(pShoot->mHeld)
    {
        mCharge++;
        if(mCharge == cChargeSoundTick) AudioManager::PlaySoundIfBooted("BusterCharging");
        pShoot->mReleaseMarker = 0;
    }
    else if(pShoot->mReleased || (pUseLatch && pShoot->mReleaseMarker && !mControlsLocked))
    {
        EndCharge(mCharge > cChargeShotAbove);
        pShoot->mReleaseMarker = 0;
    }
}

// --- Ground step ----------------------------------------------------------------------------

void PlayerPony::UpdateGroundMovement()
{
    ControlState *tControls[CTL_COUNT];
    if(!FetchMoveControls(tControls)) return;
    const Directions tDir = ReadDirections(tControls);

    mStandingStill = 0;
    if(tDir.mUp || tDir.mDown)
    {
        RootZone *rLadder = FindLadder(tDir.mUp);
        GrabLadder(rLadder);
        if(rLadder) return;
    }

    const float tFooting = FootingFactor();
    bool tDashRequest = false;
    if(tDir.mLeft || tDir.mRight)
    {
        const bool tToLeft = tDir.mLeft;
        const float tSign = tToLeft ? -1.0f : 1.0f;
        if(mDoubleTapOption)
        {
            UpdateDoubleTap(tControls[tToLeft ? CTL_LEFT : CTL_RIGHT]->mPressed, tToLeft, tDashRequest);
        }
        if((mFacingLeft != 0) != tToLeft)
        {
            // The turning tick only turns; a dash on firm footing flips once and ends.
            mDoubleTapTimer = -1;
            tDashRequest = false;
            if(mDashing)
            {
                if(tFooting == 1.0f) mVelX = tSign * mDashSpeed;
                mDashing = 0;
                mDashTimer = -1;
                mIdleTimer = -1;
                mSinceDashTimer = 100;
            }
        }
        else
        {
            if(!mDashing)
            {
                mVelX += tSign * mRunSpeed * tFooting;
                if(mVelX * tSign > mRunSpeed) mVelX = tSign * mRunSpeed;
            }
            else
            {
                mVelX = tSign * mDashSpeed;
            }
            mIdleTimer = -1;
            mDashEndTimer = -1;
        }
        mFacingLeft = tToLeft ? 1 : 0;
    }
    else
    {
        if(!mDashing)
        {
            if(tFooting == 1.0f)
            {
                mVelX = 0.0f;
            }
            else
            {
                const float tSlow = mRunSpeed * tFooting;
                if(mVelX > 0.0f) mVelX = mVelX > tSlow ? mVelX - tSlow : 0.0f;
                else if(mVelX < 0.0f) mVelX = mVelX < -tSlow ? mVelX + tSlow : 0.0f;
            }
            mStandingStill = 1;
            mIdleTimer++;
            if(mIdleTimer > cIdleWrap) mIdleTimer = cIdleRestart;
            mRunStartTimer = 0;
        }
        if(mDoubleTapOption && mDoubleTapTimer != -1) mDoubleTapTimer++;
    }

    if(mDashEnabled)
    {
        ControlState *rDash = tControls[CTL_DASH];
        mSinceDashTimer++;
        const bool tKeep = IsKeepingDash(rDash, tControls[CTL_LEFT], tControls[CTL_RIGHT]);
        if((rDash->mPressed || tDashRequest) && !mDashing && mSinceDashTimer > cDashCooldown) StartDash(true);
        if(!rDash->mHeld && !tKeep)
        {
            if(mDashing) mDashEndTimer = 0;
            mDashing = 0;
        }
    }

    if(mDashing)
    {
        mSinceDashTimer = 0;
        const bool tBlocked = mFacingLeft ? mBlockedLeft : mBlockedRight;
        if(tBlocked || mDashTimer > cGroundDashLastTick)
        {
            mDashEndTimer = 0;
            mDashTimer = -1;
            mDashing = 0;
        }
        else
        {
            if(mDashTimer % 4 == 0 && mDashTimer > 4) SpawnDustCloud();
            mDashTimer++;
            mVelX = mFacingLeft ? -mDashSpeed : mDashSpeed;
        }
    }
    else
    {
        mDashTimer = -1;
        if(mDashEndTimer != -1) mDashEndTimer++;
    }

    if(mRunStartTimer >= 0 && mRunStartTimer <= 2)
    {
        mRunStartTimer++;
    }
    else if(mRunStartTimer > 2)
    {
        mRunStartTimer = -1;
        mAnimTick = 0;
    }

    mJumpRising = 0;
    mFalling = 0;
    mWallSliding = 0;
    mWallSlideTimer = -1;
    // A knock-back ends with the landing. Left set, it would keep the next jump or air dash
    // drifting on with no direction held, long after the hit.
    mKnockedBack = 0;
    mAccelY = mGravity;
    mCapY = mFallCap;
    mDashJump = 0;
    if(mAirDashEnabled) mAirDashAvailable = 1;

    mGroundTimer++;
    if(mGroundTimer == 0)
    {
        if(mDashing && !tDir.mLeft && !tDir.mRight) mVelX = 0.0f;
        mDashing = 0;
        mDashTimer = -1;
        AudioManager::PlaySoundIfBooted("Land");
        mDoubleTapTimer = -1;
    }
    mAirTimer = -1;

    if(tControls[CTL_JUMP]->mPressed)
    {
        mJumpRising = 1;
        mAirTimer = 0;
        mVelY = mJumpSpeed;
        if(mDashing)
        {
            mDashJump = 1;
            mDashTimer = -1;
        }
        AudioManager::PlaySoundIfBooted("Jump");
    }
    else
    {
        mVelY = 0.0f;
    }

    if(mShotTimer != -1) mShotTimer++;
    UpdateShootControl(tControls[CTL_SHOOT], true);

    const float tAway = mFacingLeft ? mKnockbackX : -mKnockbackX;
    if(mKnockbackPending)
    {
        mVelX = tAway;
        mVelY = mKnockbackY;
        mKnockbackPending = 0;
    }
    else if(mInjuryTimer != -1)
    {
        mVelX = tAway;
    }

    if(mIdleTimer != -1) mIdleTimer++;
}

// --- Air step -------------------------------------------------------------------------------

void PlayerPony::UpdateAirMovement()
{
    ControlState *tControls[CTL_COUNT];
    if(!FetchMoveControls(tControls)) return;
    const Directions tDir = ReadDirections(tControls);

    mSinceDashTimer = 100;
    float tSteer = mDashJump ? mDashSpeed : mRunSpeed;
    // A ground dash or a dash jump does not carry into the air as a dash.
    if(mAirTimer < 1 && mAirDashAvailable) mDashing = 0;
    mStandingStill = 0;

    if(tDir.mUp || tDir.mDown)
    {
        RootZone *rLadder = FindLadder(tDir.mUp);
        GrabLadder(rLadder);
        if(rLadder) return;
    }

    bool tDashRequest = false;
    const bool tSteerLeft = tDir.mLeft && !mKickLockLeft;
    const bool tSteerRight = tDir.mRight && !mKickLockRight;
    if(tSteerLeft || tSteerRight)
    {
        const bool tToLeft = tSteerLeft;
        if(mDoubleTapOption)
        {
            UpdateDoubleTap(tControls[tToLeft ? CTL_LEFT : CTL_RIGHT]->mPressed, tToLeft, tDashRequest);
        }
        if((mFacingLeft != 0) != tToLeft)
        {
            mDoubleTapTimer = -1;
            tDashRequest = false;
            mDashing = 0;
            tSteer = mRunSpeed;
            mDashJump = 0;
        }
        if(mWallKickTimer != 0 && mWallKickTimer != 1)
        {
            mVelX = tToLeft ? -tSteer : tSteer;
            mFacingLeft = tToLeft ? 1 : 0;
            mKnockedBack = 0;
        }
    }
    else
    {
        if(!mWallKicking && !mKnockedBack) mVelX = 0.0f;
        if(mWallKicking && mWallKickTimer > cWallKickLaunch && !mKnockedBack) mVelX = 0.0f;
        if(mDoubleTapTimer != -1) mDoubleTapTimer++;
    }

    UpdateWallSlide(tDir.mLeft, tDir.mRight);

    ControlState *rDash = tControls[CTL_DASH];
    if(mDashEnabled && mAirDashAvailable && !mWallSliding && !mBlockedLeft && !mBlockedRight && !mDashJump)
    {
        if((rDash->mPressed || tDashRequest) && !mDashing) StartDash(false);
    }
    if(mDashing && !mWallSliding)
    {
        const bool tBlocked = mFacingLeft ? mBlockedLeft : mBlockedRight;
        const bool tKeep = IsKeepingDash(rDash, tControls[CTL_LEFT], tControls[CTL_RIGHT]);
        if(!tBlocked && mDashTimer < cAirDashTicks && (rDash->mHeld || tKeep))
        {
            mDashTimer++;
            mVelX = mFacingLeft ? -mDashSpeed : mDashSpeed;
            mVelY = 0.0f;
            mAccelY = 0.0f;
        }
        else
        {
            EndAirDash();
        }
    }

    const bool tIntoWall = (mBlockedLeft && tDir.mLeft) || (mBlockedRight && tDir.mRight);
    if(mInWater && !tIntoWall)
    {
        if(mFalling) mCapY = (float)(mFallCap * cWaterFactor);
        if(!mDashing) mAccelY = (float)(mGravity * cWaterFactor);
    }

    if(mVelY < 0.0f && mCeiling) mVelY = 0.0f;

    mGroundTimer = -1;
    if(mAirTimer == -1)
    {
        mFalling = 1;
        mAirTimer = 0;
    }
    mAirTimer++;
    if(mVelY >= 0.0f)
    {
        mJumpRising = 0;
        if(!mFalling)
        {
            mFalling = 1;
            mAirTimer = 0;
        }
    }
    if(!tControls[CTL_JUMP]->mHeld && mJumpRising && mInjuryTimer == -1) mVelY = 0.0f;

    UpdateWallKick(tControls[CTL_JUMP], rDash);

    if(mShotTimer != -1) mShotTimer++;
    UpdateShootControl(tControls[CTL_SHOOT], false);

    const float tAway = mFacingLeft ? mKnockbackX : -mKnockbackX;
    if(mKnockbackPending)
    {
        mVelX = tAway;
        mDashJump = 0;
        mKnockedBack = 1;
        mVelY = mKnockbackY;
        mKnockbackPending = 0;
        mAccelY = mGravity;
        mDashTimer = 1000;
    }
    else if(mInjuryTimer != -1)
    {
        mVelX = tAway;
        mKnockedBack = 1;
    }
    mIdleTimer = -1;
}

// Falling while pressing into a wall slides down it, slowly; letting go turns the player away.
void PlayerPony::UpdateWallSlide(bool pLeft, bool pRight)
{
    const bool tIntoWall = (mBlockedLeft && pLeft) || (mBlockedRight && pRight);
    if(mVelY > 0.0f && tIntoWall && !mInSlipZone)
    {
        mWallSlideTimer++;
        if(mWallSlideTimer <= 1) return;
        if(!mWallSliding) AudioManager::PlaySoundIfBooted("Land");
        mWallSliding = 1;
        if(mWallSlideTimer < 6) mVelY = 0.001f - mWallSlideGravity;
        mDashJump = 0;
        mDashing = 0;
        if(mWallSlideTimer > 8 && mWallSlideTimer % 6 == 0) SpawnDustCloudSlide();
        mAccelY = mWallSlideGravity;
        mCapY = mWallSlideFallCap;
        return;
    }

    if(mWallSliding && !mWallKicking)
    {
        mFacingLeft = mFacingLeft ? 0 : 1;
        mVelY = 0.0f;
        mAirTimer = 0;
    }
    mWallSliding = 0;
    mWallSlideTimer = -1;
    mAccelY = mGravity;
    mCapY = mFallCap;
}

// A kick hangs on the wall for five ticks, launches up and away on the sixth and ends after
// the thirteenth; it advances only while Jump is held.
void PlayerPony::UpdateWallKick(ControlState *pJump, ControlState *pDash)
{
    if((mWallReachLeft || mWallReachRight) && pJump->mPressed && !mWallKicking)
    {
        mWallKicking = 1;
        mWallKickTimer = 0;
        mFalling = 0;
        mJumpRising = 1;
        const bool tWallLeft = (mWallReachLeft && mWallReachRight) ? mFacingLeft != 0 : mWallReachLeft != 0;
        if(tWallLeft) mKickLockLeft = 1;
        else mKickLockRight = 1;
        mFacingLeft = tWallLeft ? 1 : 0;
        mKickEffectTimer = 7;
        mKickFacing = mFacingLeft;
        AudioManager::PlaySoundIfBooted("Jump");
        return;
    }
    if(!mWallKicking) return;

    if(!pJump->mHeld)
    {
        if(mWallKickTimer <= cWallKickReleaseAfter) return;
        mWallKickTimer = -1;
        mWallKicking = 0;
        mKickLockLeft = mKickLockRight = 0;
        mVelY = 0.0f;
        mCapY = mFallCap;
        return;
    }

    mWallKickTimer++;
    if(mWallKickTimer <= cWallKickHangLast)
    {
        mVelY = -mGravity;
        mVelX = 0.0f;
    }
    else if(mWallKickTimer == cWallKickLaunch)
    {
        mCapY = mFallCap;
        mVelY = mJumpSpeed;
        mFalling = 0;
        float tSpeed = 2.0f * mRunSpeed;
        if(pDash->mHeld)
        {
            tSpeed = 2.0f * mDashSpeed;
            mDashJump = 1;
        }
        mVelX = mKickLockLeft ? tSpeed : -tSpeed;
    }
    else if(mWallKickTimer > cWallKickLast)
    {
        mWallKickTimer = -1;
        mWallKicking = 0;
        mKickLockLeft = mKickLockRight = 0;
    }
}

// --- Effects --------------------------------------------------------------------------------

void PlayerPony::SpawnDashKickup()
{
    if(mFacingLeft) SpawnEffectScript("Data/Scripts/Sprites/DashKickup.lua", mHitbox.mOwnerX - 11.0f, mHitbox.mOwnerY - 12.0f, true);
    else SpawnEffectScript("Data/Scripts/Sprites/DashKickup.lua", mHitbox.mOwnerX - 70.0f, mHitbox.mOwnerY - 12.0f, false);
}

void PlayerPony::SpawnDustCloud()
{
    const float tX = mFacingLeft ? mHitbox.mOwnerX + 40.0f : mHitbox.mOwnerX;
    SpawnEffectScript("Data/Scripts/Sprites/DustCloud.lua", tX, mHitbox.mOwnerY + 44.0f, false);
}

void PlayerPony::SpawnDustCloudSlide()
{
    const float tX = mFacingLeft ? mHitbox.mOwnerX - 9.0f : mHitbox.mOwnerX + 9.0f;
    SpawnEffectScript("Data/Scripts/Sprites/DustCloudSlide.lua", tX, mHitbox.mOwnerY + 44.0f, false);
}
