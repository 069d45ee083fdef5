#include "actors/PlayerPony.h"

#include "actors/BusterShot.h"
#include "actors/PlayerPonyTuning.h"
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

    enum MoveMode
    {
        MODE_NONE,
        MODE_GROUND,
        MODE_AIR,
    };

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

    ClampVelocity(mRiseCap);

    mVelX += mPushX;
    mVelY += mPushY;
    mVelZ += mPushZ;
    mPushX = mPushY = mPushZ = 0.0f;

    // Push zones act after the caps on purpose: a strong current can outrun the player.
    NamedLinkedList *rPushers = mOnLadder ? nullptr : EntityManager::FetchSpecialList(PUSH_LIST_NAME);
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
        if(tMode != MODE_NONE) ArmMoveFlags(tMode == MODE_GROUND);
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
    NamedLinkedList *rList = EntityManager::FetchSpecialList(SLIP_LIST_NAME);
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
    NamedLinkedList *rList = EntityManager::FetchSpecialList(SLIDE_LIST_NAME);
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

PlayerPony::MoveDirections PlayerPony::ReadDirections(ControlState **pControls)
{
    ControlState *rUp = pControls[CTL_UP];
    ControlState *rDown = pControls[CTL_DOWN];
    ControlState *rLeft = pControls[CTL_LEFT];
    ControlState *rRight = pControls[CTL_RIGHT];
    MoveDirections tDirections;
    tDirections.mUp = rUp->mHeld && !rDown->mHeld;
    tDirections.mDown = rDown->mHeld && !rUp->mHeld;
    tDirections.mLeft = rLeft->mHeld && !rRight->mHeld;
    tDirections.mRight = rRight->mHeld && !rLeft->mHeld;
    return tDirections;
}

// The modifier flags are one-shot globals: set them right before the move that clears them,
// so a skipped move never leaves them set for someone else.
void PlayerPony::ArmMoveFlags(bool pGround)
{
    AllowBotSlopes = pGround;
    AllowTopSlopes = !pGround;
    AllowAirWalk = true;
    LadderTopsSolid = true;
}

// The rise is limited apart from the fall: on foot by the rise cap, in the mech by the fall cap.
void PlayerPony::ClampVelocity(float pRiseLimit)
{
    if(mVelX < -mCapX) mVelX = -mCapX;
    if(mVelX > mCapX) mVelX = mCapX;
    if(mVelY < pRiseLimit) mVelY = pRiseLimit;
    if(mVelY > mCapY) mVelY = mCapY;
}

// Up or Down catches a ladder, on the ground or in the air; the step ends on one.
bool PlayerPony::CatchLadder(const MoveDirections &pDir)
{
    if(!pDir.mUp && !pDir.mDown) return false;
    RootZone *rCaught = FindLadder(pDir.mUp);
    GrabLadder(rCaught);
    return rCaught != nullptr;
}

// On the ground nothing of the air state is left.
void PlayerPony::SettleOnGround()
{
    mJumpRising = 0;
    mFalling = 0;
    EndWallSlide();
    mDashJump = 0;
}

// Off the wall she falls as usual again.
void PlayerPony::EndWallSlide()
{
    mWallSliding = 0;
    mWallSlideTimer = -1;
    mAccelY = mGravity;
    mCapY = mFallCap;
}

// Counts the ticks on the ground; true on the landing tick, where a dash with no direction
// held stops and every dash ends.
bool PlayerPony::CountGroundTick(bool pSteering)
{
    mGroundTimer++;
    const bool tLanded = mGroundTimer == 0;
    if(tLanded)
    {
        if(mDashing && !pSteering) mVelX = 0.0f;
        mDashing = 0;
        mDashTimer = -1;
        AudioManager::PlaySoundIfBooted("Land");
    }
    mAirTimer = -1;
    return tLanded;
}

// Counts the ticks in the air, restarting the count when she leaves the ground and again when
// she starts to fall.
void PlayerPony::AdvanceAirTimers()
{
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
}

// In water a fall is slower and, with the slow gravity, so is every rise and drop.
void PlayerPony::SinkInWater(bool pSlowGravity)
{
    if(mFalling) mCapY = (float)(mFallCap * cWaterFactor);
    if(pSlowGravity) mAccelY = (float)(mGravity * cWaterFactor);
}

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
        AudioManager *rAudio = AudioManager::Get();
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
    const MoveDirections tDir = ReadDirections(tControls);

    mStandingStill = 0;
    if(CatchLadder(tDir)) return;
    bool tDashRequest = false;
    SteerOnGround(tControls, tDir, FootingFactor(), tDashRequest);
    UpdateGroundDash(tControls, tDashRequest);
    StepRunStartTimer();

    SettleOnGround();
    // A knock-back ends with the landing. Left set, it would keep the next jump or air dash
    // drifting on with no direction held, long after the hit.
    mKnockedBack = 0;
    if(mAirDashEnabled) mAirDashAvailable = 1;
    if(CountGroundTick(tDir.mLeft || tDir.mRight)) mDoubleTapTimer = -1;

    StartGroundJump(tControls[CTL_JUMP]);
    if(mShotTimer != -1) mShotTimer++;
    UpdateShootControl(tControls[CTL_SHOOT], true);
    ApplyGroundKnockback();
    if(mIdleTimer != -1) mIdleTimer++;
}

// Left or Right runs (slowly on slippery footing) or, against her facing, only turns her;
// neither stops her, or lets her slide to a stop.
void PlayerPony::SteerOnGround(ControlState **pControls, const MoveDirections &pDir, float pFooting, bool &sDashRequest)
{
    if(pDir.mLeft || pDir.mRight)
    {
        const bool tToLeft = pDir.mLeft;
        const float tSign = tToLeft ? -1.0f : 1.0f;
        if(mDoubleTapOption)
        {
            UpdateDoubleTap(pControls[tToLeft ? CTL_LEFT : CTL_RIGHT]->mPressed, tToLeft, sDashRequest);
        }
        if((mFacingLeft != 0) != tToLeft)
        {
            // The turning tick only turns; a dash on firm footing flips once and ends.
            mDoubleTapTimer = -1;
            sDashRequest = false;
            if(mDashing)
            {
                if(pFooting == 1.0f) mVelX = tSign * mDashSpeed;
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
                mVelX += tSign * mRunSpeed * pFooting;
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
        return;
    }

    if(!mDashing)
    {
        if(pFooting == 1.0f)
        {
            mVelX = 0.0f;
        }
        else
        {
            const float tSlow = mRunSpeed * pFooting;
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

// Dash (or a double tap) starts a dash after the cooldown; it runs while Dash is held, until
// its time is up or a wall stops it.
void PlayerPony::UpdateGroundDash(ControlState **pControls, bool pDashRequest)
{
    if(mDashEnabled)
    {
        ControlState *rDash = pControls[CTL_DASH];
        mSinceDashTimer++;
        const bool tKeep = IsKeepingDash(rDash, pControls[CTL_LEFT], pControls[CTL_RIGHT]);
        if((rDash->mPressed || pDashRequest) && !mDashing && mSinceDashTimer > cDashCooldown) StartDash(true);
        if(!rDash->mHeld && !tKeep)
        {
            if(mDashing) mDashEndTimer = 0;
            mDashing = 0;
        }
    }

    if(!mDashing)
    {
        mDashTimer = -1;
        if(mDashEndTimer != -1) mDashEndTimer++;
        return;
    }
    mSinceDashTimer = 0;
    const bool tBlocked = mFacingLeft ? mBlockedLeft : mBlockedRight;
    if(tBlocked || mDashTimer > cGroundDashLastTick)
    {
        mDashEndTimer = 0;
        mDashTimer = -1;
        mDashing = 0;
        return;
    }
    if(mDashTimer % 4 == 0 && mDashTimer > 4) SpawnDustCloud();
    mDashTimer++;
    mVelX = mFacingLeft ? -mDashSpeed : mDashSpeed;
}

// The run-up shows for three ticks, then the run animation starts from its first frame.
void PlayerPony::StepRunStartTimer()
{
    if(mRunStartTimer >= 0 && mRunStartTimer <= 2)
    {
        mRunStartTimer++;
    }
    else if(mRunStartTimer > 2)
    {
        mRunStartTimer = -1;
        mAnimTick = 0;
    }
}

void PlayerPony::StartGroundJump(ControlState *pJump)
{
    if(!pJump->mPressed)
    {
        mVelY = 0.0f;
        return;
    }
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

// A hit throws her up and away from her facing; the rest of the injury pushes her on away.
void PlayerPony::ApplyGroundKnockback()
{
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
}

// --- Air step -------------------------------------------------------------------------------

void PlayerPony::UpdateAirMovement()
{
    ControlState *tControls[CTL_COUNT];
    if(!FetchMoveControls(tControls)) return;
    const MoveDirections tDir = ReadDirections(tControls);

    mSinceDashTimer = 100;
    float tSteer = mDashJump ? mDashSpeed : mRunSpeed;
    // A ground dash or a dash jump does not carry into the air as a dash.
    if(mAirTimer < 1 && mAirDashAvailable) mDashing = 0;
    mStandingStill = 0;
    if(CatchLadder(tDir)) return;

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
    if(mInWater && !tIntoWall) SinkInWater(!mDashing);
    if(mVelY < 0.0f && mCeiling) mVelY = 0.0f;
    AdvanceAirTimers();
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
    EndWallSlide();
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
